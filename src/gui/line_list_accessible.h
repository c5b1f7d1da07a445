#pragma once

namespace gui {

class LineListView;

// Assistive technology reads a LineListView as it reads a QListWidget: a list whose children
// are one list item per row (the row's text as its name, selected and focused states, the
// row's place on screen), with the table interface through which screen readers and UI
// automation read and change the selection. Row interfaces are made only for the rows asked
// about, so ten million rows cost nothing until someone reads them.

// The selection is listed (selected rows and cells) up to this many rows; the count of selected
// rows is always whole.
inline constexpr int kMaxListedSelectedRows = 1000;

// Makes every LineListView use that interface; safe to call more than once.
void InstallLineListAccessibility();

// Events for assistive technology; they cost nothing while none is active.
void NotifyAccessibleRowsAppended(LineListView& view, int first, int last);
void NotifyAccessibleReset(LineListView& view);
void NotifyAccessibleSelection(LineListView& view);
void NotifyAccessibleFocus(LineListView& view);

}  // namespace gui
