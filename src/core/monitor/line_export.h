#pragma once

#include "core/monitor/line_store.h"
#include "core/monitor/row_selection.h"

#include <QString>

class QIODevice;

namespace monitor {

// The selected rows in row order, one per line, "\n" between them: what a copy puts on the
// clipboard.
QString SelectedText(const LineStore& store, const RowSelection& selection);

// Every row, the same way.
QString AllText(const LineStore& store);

// Writes every row as UTF-8 text, each ended by "\n", in blocks straight from the store (no
// decoding). False when the device refused a write.
bool WriteLines(const LineStore& store, QIODevice& out);

}  // namespace monitor
