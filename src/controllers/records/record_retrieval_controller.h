#pragma once

#include "gui/console_context.h"

#include <QObject>

class QAbstractButton;

namespace Ui {
class PageCommand;
}

namespace records {

// The command page's record controls: the log-state query, the earliest record (shown, or shown
// and deleted), the record by index, and the deletion of the whole log.
class RecordRetrievalController final : public QObject {
    Q_OBJECT
public:
    RecordRetrievalController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                              QObject* parent = nullptr);

public Q_SLOTS:
    void GetBackRecorfStatusClick();
    // `pressed` is the button that was pressed: GetFirstRecord or GetFirstRecordAndDel.
    void GetFirstRecordClick(QAbstractButton* pressed);
    // Also what Enter in Edit31 does.
    void SearchInRecordClick();
    void Btn_DeleteAllRecordClick();

private:
    gui::ConsoleContext ctx_;
    Ui::PageCommand& page_;
};

}  // namespace records
