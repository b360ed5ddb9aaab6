#pragma once
// The editing pane `edit`: a plain-text editor whose text is always something CP932 can hold.
// Text typed, composed or pasted is turned into its CP932 counterpart on the way in, so what
// the pane shows is what will be stored; characters that have none become "?", and a notice
// beside the caret names them.
//
// The pane also does what happens inside it without a command: the Tab key, the line selection
// of a double click, the web address under the pointer. Its own undo and redo are not offered
// to the user: its document keeps the edits made since the program's last undo snapshot, which
// is how the snapshot is taken without copying the text on every key (see PaneUndo).

#include <QPlainTextEdit>
#include <QTextBlock>

#include <functional>

namespace pote {

class PaneLayout;

class EditPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit EditPane(QWidget* parent = nullptr);

    // Replaces the whole text as a load: not an edit, and the pane counts as unedited after it.
    void loadText(const QString& text);
    // Whole-text replacements that are not edits announce themselves (aboutToReplaceText), as
    // they wipe the pane's record of edits.
    void setPlainText(const QString& text);
    void clear();
    // Replaces the whole text as one edit.
    void replaceAllText(const QString& text);
    // Selects length units from start (clamped to the text), the caret at the end.
    void selectRange(int start, int length);
    // The font, and tab stops every tabColumns half-width spaces of it. The text is laid out
    // again once for both, and only when something changed.
    void setFontAndTabStops(const QFont& font, int tabColumns);

    // A line as the pane displays it: with word wrap on, each wrapped piece is a line.
    struct DisplayedLine {
        int start = 0;     // position of its first character
        int end = 0;       // after its last character, line break excluded
        int next = 0;      // where the next line starts; the end of the text on the last line
        qint64 number = 0; // 0-based
    };
    DisplayedLine displayedLineAt(int position) const;
    bool wraps() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }

    // Walking displayed lines by number while the text changes under them: a line is a block
    // and the index of a piece in it, laid out when asked.
    struct LineRef {
        QTextBlock block;
        int index = 0;
        friend bool operator==(const LineRef&, const LineRef&) = default;
    };
    LineRef lineRefAt(int position) const;
    int startOf(const LineRef& line) const;
    // Moves to the following displayed line; false on the last one.
    bool nextLine(LineRef& line) const;

    // The caret position: line (0-based, as displayed) of the selection's end, its byte column
    // within that line, and the line total of the status bar (the lines, an empty last line
    // not counted, plus one). Costs O(current line).
    struct CaretPosition {
        qint64 line = 0;
        qint64 column = 0;
        qint64 totalLines = 1;
    };
    CaretPosition caretPosition() const;

    // With word wrap on, the displayed lines of text far from the view are counted while the
    // program is idle; these tell whether that is done, and do the rest now.
    bool lineCountsExact() const;
    void finishLineCounting();

    // The web address under the pointer after the last mouse move, empty when there is none.
    QString hoveredLink() const { return m_hoverLink ? m_linkAddress : QString(); }

    // Called with the text about to be inserted from the clipboard or a drop; returns what to
    // insert instead (tab expansion and the like).
    std::function<QString(const QString&)> pasteFilter;
    // The tab width the Tab key steps to.
    void setTabWidthSource(std::function<int()> source) { m_tabWidth = std::move(source); }

signals:
    void popupRequested(const QPoint& globalPos);
    // A key went down, before it takes effect (key 0: an input method is about to commit text).
    void keyDown(int key);
    // A mouse button went down and the pane has done what it does with it.
    void mousePressed();
    // The whole text is about to be replaced without an edit record.
    void aboutToReplaceText();
    // With word wrap on, the counting of displayed lines has reached the end of the text.
    void lineCountsSettled();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void insertTabSpaces();
    void selectDisplayedLine(int position);
    int characterAt(const QPoint& viewportPos) const;
    void updateLinkHover(const QPoint& viewportPos);
    void openHoveredLink();
    QTextBlock laidOutBlock(int position) const;
    DisplayedLine displayedLineIn(const QTextBlock& block, int blockStart, int position) const;
    void keepEditedFlag(bool modified);
    // Tells the user, near the caret, which characters just became "?".
    void tellLost(const QStringList& lost);

    PaneLayout* m_layout = nullptr;
    std::function<int()> m_tabWidth;
    bool m_loading = false;
    bool m_editedSinceLoad = false;
    bool m_endsWithEmptyLine = true; // the status total does not count an empty last line
    // The caret's block as last read, valid while the text is unchanged (epoch) and the caret
    // stays in it; without wrap only.
    struct CaretBlock {
        qint64 textEpoch = -1;
        int start = 0;
        int length = 0;
        qint64 number = 0;
        QString text;
    };
    qint64 m_textEpoch = 0;
    mutable CaretBlock m_caretBlock;
    bool m_hoverLink = false;
    QString m_linkAddress;
};

} // namespace pote
