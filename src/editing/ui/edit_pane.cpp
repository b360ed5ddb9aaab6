#include "editing/ui/edit_pane.h"

#include "core/cp932.h"
#include "editing/link_detection.h"
#include "editing/tab_stop.h"
#include "editing/ui/notice_bubble.h"
#include "editing/ui/pane_layout.h"
#include "editing/unencodable_notice.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>

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

} // namespace

EditPane::EditPane(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("edit"));
    auto* document = new QTextDocument(this);
    m_layout = new PaneLayout(document);
    document->setDocumentLayout(m_layout);
    document->setDefaultFont(font());
    setDocument(document);
    m_layout->setPaintDevice(viewport());
    // The document records the edits since the last undo snapshot (see PaneUndo); the user
    // never reaches that record: Ctrl+Z and Ctrl+Y are taken away from the pane below, and the
    // pane has no menu of its own.
    setUndoRedoEnabled(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);

    connect(document, &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        ++m_textEpoch;
        if (!m_loading && (removed > 0 || added > 0)) m_editedSinceLoad = true;
        m_endsWithEmptyLine = this->document()->lastBlock().length() <= 1;
    });
    connect(document, &QTextDocument::modificationChanged, this, &EditPane::keepEditedFlag);
    connect(m_layout, &PaneLayout::countsSettled, this, &EditPane::lineCountsSettled);
}

void EditPane::keepEditedFlag(bool modified) {
    // With its edit record on, the document calls itself unmodified again when its edits are
    // undone back to where the record was last cleared, which is not where the text was
    // loaded. Committing a section relies on the flag, so it stays set until the next load.
    if (!modified && m_editedSinceLoad && !m_loading) document()->setModified(true);
}

void EditPane::loadText(const QString& text) {
    emit aboutToReplaceText();
    m_loading = true;
    m_hoverLink = false;
    QPlainTextEdit::setPlainText(text);
    document()->setModified(false);
    m_editedSinceLoad = false;
    m_loading = false;
}

void EditPane::setPlainText(const QString& text) {
    emit aboutToReplaceText();
    QPlainTextEdit::setPlainText(text);
}

void EditPane::clear() {
    emit aboutToReplaceText();
    QPlainTextEdit::clear();
}

void EditPane::replaceAllText(const QString& text) {
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

void EditPane::selectRange(int start, int length) {
    const int last = document()->characterCount() - 1;
    QTextCursor cursor = textCursor();
    cursor.setPosition(qBound(0, start, last));
    cursor.setPosition(qBound(0, start + length, last), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void EditPane::setFontAndTabStops(const QFont& font, int tabColumns) {
    m_layout->holdRelayout();
    setFont(font);
    setTabStopDistance(QFontMetricsF(this->font()).horizontalAdvance(u' ') * tabColumns);
    m_layout->releaseRelayout();
}

QTextBlock EditPane::laidOutBlock(int position) const {
    const QTextBlock block = document()->findBlock(position);
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
    const int position = textCursor().selectionEnd();
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
            const QTextBlock block = document()->findBlock(position);
            m_caretBlock = {m_textEpoch, block.position(), block.length(), block.blockNumber(),
                            block.text()};
        }
        p.line = m_caretBlock.number;
        lineStart = m_caretBlock.start;
    }
    // Columns count bytes: a double-byte character takes two.
    p.column = cp932::byteLength(
        QStringView(m_caretBlock.text).mid(lineStart - m_caretBlock.start, position - lineStart));
    const qint64 lines = wraps() ? document()->lineCount() : document()->blockCount();
    p.totalLines = lines - (m_endsWithEmptyLine ? 1 : 0) + 1;
    return p;
}

bool EditPane::lineCountsExact() const {
    return m_layout->countsExact();
}

void EditPane::finishLineCounting() {
    m_layout->finishCounting();
}

bool EditPane::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        isWindowCommandKey(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void EditPane::keyPressEvent(QKeyEvent* event) {
    emit keyDown(event->key());
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        // The only undo is the program's snapshot.
        event->accept();
        return;
    }
    if (isTabKey(event)) {
        insertTabSpaces();
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && !cp932::canEncode(text)) {
        QKeyEvent replaced(event->type(), event->key(), event->modifiers(),
                           cp932::toEncodable(text), event->isAutoRepeat(),
                           static_cast<ushort>(event->count()));
        QPlainTextEdit::keyPressEvent(&replaced);
        tellLost(cp932::lostCharacters(text));
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

void EditPane::inputMethodEvent(QInputMethodEvent* event) {
    // Composed text arrives without key presses of its own; its commit counts as one.
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) emit keyDown(0);
    if (!event->commitString().isEmpty() && !cp932::canEncode(event->commitString())) {
        QInputMethodEvent replaced(event->preeditString(), event->attributes());
        replaced.setCommitString(cp932::toEncodable(event->commitString()),
                                 event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&replaced);
        tellLost(cp932::lostCharacters(event->commitString()));
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void EditPane::mousePressEvent(QMouseEvent* event) {
    QPlainTextEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && !textCursor().hasSelection() && m_hoverLink)
        openHoveredLink();
    emit mousePressed();
}

void EditPane::mouseDoubleClickEvent(QMouseEvent* event) {
    // The whole line of the caret instead of the word the base class would select.
    selectDisplayedLine(textCursor().position());
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && !textCursor().hasSelection() && m_hoverLink)
        openHoveredLink();
    emit mousePressed();
}

void EditPane::selectDisplayedLine(int position) {
    const DisplayedLine line = displayedLineAt(position);
    QTextCursor cursor = textCursor();
    cursor.setPosition(line.start);
    cursor.setPosition(line.next, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void EditPane::mouseMoveEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseMoveEvent(event);
    updateLinkHover(event->position().toPoint());
}

int EditPane::characterAt(const QPoint& viewportPos) const {
    // The character under the pointer (the cursor position nearest to it may lie after it).
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
    const int position = characterAt(viewportPos);
    const DisplayedLine line = displayedLineAt(position);
    const QTextBlock block = document()->findBlock(line.start);
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

QMimeData* EditPane::createMimeDataFromSelection() const {
    // Plain text only, with '\n' between lines.
    auto* mime = new QMimeData;
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    mime->setText(text);
    return mime;
}

void EditPane::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) return;
    const QString given = source->text();
    const bool lossless = cp932::canEncode(given);
    QString text = lossless ? given : cp932::toEncodable(given);
    if (pasteFilter) text = pasteFilter(text);
    insertPlainText(text);
    ensureCursorVisible();
    if (!lossless) tellLost(cp932::lostCharacters(given));
}

void EditPane::tellLost(const QStringList& lost) {
    if (lost.isEmpty()) return;
    // Just below the caret, where the "?" now stands.
    const QPoint below = viewport()->mapTo(this, cursorRect().bottomLeft()) + QPoint(0, 4);
    showNotice(*this, below, unencodableNotice(lost));
}

void EditPane::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    // A new width lays the text out again and forgets every block's displayed line count.
    if (wraps() && event->oldSize().width() != event->size().width()) m_layout->recountAll();
}

void EditPane::contextMenuEvent(QContextMenuEvent* event) {
    emit popupRequested(event->globalPos());
    event->accept();
}

} // namespace pote
