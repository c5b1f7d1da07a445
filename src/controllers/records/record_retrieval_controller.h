#pragma once

#include <QObject>

class QLineEdit;

namespace gui {
struct ConsoleContext;
}

namespace records {

// The command page's record controls: the log-state query, the earliest record (shown, or shown
// and deleted), the record by index, and the deletion of the whole log.
class RecordRetrievalController final : public QObject {
    Q_OBJECT
public:
    RecordRetrievalController(gui::ConsoleContext& ctx, QObject* parent);

public Q_SLOTS:
    void GetBackRecorfStatusClick();
    // `pressed` is the button that was pressed: GetFirstRecord or GetFirstRecordAndDel.
    void GetFirstRecordClick(QObject* pressed);
    // Also what Enter in Edit31 does.
    void SearchInRecordClick();
    void Btn_DeleteAllRecordClick();

private:
    QLineEdit* Edit(const char* name) const;

    gui::ConsoleContext& ctx_;
};

}  // namespace records
