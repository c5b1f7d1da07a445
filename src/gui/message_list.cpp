#include "gui/message_list.h"

namespace app {

MessageList::MessageList(QWidget* parent) : monitor::LineListView(parent) {}

}  // namespace app
