#pragma once

#include "gate/gate_library.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

namespace monitor {

// The block-read inputs as the operator typed them.
struct TagReadInput {
    QString uid;          // Edit14
    QString startBlock;   // Edit15
    QString blockCount;   // Edit16
    QString blockLength;  // ComboBox5 item, "4" or "8"
};

// A checked request: what ReadTagData is called with.
struct TagReadRequest {
    gate::Uid8 uid{};
    gate::Byte startBlock = 0;
    gate::Byte blockCount = 0;
    gate::Byte blockLength = 4;

    // Bytes of the response: one leading byte and blockLength data bytes per block.
    int ResponseSize() const { return blockCount * (blockLength + 1); }
};

// Why a request was refused: an information box with this text, or the standard conversion
// error for a text that is not a number.
struct TagReadRefusal {
    QString message;          // shown with caption "信息提示"
    QString conversionError;  // the text that is not a number, when message is empty
};

// Checks the inputs in the order the operator is told about them: empty numbers, the UID, the
// block-count limit of the block length. Numbers are sent as their low 8 bits; the limits are
// checked on the numbers as entered.
std::variant<TagReadRequest, TagReadRefusal> CheckTagRead(const TagReadInput& input);

// One row of the block-data window.
struct TagBlockRow {
    QString number;     // start block + i, decimal
    QString blockData;  // leading byte in hex, two spaces, the data bytes in hex

    bool operator==(const TagBlockRow&) const = default;
};

// The rows of a block-read response; blocks the response does not hold are left out.
QList<TagBlockRow> TagBlockRows(const TagReadRequest& request, QByteArrayView response);

}  // namespace monitor
