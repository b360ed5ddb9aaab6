#pragma once
// Replacing found text: one occurrence and then the next, every occurrence of a text, and the
// words the replace dialog's status line uses.

#include "editing/search.h"

#include <QByteArray>
#include <QString>

namespace pote {

// One replace-all never makes more replacements than this, so that a run can always end.
constexpr int kReplaceAllLimit = 1001;

struct ReplaceAllResult {
    QByteArray text;
    int count = 0; // replacements made; text is the input itself when 0
};

// Replaces occurrences from the start of text, each search starting right after the previous
// replacement (a replacement holding the pattern is never searched again), until none is left
// or kReplaceAllLimit replacements are made. The result is written once, at its final size.
ReplaceAllResult replace_all(const QByteArray& text, QByteArrayView pattern,
                             QByteArrayView replacement, CaseMode mode);

struct ReplaceNextResult {
    qsizetype match = -1;     // the occurrence to replace, at or after from; -1 when none
    qsizetype nextMatch = -1; // the following one, as an offset into the text after replacing
};

// "Replace, then find the next one", planned on the unchanged text: the caller selects match,
// replaces the selection with replacementSize bytes and then selects nextMatch.
ReplaceNextResult replace_next(QByteArrayView text, qsizetype from, QByteArrayView pattern,
                               qsizetype replacementSize, CaseMode mode);

// The replace dialog's status line.
enum class ReplaceNote {
    TypingPattern,     // typing in the find box
    TypingReplacement, // typing in the replacement box
    NotFound,          // find next found nothing
    NoMore,            // replaced, and nothing follows
    NoneToReplace,     // replace-all found nothing
};
QString replaceNote(ReplaceNote note);
// "<count>個の文字列を置換しちゃったにゃん。"
QString replacedCountNote(int count);

} // namespace pote
