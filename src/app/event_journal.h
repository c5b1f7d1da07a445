#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

namespace util {
class Clock;
}
namespace gui {
class LineListView;
class Prompter;
class ResultReporter;
}  // namespace gui

namespace app {

class TForm1;

// The console's event journal (gate-console --journal DIR): every line added to a live list is
// appended, with the local time it was shown and the list's caption (monitor::JournalLine), to
// DIR/YYYY-MM-DD.log, one UTF-8 file per local day, flushed per line (monitor::JournalWriter,
// the writer of gatectl monitor --output).
//
// The writing happens on a thread of its own, so a slow or stuck disk never holds up a poll.
// A journal that cannot be written is reported once, at its first failure: a line in the status
// bar and a message box that does not wait (the polls go on behind it). The writer keeps trying
// with every later line; a later failure after lines got through again is told in the status
// bar only.
//
// At the end the lines already sent are written first (the stop waits behind them), for at most
// kStopWaitMs: a writer stuck on a hung disk or network mount is left behind, never waited for
// without end, and the number of lines it did not write goes to stderr.
class EventJournal final : public QObject {
    Q_OBJECT
public:
    EventJournal(QString directory, const util::Clock& clock, gui::Prompter& prompter,
                 gui::ResultReporter& reporter, QObject* parent = nullptr);
    ~EventJournal() override;

    static constexpr int kStopWaitMs = 3000;

    // How a stop ended: whether the writer finished, and the lines sent to it that were not
    // written (not reached, or failed).
    struct StopOutcome {
        bool finished = true;
        qint64 unwritten = 0;
    };
    // Stops the writer after the lines already sent, waiting at most waitMs for it; a writer
    // still busy then is left to finish (or not) on its own. Only the first call stops.
    StopOutcome Stop(int waitMs);

    // Journals the lines of one list under its caption.
    void Attach(gui::LineListView& list, const QString& caption);
    // Journals the eleven live lists of the window.
    void AttachTo(TForm1& form);

    QString Directory() const { return directory_; }
    // Failures reported so far (the first of them with a message box).
    int FailuresReported() const { return failuresReported_; }

    // The text of the message box and of the status-bar line.
    static QString FailureMessage(const QString& reason);
    static QString FailureStatus();

Q_SIGNALS:
    // To the writer thread.
    void Write(const QString& text, const QDate& day);

private:
    void WriterFailed(const QString& reason);

    QString directory_;
    const util::Clock& clock_;
    gui::Prompter& prompter_;
    gui::ResultReporter& reporter_;
    QThread* thread_ = nullptr;  // deletes itself when it finishes after a stop gave up on it
    QObject* worker_ = nullptr;
    bool stopped_ = false;
    qint64 sent_ = 0;
    std::shared_ptr<std::atomic<qint64>> written_ = std::make_shared<std::atomic<qint64>>(0);
    int failuresReported_ = 0;
};

}  // namespace app
