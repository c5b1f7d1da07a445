#include "core/monitor/tag_blocks.h"

#include <QCoreApplication>

#include "util/conversions.h"

namespace monitor {

namespace {

std::optional<int> Decimal(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

std::variant<TagReadRequest, TagReadRefusal> CheckTagRead(const TagReadInput& input) {
    if (input.startBlock.isEmpty() || input.blockCount.isEmpty()) {
        return TagReadRefusal{QCoreApplication::translate("TagData", "请输入正确的数据"), {}};
    }
    const auto start = Decimal(input.startBlock);
    if (!start) {
        return TagReadRefusal{{}, input.startBlock};
    }
    const auto count = Decimal(input.blockCount);
    if (!count) {
        return TagReadRefusal{{}, input.blockCount};
    }
    bool lengthOk = false;
    const int length = input.blockLength.toInt(&lengthOk, 16);
    if (!lengthOk) {
        return TagReadRefusal{{}, input.blockLength};
    }
    if (input.uid.size() != 16) {
        return TagReadRefusal{QCoreApplication::translate("TagData", "UID数据错误"), {}};
    }
    TagReadRequest request;
    for (int i = 0; i < 8; ++i) {
        bool ok = false;
        const QString pair = input.uid.mid(i * 2, 2);
        const uint value = pair.toUInt(&ok, 16);
        if (!ok || pair.startsWith(u'+') || pair.startsWith(u'-')) {
            return TagReadRefusal{{}, pair};
        }
        request.uid[static_cast<std::size_t>(i)] = static_cast<gate::Byte>(value);
    }
    // A negative count (only by pasting) would go out as a huge byte count: refuse it with the
    // limit message like any count above the limit.
    if (length == 4 && (*count > 16 || *count < 0)) {
        return TagReadRefusal{
            QCoreApplication::translate("TagData", "块长度为4字节时一次最多读取16个块"), {}};
    }
    if (length == 8 && (*count > 8 || *count < 0)) {
        return TagReadRefusal{
            QCoreApplication::translate("TagData", "块长度为8字节时一次最多读取8个块"), {}};
    }
    request.startBlock = static_cast<gate::Byte>(*start & 0xFF);
    request.blockCount = static_cast<gate::Byte>(*count & 0xFF);
    request.blockLength = static_cast<gate::Byte>(length & 0xFF);
    return request;
}

QList<TagBlockRow> TagBlockRows(const TagReadRequest& request, QByteArrayView response) {
    QList<TagBlockRow> rows;
    const qsizetype stride = request.blockLength + 1;
    for (int i = 0; i < request.blockCount; ++i) {
        const qsizetype at = i * stride;
        if (at + stride > response.size()) {
            break;
        }
        const QByteArrayView block = response.sliced(at, stride);
        rows.append({QString::number(request.startBlock + i),
                     util::BytesToHex(block.first(1)) % u"  " % util::BytesToHex(block.sliced(1))});
    }
    return rows;
}

}  // namespace monitor
