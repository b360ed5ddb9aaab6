#pragma once
// The pane's document layout. QPlainTextDocumentLayout lays out only the blocks it shows and
// counts every other block as one line. With word wrap on, the caret line and the line total
// of the status bar need the displayed lines of every block, so this layout counts the blocks
// it has not laid out, a slice at a time while the program is idle: a key press still costs
// only the current line, and the counts are exact once the pass is done.

#include <QPlainTextDocumentLayout>
#include <QTimer>

namespace pote {

class PaneLayout : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    explicit PaneLayout(QTextDocument* document);

    // True when every block's line count is its displayed line count.
    bool countsExact() const;
    // Counts what is left now, in one go.
    void finishCounting();
    // Every block needs counting again: the text width changed.
    void recountAll();
    // While held, changes of the document's default font and text options lay the text out
    // once, when the hold ends, instead of once each: on a long text every pass costs.
    void holdRelayout();
    void releaseRelayout();

signals:
    // A counting pass reached the end of the text.
    void countsSettled();

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    bool wraps() const;
    qreal lineWidth() const;
    bool countingNeeded(qreal width) const;
    void countFor(int budgetMs);
    int displayedLines(const QTextBlock& block, qreal width) const;

    // Blocks whose user state equals the stamp have been counted under the current width and
    // options; a relayout moves to a new stamp, an edit marks its blocks with -1.
    int m_stamp = 1;
    int m_firstUncounted = 0; // block number; no uncounted block lies before it
    bool m_pending = false;
    bool m_holding = false;
    bool m_held = false;
    int m_knownBlocks = 1;
    qreal m_countedWidth = -1; // line width of the pass, -1 before it starts
    QTimer m_idle;
};

} // namespace pote
