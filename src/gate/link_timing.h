#pragma once

namespace gate {

// How long the gate library waits on its controller link, in milliseconds. The defaults are
// the times of docs/wire-protocol.md; a library is built with one value and keeps it. Within a
// call the request must have left by the write timeout and its reply be whole within the reply
// timeout after that, so a call holds its caller for at most writeMs + replyMs. A call that
// reopens a lost link first proves it with an identity request, so it takes at most
// reopenBudgetMs + 2 * (writeMs + replyMs).
struct LinkTiming {
    // A request frame must have been written within this.
    int writeMs = 300;
    // After the request left, a whole matching reply must arrive within this.
    int replyMs = 600;
    // A TCP connection to a module's server must be made within this.
    int tcpConnectMs = 1000;
    // A link that went down by itself is tried again by at most one call per this interval...
    int reopenIntervalMs = 1000;
    // ...and the reopen itself (the serial open, the TCP connect) takes at most this.
    int reopenBudgetMs = 200;
};

}  // namespace gate
