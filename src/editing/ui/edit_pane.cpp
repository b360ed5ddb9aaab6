#include "editing/ui/edit_pane.h"

#include "core/cp932.h"
#include "editing/link_detection.h"
#include "editing/tab_stop.h"
#include "editing/ui/notice_bubble.h"
#include "editing/ui/pane_layout.h"
#include "editing/ui/pane_loader.h"
#include "editing/unencodable_notice.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>
#include <QVBoxLayout>

namespace pote {

namespace {

// The keys of the window's clipboard and undo commands: the window's shortcuts take them, so
// that the program's rules (snapshot, tab expansion, tool states) apply. Without a shortcut
// (the command is disabled) the key comes back to the pane as a key press.
bool isWindowCommandKey(const QKeyEvent* key) {
    return key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) ||
           key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Undo) ||
           key->matches(QKeySequence::Redo) || key->matches(QKeySequence::SelectAll);
}

bool isTabKey(const QKeyEvent* key) {
    return (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool isClipboardEditKey(const QKeyEvent* key) {
    return key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Paste);
}

// Whether the editor changes the text for this key: a character it types, a deletion, a line
// break, the Tab key. Modifiers alone, commands (Ctrl+Z, Ctrl+S, ...), F-keys, Escape and the
// keys that only move the caret leave it as it is.
bool keyChangesText(const QKeyEvent* key) {
    if (isTabKey(key) || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
        return true;
    for (const auto edit :
         {QKeySequence::DeleteEndOfWord, QKeySequence::DeleteStartOfWord,
          QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine,
          QKeySequence::InsertParagraphSeparator, QKeySequence::InsertLineSeparator}) {
        if (key->matches(edit)) return true;
    }
    // What the editor takes as typed text.
    const QString text = key->text();
    if (text.isEmpty()) return false;
    const QChar first = text.front();
    if (first.category() == QChar::Other_Format) return true;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return false;
    return first.isPrint() || first.category() == QChar::Other_PrivateUse ||
           first.isHighSurrogate();
}

} // namespace

// The editor inside the pane: the events it handles itself, handed to the pane's rules.
class EditPane::View : public QPlainTextEdit {
public:
    explicit View(EditPane& pane) : QPlainTextEdit(&pane), m_pane(pane) {}

    // The character under the pointer (the cursor position nearest to it may lie after it).
    int characterAt(const QPoint& viewportPos) const;

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
    EditPane& m_pane;
};

EditPane::EditPane(QWidget* parent) : QWidget(parent), m_view(new View(*this)) {
    setObjectName(QStringLiteral("edit"));
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(m_view);
    setFocusProxy(m_view);

    auto* document = new QTextDocument(m_view);
    m_layout = new PaneLayout(document);
    document->setDocumentLayout(m_layout);
    document->setDefaultFont(font());
    m_view->setDocument(document);
    m_layout->setPaintDevice(m_view->viewport());
    // The document records the edits since the last undo snapshot (see PaneUndo); the user
    // never reaches that record: Ctrl+Z and Ctrl+Y are taken away from the pane below, and the
    // pane has no menu of its own.
    m_view->setUndoRedoEnabled(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setTabChangesFocus(false);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->viewport()->setMouseTracking(true);
    m_loader = new PaneLoader(*m_view, this);

    connect(document, &QTextDocument::contentsChange, this, &EditPane::textChanged);
    connect(document, &QTextDocument::modificationChanged, this, &EditPane::keepEditedFlag);
    connect(m_loader, &PaneLoader::finished, this,
            [this] { emit textLoaded(recordingDocument()->characterCount() - 1); });
    connect(m_layout, &PaneLayout::countsSettled, this, &EditPane::lineCountsSettled);
    connect(m_view, &QPlainTextEdit::selectionChanged, this, &EditPane::selectionChanged);
    connect(m_view, &QPlainTextEdit::cursorPositionChanged, this, &EditPane::cursorPositionChanged);
}

EditPane::~EditPane() = default;

QTextDocument* EditPane::recordingDocument() const {
    return m_view->document();
}

void EditPane::textChanged(int position, int removed, int added) {
    ++m_textEpoch;
    m_endsWithEmptyLine = recordingDocument()->lastBlock().length() <= 1;
    if (m_loader->inserting() || (removed == 0 && added == 0)) return;
    m_editedSinceLoad = true;
    emit textEdited(position, removed, added, recordingDocument()->characterCount() - 1);
}

void EditPane::keepEditedFlag(bool modified) {
    // With its edit record on, the document calls itself unmodified again when its edits are
    // undone back to where the record was last cleared, which is not where the text was
    // loaded. Committing a section relies on the flag, so it stays set until the next load.
    if (!modified && m_editedSinceLoad && !m_loader->inserting())
        recordingDocument()->setModified(true);
}

void EditPane::beginLoad() {
    emit aboutToReplaceText();
    m_hoverLink = false;
    m_editedSinceLoad = false;
}

void EditPane::loadText(QString text) {
    beginLoad();
    m_loader->load(std::move(text));
}

void EditPane::loadBytes(QByteArray bytes) {
    beginLoad();
    m_loader->loadBytes(std::move(bytes));
}

bool EditPane::loading() const {
    return m_loader->loading();
}

void EditPane::finishLoading() const {
    m_loader->finish();
}

bool EditPane::edited() const {
    // A load leaves the document unmodified, also while its rest is still arriving.
    return recordingDocument()->isModified();
}

void EditPane::replaceAllText(const QString& text) {
    QTextCursor cursor = textCursor();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

const QTextDocument* EditPane::document() const {
    finishLoading();
    return recordingDocument();
}

QString EditPane::toPlainText() const {
    finishLoading();
    return m_view->toPlainText();
}

QTextCursor EditPane::textCursor() const {
    finishLoading();
    return m_view->textCursor();
}

void EditPane::moveCursor(QTextCursor::MoveOperation operation) {
    finishLoading();
    m_view->moveCursor(operation);
}

void EditPane::selectAll() {
    finishLoading();
    m_view->selectAll();
}

void EditPane::cut() {
    finishLoading();
    m_view->cut();
}

void EditPane::paste() {
    finishLoading();
    m_view->paste();
}

void EditPane::setTextCursor(const QTextCursor& cursor) {
    m_view->setTextCursor(cursor);
}

void EditPane::selectRange(int start, int length) {
    const int last = recordingDocument()->characterCount() - 1;
    QTextCursor cursor = m_view->textCursor();
    cursor.setPosition(qBound(0, start, last));
    cursor.setPosition(qBound(0, start + length, last), QTextCursor::KeepAnchor);
    m_view->setTextCursor(cursor);
}

int EditPane::selectionStart() const {
    return m_view->textCursor().selectionStart();
}

int EditPane::selectionEnd() const {
    return m_view->textCursor().selectionEnd();
}

void EditPane::copy() {
    m_view->copy();
}

void EditPane::ensureCursorVisible() {
    m_view->ensureCursorVisible();
}

QRect EditPane::cursorRect(const QTextCursor& cursor) const {
    return m_view->cursorRect(cursor);
}

QRect EditPane::cursorRect() const {
    return m_view->cursorRect();
}

void EditPane::setFontAndTabStops(const QFont& font, int tabColumns) {
    // Set on the pane, the font reaches the editor inside it.
    m_layout->holdRelayout();
    setFont(font);
    m_view->setTabStopDistance(QFontMetricsF(this->font()).horizontalAdvance(u' ') * tabColumns);
    m_layout->releaseRelayout();
}

qreal EditPane::tabStopDistance() const {
    return m_view->tabStopDistance();
}

void EditPane::setLineWrapMode(QPlainTextEdit::LineWrapMode mode) {
    m_view->setLineWrapMode(mode);
}

bool EditPane::wraps() const {
    return m_view->lineWrapMode() != QPlainTextEdit::NoWrap;
}

QWidget* EditPane::viewport() const {
    return m_view->viewport();
}

QScrollBar* EditPane::verticalScrollBar() const {
    return m_view->verticalScrollBar();
}

bool EditPane::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
        // A key the editor leaves alone comes up to the pane on its way to the window: it has
        // been where it goes here, and goes on as the editor left it. A shortcut override the
        // editor does not claim must stay unclaimed, or no window shortcut and no menu key
        // (Alt+F) could ever fire while the pane has the focus.
        if (m_forwarding || event == m_leftByView) {
            m_leftByView = nullptr;
            break;
        }
        {
            const QScopedValueRollback forwarding(m_forwarding, true);
            QCoreApplication::sendEvent(m_view, event);
        }
        return event->isAccepted();
    default:
        break;
    }
    return QWidget::event(event);
}

QTextBlock EditPane::laidOutBlock(int position) const {
    const QTextBlock block = recordingDocument()->findBlock(position);
    if (wraps()) m_layout->ensureBlockLayout(block);
    return block;
}

EditPane::DisplayedLine EditPane::displayedLineIn(const QTextBlock& block, int blockStart,
                                                  int position) const {
    // Every call on a block (position, number) walks the document's block tree, so callers
    // pass what they already know.
    const int blockEnd = blockStart + block.length() - 1; // before the block's line break
    const int afterBlock = block.next().isValid() ? blockEnd + 1 : blockEnd;
    DisplayedLine line;
    if (!wraps() || block.layout()->lineCount() <= 1) {
        line.start = blockStart;
        line.end = blockEnd;
        line.next = afterBlock;
        line.number = wraps() ? block.firstLineNumber() : block.blockNumber();
        return line;
    }
    const QTextLayout* layout = block.layout();
    QTextLine piece = layout->lineForTextPosition(position - blockStart);
    if (!piece.isValid()) piece = layout->lineAt(layout->lineCount() - 1);
    const bool lastPiece = piece.lineNumber() == layout->lineCount() - 1;
    line.start = blockStart + piece.textStart();
    line.end = lastPiece ? blockEnd : line.start + piece.textLength();
    line.next = lastPiece ? afterBlock : line.end;
    line.number = block.firstLineNumber() + piece.lineNumber();
    return line;
}

EditPane::DisplayedLine EditPane::displayedLineAt(int position) const {
    const QTextBlock block = laidOutBlock(position);
    return displayedLineIn(block, block.position(), position);
}

EditPane::LineRef EditPane::lineRefAt(int position) const {
    const QTextBlock block = laidOutBlock(position);
    if (!wraps()) return {block, 0};
    const QTextLine piece = block.layout()->lineForTextPosition(position - block.position());
    return {block, piece.isValid() ? piece.lineNumber() : qMax(0, block.layout()->lineCount() - 1)};
}

int EditPane::startOf(const LineRef& line) const {
    if (!wraps() || line.index == 0) return line.block.position();
    m_layout->ensureBlockLayout(line.block);
    const QTextLayout* layout = line.block.layout();
    return line.block.position() +
           layout->lineAt(qMin(line.index, layout->lineCount() - 1)).textStart();
}

bool EditPane::nextLine(LineRef& line) const {
    if (wraps()) {
        m_layout->ensureBlockLayout(line.block);
        if (line.index + 1 < line.block.layout()->lineCount()) {
            ++line.index;
            return true;
        }
    }
    const QTextBlock next = line.block.next();
    if (!next.isValid()) return false;
    line = {next, 0};
    return true;
}

EditPane::CaretPosition EditPane::caretPosition() const {
    const int position = selectionEnd();
    CaretPosition p;
    int lineStart = 0;
    if (wraps()) {
        const QTextBlock block = laidOutBlock(position);
        const int blockStart = block.position();
        const DisplayedLine line = displayedLineIn(block, blockStart, position);
        m_caretBlock = {-1, blockStart, block.length(), 0, block.text()};
        p.line = line.number;
        lineStart = line.start;
    } else {
        // Each question to the document about a block walks its block tree; the status asks
        // several times per key and caret move, mostly about the same unchanged line.
        if (m_caretBlock.textEpoch != m_textEpoch || position < m_caretBlock.start ||
            position >= m_caretBlock.start + m_caretBlock.length) {
            const QTextBlock block = recordingDocument()->findBlock(position);
            m_caretBlock = {m_textEpoch, block.position(), block.length(), block.blockNumber(),
                            block.text()};
        }
        p.line = m_caretBlock.number;
        lineStart = m_caretBlock.start;
    }
    // Columns count bytes: a double-byte character takes two.
    p.column = cp932::byteLength(
        QStringView(m_caretBlock.text).mid(lineStart - m_caretBlock.start, position - lineStart));
    const QTextDocument* document = recordingDocument();
    const qint64 lines = wraps() ? document->lineCount() : document->blockCount();
    p.totalLines = lines - (m_endsWithEmptyLine ? 1 : 0) + 1;
    return p;
}

bool EditPane::lineCountsExact() const {
    return m_layout->countsExact();
}

void EditPane::finishLineCounting() {
    m_layout->finishCounting();
}

bool EditPane::View::event(QEvent* event) {
    const QEvent::Type type = event->type();
    const bool key =
        type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride;
    bool handled = false;
    if (type == QEvent::ShortcutOverride && m_pane.composing()) {
        // While a composition is open every key is the input method's: a shortcut would
        // commit the composed text into the pane (a dialog taking the focus) or act on a text
        // the writer has not finished.
        event->accept();
        handled = true;
    } else if (type == QEvent::ShortcutOverride &&
               isWindowCommandKey(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        handled = true;
    } else {
        handled = QPlainTextEdit::event(event);
    }
    // A key left alone goes up to the pane next, which must not hand it back here.
    if (key && !event->isAccepted()) m_pane.m_leftByView = event;
    return handled;
}

void EditPane::View::keyPressEvent(QKeyEvent* event) {
    // A key acts on the whole text (Ctrl+End, a snapshot of it, an edit): the rest of a load
    // comes in first.
    m_pane.finishLoading();
    emit m_pane.keyDown(keyChangesText(event));
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo) ||
        isClipboardEditKey(event)) {
        // The only undo is the program's snapshot, and a cut or a paste is the window's
        // command, which keeps the stored codes of what it moves. Such a key arrives here
        // only while its command cannot run.
        event->accept();
        return;
    }
    if (m_pane.m_composing &&
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        // A command key the input method passed on while composing: nothing, as the
        // shortcut itself does nothing then.
        event->accept();
        return;
    }
    if (isTabKey(event)) {
        m_pane.insertTabSpaces();
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && !cp932::canEncode(text)) {
        QKeyEvent replaced(event->type(), event->key(), event->modifiers(),
                           cp932::toEncodable(text), event->isAutoRepeat(),
                           static_cast<ushort>(event->count()));
        QPlainTextEdit::keyPressEvent(&replaced);
        m_pane.tellLost(cp932::lostCharacters(text));
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditPane::insertTabSpaces() {
    // Spaces, counted in bytes from the start of the caret's line, up to the next stop.
    const int width = m_tabWidth ? m_tabWidth() : 8;
    const int spaces = tabSpaceCount(caretPosition().column, width);
    QTextCursor cursor = textCursor();
    cursor.insertText(QString(spaces, u' '));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void EditPane::View::inputMethodEvent(QInputMethodEvent* event) {
    // Composed text arrives without key presses of its own; its commit counts as one.
    const bool commits = !event->commitString().isEmpty() || event->replacementLength() > 0;
    if (commits || !event->preeditString().isEmpty()) m_pane.finishLoading();
    if (commits) emit m_pane.keyDown(true);
    if (!event->commitString().isEmpty() && !cp932::canEncode(event->commitString())) {
        QInputMethodEvent replaced(event->preeditString(), event->attributes());
        replaced.setCommitString(cp932::toEncodable(event->commitString()),
                                 event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&replaced);
        m_pane.tellLost(cp932::lostCharacters(event->commitString()));
    } else {
        QPlainTextEdit::inputMethodEvent(event);
    }
    m_pane.m_composing = !event->preeditString().isEmpty();
}

void EditPane::View::mousePressEvent(QMouseEvent* event) {
    QPlainTextEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && !textCursor().hasSelection() && m_pane.m_hoverLink)
        m_pane.openHoveredLink();
    emit m_pane.mousePressed();
}

void EditPane::View::mouseDoubleClickEvent(QMouseEvent* event) {
    // The whole line of the caret instead of the word the base class would select.
    m_pane.selectDisplayedLine(textCursor().position());
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && !textCursor().hasSelection() && m_pane.m_hoverLink)
        m_pane.openHoveredLink();
    emit m_pane.mousePressed();
}

void EditPane::selectDisplayedLine(int position) {
    const DisplayedLine line = displayedLineAt(position);
    QTextCursor cursor = m_view->textCursor();
    cursor.setPosition(line.start);
    cursor.setPosition(line.next, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void EditPane::View::mouseMoveEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseMoveEvent(event);
    m_pane.updateLinkHover(event->position().toPoint());
}

int EditPane::View::characterAt(const QPoint& viewportPos) const {
    const QTextCursor hit = cursorForPosition(viewportPos);
    const QTextBlock block = hit.block();
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0) return hit.position();
    const QPointF inBlock =
        QPointF(viewportPos) - blockBoundingGeometry(block).translated(contentOffset()).topLeft();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (inBlock.y() < line.rect().bottom() || i == layout->lineCount() - 1)
            return block.position() + line.xToCursor(inBlock.x(), QTextLine::CursorOnCharacter);
    }
    return hit.position();
}

void EditPane::updateLinkHover(const QPoint& viewportPos) {
    m_hoverLink = false;
    const int position = m_view->characterAt(viewportPos);
    const DisplayedLine line = displayedLineAt(position);
    const QTextBlock block = recordingDocument()->findBlock(line.start);
    const QString text = block.text().mid(line.start - block.position(), line.end - line.start);
    if (text.contains(QLatin1StringView("http://"))) {
        const QByteArray bytes = cp932::encode(text);
        const qsizetype at = cp932::unitToByteOffset(text, position - line.start);
        if (const auto link = linkAt(bytes, at)) {
            m_linkAddress = cp932::decode(*link);
            m_hoverLink = true;
        }
    }
    viewport()->setCursor(m_hoverLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void EditPane::openHoveredLink() {
    // A browser that cannot be started is not the editor's business: no message.
    QDesktopServices::openUrl(QUrl(m_linkAddress));
}

QMimeData* EditPane::View::createMimeDataFromSelection() const {
    // Plain text only, with '\n' between lines.
    auto* mime = new QMimeData;
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    mime->setText(text);
    return mime;
}

void EditPane::View::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) return;
    // A paste or a drop is an edit: the rest of a load comes in first.
    m_pane.finishLoading();
    const QString given = source->text();
    const bool lossless = cp932::canEncode(given);
    QString text = lossless ? given : cp932::toEncodable(given);
    if (m_pane.pasteFilter) text = m_pane.pasteFilter(text);
    insertPlainText(text);
    ensureCursorVisible();
    if (!lossless) m_pane.tellLost(cp932::lostCharacters(given));
}

void EditPane::tellLost(const QStringList& lost) {
    if (lost.isEmpty()) return;
    // Just below the caret, where the "?" now stands.
    const QPoint below =
        viewport()->mapTo(m_view, m_view->cursorRect().bottomLeft()) + QPoint(0, 4);
    showNotice(*m_view, below, unencodableNotice(lost));
}

void EditPane::View::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    // A new width lays the text out again and forgets every block's displayed line count.
    if (m_pane.wraps() && event->oldSize().width() != event->size().width())
        m_pane.m_layout->recountAll();
}

void EditPane::View::contextMenuEvent(QContextMenuEvent* event) {
    emit m_pane.popupRequested(event->globalPos());
    event->accept();
}

} // namespace pote
