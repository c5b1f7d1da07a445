#include "core/monitor/line_export.h"

#include <QIODevice>

namespace monitor {

QString SelectedText(const LineStore& store, const RowSelection& selection) {
    QString text;
    bool first = true;
    QByteArray scratch;
    for (const auto& [from, to] : selection.Ranges()) {
        for (qsizetype row = from; row <= std::min(to, store.Count() - 1); ++row) {
            if (!first) {
                text += u'\n';
            }
            first = false;
            text += QString::fromUtf8(store.Utf8(row, scratch));
        }
    }
    return text;
}

QString AllText(const LineStore& store) {
    RowSelection all;
    all.SelectAll(store.Count());
    return SelectedText(store, all);
}

bool WriteLines(const LineSnapshot& rows, QIODevice& out, const WriteProgress& progress) {
    constexpr qsizetype kBlockBytes = 1 << 20;
    QByteArray block;
    block.reserve(kBlockBytes + 4096);
    QByteArray scratch;
    const auto flush = [&](qsizetype written) {
        if (!block.isEmpty() && out.write(block) != block.size()) {
            return false;
        }
        block.clear();
        return !progress || progress(written);
    };
    for (qsizetype row = 0; row < rows.Count(); ++row) {
        block += rows.Utf8(row, scratch);
        block += '\n';
        if (block.size() >= kBlockBytes && !flush(row + 1)) {
            return false;
        }
    }
    return flush(rows.Count());
}

}  // namespace monitor
