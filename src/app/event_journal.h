#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThread>

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
class EventJournal final : public QObject {
    Q_OBJECT
public:
    EventJournal(QString directory, const util::Clock& clock, gui::Prompter& prompter,
                 gui::ResultReporter& reporter, QObject* parent = nullptr);
    ~EventJournal() override;

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
    QThread thread_;
    int failuresReported_ = 0;
};

}  // namespace app
