#include "editing/ui/edit_pane.h"

#include "core/cp932.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace pote {

EditPane::EditPane(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("edit"));
    // The program keeps its own single undo snapshot; the pane's own history would be a second,
    // disagreeing undo (and costs memory on large texts).
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void EditPane::loadText(const QString& text) {
    setPlainText(text);
    document()->setModified(false);
}

EditPane::CaretPosition EditPane::caretPosition() const {
    const QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const int inBlock = cursor.position() - block.position();
    CaretPosition p;
    // Columns count bytes from the start of the displayed line.
    int lineStart = 0;
    qint64 lineInBlock = 0;
    if (const QTextLayout* layout = block.layout(); layout && layout->lineCount() > 1) {
        const QTextLine line = layout->lineForTextPosition(inBlock);
        if (line.isValid()) {
            lineStart = line.textStart();
            lineInBlock = line.lineNumber();
        }
    }
    const QString blockText = block.text();
    p.column = cp932::byteLength(QStringView(blockText).mid(lineStart, inBlock - lineStart));
    if (lineWrapMode() == QPlainTextEdit::NoWrap) {
        p.line = block.blockNumber();
        const QTextBlock last = document()->lastBlock();
        p.totalLines = document()->blockCount() - (last.length() <= 1 ? 1 : 0) + 1;
    } else {
        p.line = block.firstLineNumber() + lineInBlock;
        const QTextBlock last = document()->lastBlock();
        p.totalLines = document()->lineCount() - (last.length() <= 1 ? 1 : 0) + 1;
    }
    return p;
}

void EditPane::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (!text.isEmpty() && !cp932::canEncode(text)) {
        QKeyEvent replaced(event->type(), event->key(), event->modifiers(), cp932::toEncodable(text),
                           event->isAutoRepeat(), static_cast<ushort>(event->count()));
        QPlainTextEdit::keyPressEvent(&replaced);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditPane::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() && !cp932::canEncode(event->commitString())) {
        QInputMethodEvent replaced(event->preeditString(), event->attributes());
        replaced.setCommitString(cp932::toEncodable(event->commitString()),
                                 event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&replaced);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void EditPane::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText())
        return;
    QString text = cp932::toEncodable(source->text());
    if (pasteFilter)
        text = pasteFilter(text);
    insertPlainText(text);
    ensureCursorVisible();
}

void EditPane::contextMenuEvent(QContextMenuEvent* event) {
    emit popupRequested(event->globalPos());
    event->accept();
}

} // namespace pote
