#pragma once

#include <QComboBox>

namespace gui {

// Selects the item at index, or no item when the list has none there (a value read back that
// the list cannot show leaves it without a selection rather than on a wrong item).
inline void SelectItemOrNone(QComboBox& list, int index) {
    list.setCurrentIndex(index >= 0 && index < list.count() ? index : -1);
}

}  // namespace gui
