#include "editing/ui/pane_search.h"

#include "core/cp932.h"
#include "editing/ui/edit_pane.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace pote {

namespace {

bool holdsLineBreak(QByteArrayView pattern) {
    return pattern.contains('\r') || pattern.contains('\n');
}

// The occurrence at or after byte 0 of `piece` (a part of one line that starts on a character),
// as pane positions; piece begins at pane position pieceStart.
PaneRange findInPiece(const TextSearcher& searcher, QStringView piece, int pieceStart) {
    const QByteArray bytes = cp932::encode(piece);
    const qsizetype m = searcher.find(bytes, 0);
    if (m < 0) return {};
    const qsizetype first = cp932::byteToUnitOffset(piece, m);
    const qsizetype last = cp932::byteToUnitOffset(piece, m + searcher.patternSize());
    return {pieceStart + static_cast<int>(first), static_cast<int>(last - first)};
}

} // namespace

PaneSearcher::PaneSearcher(const QTextDocument& document, QByteArrayView pattern, CaseMode mode)
    : m_document(document), m_searcher(pattern, mode),
      m_searchable(!pattern.isEmpty() && !holdsLineBreak(pattern)) {}

PaneRange PaneSearcher::find(int from, int end) const {
    if (!m_searchable) return {};
    const int textEnd = m_document.characterCount() - 1;
    if (end < 0 || end > textEnd) end = textEnd;
    from = qMax(0, from);
    for (QTextBlock block = m_document.findBlock(from); block.isValid(); block = block.next()) {
        const int blockStart = block.position();
        if (blockStart > end) break;
        const QString text = block.text();
        const int pieceFrom = qMax(0, from - blockStart);
        const int pieceEnd = qMin(static_cast<int>(text.size()), end - blockStart);
        if (pieceEnd - pieceFrom <= 0) continue;
        const PaneRange hit =
            findInPiece(m_searcher, QStringView(text).mid(pieceFrom, pieceEnd - pieceFrom),
                        blockStart + pieceFrom);
        if (hit.found()) return hit;
    }
    return {};
}

PaneRange PaneSearcher::findAt(int line, qsizetype column) const {
    if (!m_searchable || column < 0) return {};
    const QTextBlock block = m_document.findBlockByNumber(line);
    if (!block.isValid()) return {};
    const QString text = block.text();
    // A column inside a character (the line changed since) is no occurrence of its own.
    const qsizetype first = cp932::byteToUnitOffset(text, column);
    if (cp932::unitToByteOffset(text, first) != column) return {};
    if (m_searcher.find(cp932::encode(text), column) != column) return {};
    const qsizetype last = cp932::byteToUnitOffset(text, column + m_searcher.patternSize());
    return {block.position() + static_cast<int>(first), static_cast<int>(last - first)};
}

std::vector<PaneRange> PaneSearcher::findAll(int from, int end, int limit) const {
    std::vector<PaneRange> hits;
    for (PaneRange hit = find(from, end); hit.found() && static_cast<int>(hits.size()) < limit;
         hit = find(hit.end(), end))
        hits.push_back(hit);
    return hits;
}

void replace_in_pane(QTextDocument& document, const std::vector<PaneRange>& ranges,
                     const QString& replacement) {
    QTextCursor edit(&document);
    edit.beginEditBlock();
    // From the last to the first, so that the positions still to come stay valid.
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        edit.setPosition(range->start);
        edit.setPosition(range->end(), QTextCursor::KeepAnchor);
        edit.insertText(replacement);
    }
    edit.endEditBlock();
}

void scroll_to_middle(EditPane& pane) {
    QScrollBar* bar = pane.verticalScrollBar();
    const qint64 total =
        pane.wraps() ? pane.document()->lineCount() : pane.document()->blockCount();
    const int first = bar->value();
    const int visible = pane.viewport()->height() / qMax(1, pane.fontMetrics().lineSpacing());
    const qint64 line = pane.displayedLineAt(pane.textCursor().selectionStart()).number;
    const qint64 middle = first + visible / 2;
    if (line >= middle && first + visible < total)
        bar->setValue(static_cast<int>(first + (line - middle)));
}

} // namespace pote
