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
//
// The editor itself is the pane's own, out of reach: everything that reads or changes the text
// goes through the functions below. That is what keeps two promises no caller can break by
// accident: a whole-text replacement is always announced (the undo snapshot and the recovery
// copy depend on it), and the rest of a long text still loading (see PaneLoader) arrives
// before anyone reads the whole text or edits it.

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QWidget>

#include <functional>

class QScrollBar;
class QTextDocument;

namespace pote {

class PaneLayout;
class PaneLoader;
class PaneUndo;

class EditPane : public QWidget {
    Q_OBJECT
public:
    explicit EditPane(QWidget* parent = nullptr);
    ~EditPane() override;

    // Replaces the whole text as a load: not an edit, and the pane counts as unedited after it.
    // A long text shows its beginning at once and the rest arrives while the program is idle.
    void loadText(QString text);
    // The same with the pane form of CP932 bytes, decoded as they arrive.
    void loadBytes(QByteArray bytes);
    // True while the rest of a load has not arrived.
    bool loading() const;
    // Brings in the rest of a load now.
    void finishLoading() const;
    // True when the text was changed since the last load (a load itself never counts).
    bool edited() const;
    // Replaces the whole text as one edit.
    void replaceAllText(const QString& text);

    // The whole text, and what can read or change all of it: each brings in the rest of a
    // load first.
    const QTextDocument* document() const;
    QString toPlainText() const;
    QTextCursor textCursor() const;
    void moveCursor(QTextCursor::MoveOperation operation);
    void selectAll();
    void cut();
    void paste();

    // The selection and the caret: these never wait for a load.
    void setTextCursor(const QTextCursor& cursor);
    // Selects length units from start (clamped to the text), the caret at the end.
    void selectRange(int start, int length);
    int selectionStart() const;
    int selectionEnd() const;
    void copy();
    void ensureCursorVisible();
    QRect cursorRect(const QTextCursor& cursor) const;
    QRect cursorRect() const;

    // The font, and tab stops every tabColumns half-width spaces of it. The text is laid out
    // again once for both, and only when something changed.
    void setFontAndTabStops(const QFont& font, int tabColumns);
    qreal tabStopDistance() const;
    void setLineWrapMode(QPlainTextEdit::LineWrapMode mode);
    QWidget* viewport() const;
    QScrollBar* verticalScrollBar() const;

    // A line as the pane displays it: with word wrap on, each wrapped piece is a line.
    struct DisplayedLine {
        int start = 0;     // position of its first character
        int end = 0;       // after its last character, line break excluded
        int next = 0;      // where the next line starts; the end of the text on the last line
        qint64 number = 0; // 0-based
    };
    DisplayedLine displayedLineAt(int position) const;
    bool wraps() const;

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

    // True while an input method shows composed text it has not yet committed.
    bool composing() const { return m_composing; }

    // The web address under the pointer after the last mouse move, empty when there is none.
    QString hoveredLink() const { return m_hoverLink ? m_linkAddress : QString(); }

    // Called with the text about to be inserted from the clipboard or a drop; returns what to
    // insert instead (tab expansion and the like).
    std::function<QString(const QString&)> pasteFilter;
    // The tab width the Tab key steps to.
    void setTabWidthSource(std::function<int()> source) { m_tabWidth = std::move(source); }

signals:
    void popupRequested(const QPoint& globalPos);
    // A key went down, before it takes effect; changesText: it types, deletes or breaks a
    // line (an input method about to commit text counts as such a key).
    void keyDown(bool changesText);
    // A mouse button went down and the pane has done what it does with it.
    void mousePressed();
    // The whole text is about to be replaced by a load (the edit record goes with it).
    void aboutToReplaceText();
    // All of a load is in the pane, length units long.
    void textLoaded(int length);
    // The text changed other than by a load: removed units at position became added ones, and
    // the text is now length units long.
    void textEdited(int position, int removed, int added, int length);
    void selectionChanged();
    void cursorPositionChanged();
    // With word wrap on, the counting of displayed lines has reached the end of the text.
    void lineCountsSettled();

protected:
    // Keys and composed text sent to the pane go to its editor.
    bool event(QEvent* event) override;

private:
    class View;
    friend class PaneUndo;

    // The document and its edit record as they are, without waiting for a load (PaneUndo
    // keeps its snapshot in the record).
    QTextDocument* recordingDocument() const;
    void beginLoad();
    void textChanged(int position, int removed, int added);
    void insertTabSpaces();
    void selectDisplayedLine(int position);
    void updateLinkHover(const QPoint& viewportPos);
    void openHoveredLink();
    QTextBlock laidOutBlock(int position) const;
    DisplayedLine displayedLineIn(const QTextBlock& block, int blockStart, int position) const;
    void keepEditedFlag(bool modified);
    // Tells the user, near the caret, which characters just became "?".
    void tellLost(const QStringList& lost);

    View* m_view = nullptr;
    PaneLayout* m_layout = nullptr;
    PaneLoader* m_loader = nullptr;
    std::function<int()> m_tabWidth;
    bool m_editedSinceLoad = false;
    bool m_forwarding = false;       // a key sent on to the editor
    QEvent* m_leftByView = nullptr;  // a key the editor left alone, on its way up to the pane
    bool m_composing = false;        // an input method shows text it has not committed
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
