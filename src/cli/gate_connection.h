#pragma once

#include "cli/failure.h"
#include "cli/link_options.h"
#include "gate/connection_state.h"
#include "gate/wire_gate_library.h"

#include <optional>

namespace cli {

// The one controller connection of a gatectl run: the gate library over the link of the
// options, and the connection's fields that every call passes.
class GateConnection {
public:
    explicit GateConnection(LinkSpec link);

    // Opens the link (a host name is looked up first). A failure names the link and the
    // system's reason, with exit code 3.
    std::optional<Failure> Open();
    // Asks the controller for its own address (at the address of the options) and sends every
    // later call there, so that a write or a delete reaches this controller only, never every
    // controller of a shared line through the broadcast address FF. Without a valid reply the
    // command is refused: at FF that is what several controllers answering at once look like.
    std::optional<Failure> PinAddress();
    // Why a reopen failed; final when the link must not be tried again (another controller
    // answered, or a serial line whose controller has no serial number to prove it).
    struct ReopenFailure {
        Failure failure;
        bool final = false;
    };
    // Opens the lost link again, for a monitor that lost it: the library finds the adapter by
    // its identity and lets the link count as back only when the controller that answers has
    // the serial number read at the open. A serial line that is still open stays as it is.
    std::optional<ReopenFailure> Reopen();
    // Whether the link is still up as far as this end can tell.
    bool LinkUp() const { return library_.IsLinkOpen(); }

    gate::GateLibrary& Library() { return library_; }
    const gate::WireGateLibrary& Wire() const { return library_; }
    gate::ConnectionState& State() { return state_; }
    const LinkSpec& Link() const { return link_; }

private:
    // The library's reason without the link's name in front, which the messages give already.
    QString SystemReason() const;

    LinkSpec link_;
    QString address_;  // the host's IP address once looked up
    gate::WireGateLibrary library_;
    gate::ConnectionState state_;
};

}  // namespace cli
