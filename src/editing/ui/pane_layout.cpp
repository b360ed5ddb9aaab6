#include "editing/ui/pane_layout.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace pote {

namespace {
constexpr int kSliceMs = 8;
// The base layout's line width when the pane has no text width: INT_MAX less the margins.
constexpr qreal kNoWidth = 1e9;
} // namespace

PaneLayout::PaneLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {
    m_idle.setSingleShot(true);
    m_idle.setInterval(0);
    connect(&m_idle, &QTimer::timeout, this, [this] { countFor(kSliceMs); });
}

qreal PaneLayout::lineWidth() const {
    // The width the base layout gives its lines, read off a block it has laid out.
    const QTextBlock first = document()->firstBlock();
    ensureBlockLayout(first);
    const QTextLayout* layout = first.layout();
    return layout->lineCount() > 0 ? layout->lineAt(0).width() : 0;
}

bool PaneLayout::wraps() const {
    return document()->defaultTextOption().wrapMode() != QTextOption::NoWrap;
}

bool PaneLayout::countingNeeded(qreal width) const {
    // Without a text width (a pane never shown) the base layout does not wrap either.
    return wraps() && width > 0 && width < kNoWidth;
}

bool PaneLayout::countsExact() const {
    if (!wraps()) return true;
    const qreal width = lineWidth();
    return !countingNeeded(width) || (!m_pending && width == m_countedWidth);
}

void PaneLayout::recountAll() {
    ++m_stamp;
    m_firstUncounted = 0;
    m_countedWidth = -1;
    m_pending = true;
    m_idle.start();
}

void PaneLayout::holdRelayout() {
    m_holding = true;
}

void PaneLayout::releaseRelayout() {
    m_holding = false;
    if (!m_held) return;
    m_held = false;
    documentChanged(0, 0, document()->characterCount());
}

void PaneLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    // A new default font or text option announces itself as the whole text, added again.
    if (m_holding && from == 0 && charsRemoved == 0 && charsAdded == document()->characterCount()) {
        m_held = true;
        return;
    }
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    const int blocks = document()->blockCount();
    const bool sameBlockCount = blocks == m_knownBlocks;
    m_knownBlocks = blocks;
    if (!wraps())
        return; // a block is one line; turning wrap on changes the options and recounts all
    if (from == 0 && charsAdded >= document()->characterCount() - 1) {
        // The whole text: loaded, or new default font or text options.
        recountAll();
        return;
    }
    // The base layout lays out a block changed alone again; blocks changed together keep
    // their old line counts until it shows them.
    QTextBlock block = document()->findBlock(from);
    const QTextBlock last = document()->findBlock(qMax(0, from + charsRemoved + charsAdded - 1));
    if (block == last && sameBlockCount) return;
    if (block.isValid() && block.blockNumber() < m_firstUncounted)
        m_firstUncounted = block.blockNumber();
    for (; block.isValid(); block = block.next()) {
        block.setUserState(-1);
        if (block == last) break;
    }
    m_pending = true;
    m_idle.start();
}

int PaneLayout::displayedLines(const QTextBlock& block, qreal width) const {
    // The same layout the base layout makes when it shows the block, on a throw-away object so
    // that uncounted blocks keep no layout memory.
    QTextLayout layout(block);
    layout.setTextOption(document()->defaultTextOption());
    int lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        ++lines;
    }
    layout.endLayout();
    return qMax(1, lines);
}

void PaneLayout::countFor(int budgetMs) {
    if (!m_pending) return;
    const qreal width = wraps() ? lineWidth() : 0;
    if (m_countedWidth >= 0 && width != m_countedWidth) recountAll();
    m_countedWidth = width;
    if (!countingNeeded(width)) {
        m_pending = false;
        emit countsSettled();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    bool changed = false;
    QTextBlock block = document()->findBlockByNumber(m_firstUncounted);
    int number = m_firstUncounted;
    for (; block.isValid(); block = block.next(), ++number) {
        if (block.userState() == m_stamp) continue;
        const int lines = displayedLines(block, width);
        if (block.lineCount() != lines) {
            block.setLineCount(lines);
            changed = true;
        }
        block.setUserState(m_stamp);
        if (budgetMs > 0 && (number & 31) == 0 && clock.elapsed() >= budgetMs) {
            m_firstUncounted = number + 1;
            break;
        }
    }
    if (changed) emit documentSizeChanged(documentSize());
    if (block.isValid()) {
        m_idle.start();
        return;
    }
    m_firstUncounted = document()->blockCount();
    m_pending = false;
    emit countsSettled();
}

void PaneLayout::finishCounting() {
    if (wraps() && lineWidth() != m_countedWidth) recountAll();
    countFor(0);
}

} // namespace pote
