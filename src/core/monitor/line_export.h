#pragma once

#include "core/monitor/line_store.h"
#include "core/monitor/row_selection.h"

#include <QString>

#include <functional>

class QIODevice;

namespace monitor {

// The selected rows in row order, one per line, "\n" between them: what a copy puts on the
// clipboard.
QString SelectedText(const LineStore& store, const RowSelection& selection);

// Every row, the same way.
QString AllText(const LineStore& store);

// Told after each block with the rows written so far; false stops the writing.
using WriteProgress = std::function<bool(qsizetype rowsWritten)>;

// Writes every row as UTF-8 text, each ended by "\n", in blocks straight from the chunks (no
// decoding). False when the device refused a write or progress said stop.
bool WriteLines(const LineSnapshot& rows, QIODevice& out, const WriteProgress& progress = {});

}  // namespace monitor
