#include "core/monitor/line_matcher.h"

namespace monitor {

namespace {

constexpr unsigned char FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// A character that only ever matches itself: no case of its own, and nothing else folds to it
// (the sharp s is the one lower-case letter without an upper case that another letter, the
// capital sharp s, folds to).
bool Caseless(QChar c) {
    return !c.isSurrogate() && c != QChar(0x00DF) && c.toLower() == c && c.toUpper() == c &&
           c.toTitleCase() == c && c.toCaseFolded() == c;
}

}  // namespace

LineMatcher::LineMatcher(const QString& needle) : needle_(needle) {
    bytewise_ = !needle_.isEmpty();
    for (const QChar c : needle_) {
        if (c.unicode() >= 0x80 && !Caseless(c)) {
            bytewise_ = false;
        }
        const char16_t folded = c.toCaseFolded().unicode();
        if (folded == u'k' || folded == u's') {
            foldsFromBeyondAscii_ = true;
        }
    }
    folded_ = needle_.toUtf8();
    for (char& c : folded_) {
        c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    }
    // Horspool's shift table over the folded needle.
    const qsizetype m = folded_.size();
    skip_.fill(m);
    for (qsizetype j = 0; j + 1 < m; ++j) {
        skip_[static_cast<unsigned char>(folded_[j])] = m - 1 - j;
    }
}

bool LineMatcher::FindFolded(QByteArrayView utf8) const {
    const qsizetype m = folded_.size();
    const qsizetype n = utf8.size();
    const auto* h = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* p = reinterpret_cast<const unsigned char*>(folded_.constData());
    for (qsizetype i = 0; i + m <= n;) {
        qsizetype j = m - 1;
        while (FoldAscii(h[i + j]) == p[j]) {
            if (j == 0) {
                return true;
            }
            --j;
        }
        i += skip_[FoldAscii(h[i + m - 1])];
    }
    return false;
}

bool LineMatcher::Matches(QByteArrayView utf8) const {
    if (needle_.isEmpty()) {
        return false;
    }
    if (bytewise_) {
        const bool holdsFoldingCharacter =
            foldsFromBeyondAscii_ && (utf8.contains(QByteArrayView("\xE2\x84\xAA")) ||
                                      utf8.contains(QByteArrayView("\xC5\xBF")));
        if (!holdsFoldingCharacter) {
            return FindFolded(utf8);
        }
    }
    return QString::fromUtf8(utf8).contains(needle_, Qt::CaseInsensitive);
}

QList<std::pair<qsizetype, qsizetype>> LineMatcher::Spans(const QString& line) const {
    QList<std::pair<qsizetype, qsizetype>> spans;
    if (needle_.isEmpty()) {
        return spans;
    }
    for (qsizetype at = line.indexOf(needle_, 0, Qt::CaseInsensitive); at >= 0;
         at = line.indexOf(needle_, at + needle_.size(), Qt::CaseInsensitive)) {
        spans.append({at, needle_.size()});
    }
    return spans;
}

}  // namespace monitor
