#pragma once
// Searching the editing pane as the CP932 bytes it stands for, without converting its text as a
// whole first: pieces of whole lines are encoded as the search reaches them, small ones first, so
// finding the next occurrence costs about the distance to it, not the size of the section. The
// search patterns come from one-line boxes, so an occurrence never spans a line break, and a
// piece of lines searched alone gives the same answer as the whole text would.

#include "editing/search.h"

#include <QByteArray>
#include <QString>

#include <vector>

class QTextCursor;
class QTextDocument;

namespace pote {

class EditPane;

// A stretch of the pane in its own positions (one per character, one per line break).
struct PaneRange {
    int start = -1;
    int length = 0;
    bool found() const { return start >= 0; }
    int end() const { return start + length; }
    friend bool operator==(const PaneRange&, const PaneRange&) = default;
};

class PaneSearcher {
public:
    // pattern: CP932 bytes. One holding a line break never matches (see above).
    PaneSearcher(const QTextDocument& document, QByteArrayView pattern, CaseMode mode);

    // The first occurrence that starts at or after from and ends at or before end (-1: the end
    // of the text); from is a character position.
    PaneRange find(int from, int end = -1) const;
    // The occurrence that starts at byte column `column` of line (block) `line`, if it is
    // still there.
    PaneRange findAt(int line, qsizetype column) const;
    // Every occurrence from the start of the range on, each search starting right after the
    // previous occurrence, at most `limit` of them: the occurrences a replace-all replaces.
    std::vector<PaneRange> findAll(int from, int end, int limit) const;

private:
    int textEnd() const;
    // The text from one position to another, '\n' for each line break.
    QString selectedText(int from, int to) const;
    // Where the line holding position ends (before its break).
    int lineEndAfter(int position) const;
    // Adds the occurrences in text (pane text from position textStart on) until hits holds
    // limit of them.
    void scan(QStringView text, int textStart, int limit, std::vector<PaneRange>& hits) const;

    const QTextDocument& m_document;
    TextSearcher m_searcher;
    bool m_searchable;
};

// Replaces each range (in ascending order, none overlapping) with replacement, as one edit: an
// edit per occurrence, so a few replacements in a long text cost what they change. The edit is
// made through `edit`, any cursor on the pane's document.
void replace_in_pane(QTextCursor edit, const std::vector<PaneRange>& ranges,
                     const QString& replacement);

// Scrolls the pane so that the line of the selection's start sits in the middle of the view,
// when it lies in the lower half and the text goes on below the view.
void scroll_to_middle(EditPane& pane);

} // namespace pote
