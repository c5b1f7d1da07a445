#pragma once

#include "core/monitor/line_store.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

namespace monitor {

// Saves the rows of a snapshot to a UTF-8 text file (one line per row) on a thread of its own,
// so that writing millions of rows never holds up the window thread. The file is written whole
// or not at all: into a temporary file beside it that replaces it only once every row is in.
//
// Destroying the save while it runs abandons it: the writer stops after its current block and
// the temporary file is removed, so the file is not written and an earlier file of that name
// is left alone. The destructor waits at most kAbandonWaitMs for that; a writer held up longer
// (a hung disk) is left to end by itself.
class LineFileSave final : public QObject {
    Q_OBJECT
public:
    LineFileSave(LineSnapshot rows, QString path, QObject* parent = nullptr);
    ~LineFileSave() override;

    static constexpr int kAbandonWaitMs = 3000;

    void Start();
    bool IsRunning() const { return thread_ != nullptr; }
    QString Path() const { return path_; }
    qsizetype Rows() const { return rows_; }
    // Rows written so far (after each block of about a megabyte).
    qsizetype RowsWritten() const;

Q_SIGNALS:
    // Once, on the thread that started the save; error is the system's reason when not saved.
    void Finished(bool saved, const QString& error);

private:
    struct State {
        std::atomic<qsizetype> written{0};
        std::atomic<bool> abandon{false};
        bool saved = false;
        QString error;
    };
    void WriterFinished();

    LineSnapshot snapshot_;
    QString path_;
    qsizetype rows_ = 0;
    std::shared_ptr<State> state_ = std::make_shared<State>();
    QThread* thread_ = nullptr;
};

}  // namespace monitor
