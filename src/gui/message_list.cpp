#include "gui/message_list.h"

namespace gui {

MessageList::MessageList(QWidget* parent) : gui::LineListView(parent) {}

}  // namespace gui
