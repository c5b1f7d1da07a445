#include "core/monitor/line_file_save.h"

#include "core/monitor/line_export.h"

#include <QDeadlineTimer>
#include <QSaveFile>
#include <QThread>

namespace monitor {

LineFileSave::LineFileSave(LineSnapshot rows, QString path, QObject* parent)
    : QObject(parent),
      snapshot_(std::move(rows)),
      path_(std::move(path)),
      rows_(snapshot_.Count()) {}

LineFileSave::~LineFileSave() {
    if (thread_ == nullptr) {
        return;
    }
    state_->abandon = true;
    if (thread_->wait(QDeadlineTimer(kAbandonWaitMs))) {
        delete thread_;
        return;
    }
    // Destroying a running thread would abort the program: it goes when (if ever) it ends.
    connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
}

void LineFileSave::Start() {
    if (thread_ != nullptr) {
        return;
    }
    // The writer owns what it reads: the snapshot's chunks stay alive while it runs, whatever
    // becomes of the list or of this object.
    thread_ = QThread::create([rows = snapshot_, path = path_, state = state_] {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            state->error = file.errorString();
            return;
        }
        const bool written = WriteLines(rows, file, [&state](qsizetype n) {
            state->written = n;
            return !state->abandon;
        });
        if (state->abandon) {
            file.cancelWriting();  // the temporary file goes with `file`
            return;
        }
        if (!written || !file.commit()) {
            state->error = file.errorString();
            return;
        }
        state->saved = true;
    });
    thread_->setObjectName(QStringLiteral("line save"));
    snapshot_ = LineSnapshot();  // the writer holds the rows now
    connect(thread_, &QThread::finished, this, &LineFileSave::WriterFinished);
    thread_->start();
}

qsizetype LineFileSave::RowsWritten() const {
    return state_->written;
}

void LineFileSave::WriterFinished() {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    Q_EMIT Finished(state_->saved, state_->error);
}

}  // namespace monitor
