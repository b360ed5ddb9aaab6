#include "editing/ui/pane_search.h"

#include "core/cp932.h"
#include "editing/ui/edit_pane.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace pote {

namespace {

// Near the start a search reads small pieces of the text, which costs about the distance read;
// beyond kNearReach it reads the whole text at once, which costs the size of the text but
// less per character.
constexpr int kFirstPiece = 4 * 1024;
constexpr int kNearReach = 256 * 1024;
// The text is encoded a chunk at a time, so that the bytes never need a second copy of it.
constexpr qsizetype kChunk = 1024 * 1024;

bool holdsLineBreak(QByteArrayView pattern) {
    return pattern.contains('\r') || pattern.contains('\n');
}

// Where each byte offset of an encoded text lies in the text, asked in ascending order: the
// walk goes on from the previous answer, so that all answers together cost one pass.
class ByteWalk {
public:
    explicit ByteWalk(QStringView text) : m_text(text) {}
    qsizetype unitAt(qsizetype byte) {
        const QStringView rest = m_text.sliced(m_unit);
        const qsizetype units = cp932::byteToUnitOffset(rest, byte - m_byte);
        // The byte may lie inside a character; the walk goes on from that character's start.
        m_byte += cp932::unitToByteOffset(rest, units);
        m_unit += units;
        return m_unit;
    }

private:
    QStringView m_text;
    qsizetype m_unit = 0;
    qsizetype m_byte = 0;
};

} // namespace

PaneSearcher::PaneSearcher(const QTextDocument& document, QByteArrayView pattern, CaseMode mode)
    : m_document(document), m_searcher(pattern, mode),
      m_searchable(!pattern.isEmpty() && !holdsLineBreak(pattern)) {}

int PaneSearcher::textEnd() const {
    return m_document.characterCount() - 1;
}

QString PaneSearcher::selectedText(int from, int to) const {
    // A cursor that only reads.
    QTextCursor reader(const_cast<QTextDocument*>(&m_document));
    reader.setPosition(from);
    reader.setPosition(to, QTextCursor::KeepAnchor);
    QString text = reader.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

int PaneSearcher::lineEndAfter(int position) const {
    const QTextBlock line = m_document.findBlock(position);
    return line.isValid() ? line.position() + line.length() - 1 : textEnd();
}

void PaneSearcher::scan(QStringView text, int textStart, int limit,
                        std::vector<PaneRange>& hits) const {
    // Line breaks become LF bytes here: a pattern holds none, and a character stays one
    // position. Chunks end after a line break, and no occurrence spans one.
    for (qsizetype chunkStart = 0; chunkStart < text.size();) {
        qsizetype chunkEnd = text.size();
        if (chunkEnd - chunkStart > kChunk) {
            const qsizetype lineBreak = text.indexOf(u'\n', chunkStart + kChunk);
            chunkEnd = lineBreak < 0 ? text.size() : lineBreak + 1;
        }
        const QStringView chunk = text.sliced(chunkStart, chunkEnd - chunkStart);
        const QByteArray bytes = cp932::encode(chunk);
        ByteWalk walk(chunk);
        for (qsizetype m = m_searcher.find(bytes, 0); m >= 0;
             m = m_searcher.find(bytes, m + m_searcher.patternSize())) {
            if (static_cast<int>(hits.size()) >= limit) return;
            const qsizetype first = walk.unitAt(m);
            const qsizetype last = walk.unitAt(m + m_searcher.patternSize());
            hits.push_back(
                {textStart + static_cast<int>(chunkStart + first), static_cast<int>(last - first)});
        }
        chunkStart = chunkEnd;
    }
}

PaneRange PaneSearcher::find(int from, int end) const {
    if (!m_searchable) return {};
    if (end < 0 || end > textEnd()) end = textEnd();
    from = qMax(0, from);
    std::vector<PaneRange> hits;
    // Near: pieces of whole lines, growing.
    int pieceSize = kFirstPiece;
    for (int reached = 0; from < end && reached < kNearReach;
         reached += pieceSize, pieceSize *= 2) {
        const int to = end - from > pieceSize ? qMin(end, lineEndAfter(from + pieceSize)) : end;
        scan(selectedText(from, to), from, 1, hits);
        if (!hits.empty()) return hits.front();
        from = to;
    }
    // Far: the rest in one go.
    if (from < end) {
        const QString whole = m_document.toPlainText();
        scan(QStringView(whole).sliced(from, end - from), from, 1, hits);
        if (!hits.empty()) return hits.front();
    }
    return {};
}

std::vector<PaneRange> PaneSearcher::findAll(int from, int end, int limit) const {
    std::vector<PaneRange> hits;
    if (!m_searchable) return hits;
    if (end < 0 || end > textEnd()) end = textEnd();
    from = qMax(0, from);
    if (from >= end) return hits;
    // The whole text costs less per character than a part of it, and so wins for a large part.
    if (static_cast<qint64>(end - from) * 4 > textEnd()) {
        const QString whole = m_document.toPlainText();
        scan(QStringView(whole).sliced(from, end - from), from, limit, hits);
    } else {
        scan(selectedText(from, end), from, limit, hits);
    }
    return hits;
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

void replace_in_pane(QTextCursor edit, const std::vector<PaneRange>& ranges,
                     const QString& replacement) {
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
