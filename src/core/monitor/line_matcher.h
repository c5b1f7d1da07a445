#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <array>
#include <utility>

namespace monitor {

// Case-insensitive search for a text in display lines held as UTF-8. The answer is always that
// of QString::contains(needle, Qt::CaseInsensitive) on the decoded line, but for the usual
// needles (ASCII, Chinese, digits, punctuation: characters that have no case or only the ASCII
// one) it is found in the bytes themselves, without decoding the line, so that ten million
// lines can be searched in well under a second.
class LineMatcher {
public:
    LineMatcher() = default;
    explicit LineMatcher(const QString& needle);

    bool IsEmpty() const { return needle_.isEmpty(); }
    const QString& Needle() const { return needle_; }

    // Whether the line holds the needle; an empty needle matches nothing.
    bool Matches(QByteArrayView utf8) const;

    // Where the needle occurs in a line, as (start, length) in UTF-16 units, left to right and
    // not overlapping: what a view highlights.
    QList<std::pair<qsizetype, qsizetype>> Spans(const QString& line) const;

private:
    bool FindFolded(QByteArrayView utf8) const;

    QString needle_;
    bool bytewise_ = false;
    // A needle with k or s also matches the Kelvin sign and the long s, the only characters
    // beyond ASCII that fold into ASCII letters: lines holding them are decoded.
    bool foldsFromBeyondAscii_ = false;
    QByteArray folded_;  // the needle's UTF-8 with ASCII letters in lower case
    std::array<qsizetype, 256> skip_{};
};

}  // namespace monitor
