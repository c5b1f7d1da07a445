#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QToolButton;

namespace gui {

// The small find bar a list shows above its rows: the text to find, the count of matching
// rows, previous and next, and close. Enter finds the next row, Shift+Enter the previous one,
// Escape closes. It only reports what the operator asks; the list does the finding.
class FindBar final : public QFrame {
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent = nullptr);

    QString Text() const;
    void SetCount(const QString& text);
    QString CountText() const;
    // Shows the bar with the text selected and the keyboard in it.
    void Activate();

    QLineEdit& Edit() { return *edit_; }

Q_SIGNALS:
    void TextChanged(const QString& text);
    void NextRequested();
    void PreviousRequested();
    void CloseRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
    QLabel* count_;
    QToolButton* previous_;
    QToolButton* next_;
    QToolButton* close_;
};

}  // namespace gui
