#include "app/event_journal.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

#include "app/live_lists.h"
#include "core/monitor/journal_writer.h"
#include "gui/line_list_view.h"
#include "gui/prompter.h"
#include "gui/result_reporter.h"
#include "util/clock.h"

namespace app {

namespace {

QString kCaption() {
    return QCoreApplication::translate("EventJournal", "信息提示");
}

// Lives on the journal's thread: prepares the folder, then appends what it is sent, and says
// when a line could not be written after lines got through (or at the start).
class JournalWorker final : public QObject {
    Q_OBJECT
public:
    JournalWorker(const QString& directory, const util::Clock& clock,
                  std::shared_ptr<std::atomic<qint64>> written)
        : writer_(directory, QStringLiteral("log"), clock), written_(std::move(written)) {
        writer_.SetErrorHandler([this](const QString& message) { Q_EMIT Failed(message); });
    }

    void Prepare() {
        QString error;
        if (!writer_.Prepare(&error)) {
            Q_EMIT Failed(error);
        }
    }
    void Append(const QString& text, const QDate& day) {
        if (writer_.Append(text, day)) {
            written_->fetch_add(1, std::memory_order_relaxed);
        }
    }

Q_SIGNALS:
    void Failed(const QString& reason);

private:
    monitor::JournalWriter writer_;
    std::shared_ptr<std::atomic<qint64>> written_;
};

}  // namespace

EventJournal::EventJournal(QString directory, const util::Clock& clock, gui::Prompter& prompter,
                           gui::ResultReporter& reporter, QObject* parent)
    : QObject(parent),
      directory_(std::move(directory)),
      clock_(clock),
      prompter_(prompter),
      reporter_(reporter) {
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("journal"));
    auto* worker = new JournalWorker(directory_, clock_, written_);
    worker_ = worker;
    worker->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker, &QObject::deleteLater);
    connect(this, &EventJournal::Write, worker, &JournalWorker::Append);
    connect(worker, &JournalWorker::Failed, this, &EventJournal::WriterFailed);
    thread_->start();
    QMetaObject::invokeMethod(worker, &JournalWorker::Prepare);
}

EventJournal::~EventJournal() {
    const StopOutcome outcome = Stop(kStopWaitMs);
    if (!outcome.finished) {
        std::fprintf(stderr,
                     "gate-console: the event journal in %s is not answering; %lld lines "
                     "were not written\n",
                     qPrintable(directory_), static_cast<long long>(outcome.unwritten));
    }
}

EventJournal::StopOutcome EventJournal::Stop(int waitMs) {
    if (stopped_) {
        return {};
    }
    stopped_ = true;
    // Queued behind the lines already sent: the thread ends once they are written.
    QMetaObject::invokeMethod(
        worker_, [] { QThread::currentThread()->quit(); }, Qt::QueuedConnection);
    const bool finished = thread_->wait(QDeadlineTimer(waitMs));
    const StopOutcome outcome{finished, sent_ - written_->load(std::memory_order_relaxed)};
    if (finished) {
        delete thread_;
    } else {
        // Destroying a running thread would abort the program: it goes when (if ever) it ends.
        connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
        disconnect(this, nullptr, worker_, nullptr);
    }
    thread_ = nullptr;
    worker_ = nullptr;
    return outcome;
}

void EventJournal::Attach(gui::LineListView& list, const QString& caption) {
    connect(&list, &gui::LineListView::LineAppended, this, [this, caption](const QString& line) {
        if (stopped_) {
            return;
        }
        // One clock reading gives the line's stamp and the day of its file.
        const QDateTime shownAt = clock_.now();
        ++sent_;
        Q_EMIT Write(monitor::JournalLine(shownAt, caption, line), shownAt.date());
    });
}

void EventJournal::AttachTo(TForm1& form) {
    for (const LiveList& list : LiveLists(form)) {
        Attach(*list.view, monitor::JournalCaption(list.id, util::TextTable::Display()));
    }
}

QString EventJournal::FailureMessage(const QString& reason) {
    return QCoreApplication::translate(
               "EventJournal", "事件日志无法写入：\n%1\n\n监控照常进行；日志在能够写入时继续记录。")
        .arg(reason);
}

QString EventJournal::FailureStatus() {
    return QCoreApplication::translate("EventJournal", "事件日志写入失败");
}

void EventJournal::WriterFailed(const QString& reason) {
    ++failuresReported_;
    reporter_.ShowText(clock_.now().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") +
                       FailureStatus());
    if (failuresReported_ == 1) {
        prompter_.Notice(FailureMessage(reason), kCaption(), gui::Prompter::Icon::Warning);
    }
}

}  // namespace app

#include "event_journal.moc"
