#include "editing/ui/pane_loader.h"

#include "core/cp932.h"
#include "editing/load_pieces.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>

namespace pote {

namespace {

// How often the scroll bars learn the size of the text that has arrived.
constexpr qint64 kAnnounceMs = 250;

} // namespace

PaneLoader::PaneLoader(QPlainTextEdit& edit, QObject* parent) : QObject(parent), m_edit(edit) {
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, [this] {
        insert(takePiece(kSlice));
        if (!loading()) {
            end();
        } else if (m_sinceAnnounced.elapsed() >= kAnnounceMs) {
            announceSize();
        }
    });
}

void PaneLoader::load(QString text) {
    m_bytes = QByteArray();
    m_text = std::move(text);
    start(m_text.size());
}

void PaneLoader::loadBytes(QByteArray bytes) {
    m_text = QString();
    m_bytes = std::move(bytes);
    start(m_bytes.size());
}

QString PaneLoader::takePiece(qsizetype size) {
    if (!m_bytes.isNull()) {
        const qsizetype end = pieceEnd(m_bytes, m_done, size);
        QString piece = cp932::decodeForPane(QByteArrayView(m_bytes).sliced(m_done, end - m_done));
        m_done = end;
        return piece;
    }
    const qsizetype end = pieceEnd(m_text, m_done, size);
    QString piece = m_done == 0 && end == m_total ? m_text : m_text.sliced(m_done, end - m_done);
    m_done = end;
    return piece;
}

void PaneLoader::start(qsizetype total) {
    QTextDocument* document = m_edit.document();
    // A load given up midway keeps the undo state it found; its rest never comes.
    if (!m_next.isActive()) m_undoWasEnabled = document->isUndoRedoEnabled();
    m_next.stop();
    // Off before the first part goes in, so that no part of the load is ever undoable.
    document->setUndoRedoEnabled(false);
    m_done = 0;
    m_total = total;
    const QString first = takePiece(total <= kWholeUpTo ? total : kFirstPart);
    m_inserting = true;
    m_edit.setPlainText(first);
    document->setModified(false);
    m_inserting = false;
    if (!loading()) {
        end();
        return;
    }
    m_sinceAnnounced.start();
    m_next.start();
}

void PaneLoader::insert(const QString& piece) {
    QTextDocument* document = m_edit.document();
    // A caret placed at the end of what has arrived stays where it was put: text arriving
    // after it is no reason to move it.
    const int end = document->characterCount() - 1;
    const int caretAnchor = m_edit.textCursor().anchor();
    const int caretPosition = m_edit.textCursor().position();
    const bool caretAtEnd = caretPosition == end || caretAnchor == end;
    m_inserting = true;
    {
        const QSignalBlocker quiet(document->documentLayout());
        QTextCursor append(document);
        append.movePosition(QTextCursor::End);
        append.insertText(piece);
    }
    document->setModified(false);
    m_inserting = false;
    if (caretAtEnd) {
        QTextCursor kept(document);
        kept.setPosition(caretAnchor);
        kept.setPosition(caretPosition, QTextCursor::KeepAnchor);
        m_edit.setTextCursor(kept);
    }
}

void PaneLoader::finish() {
    if (!loading()) return;
    m_next.stop();
    while (loading())
        insert(takePiece(kSlice));
    end();
}

void PaneLoader::announceSize() {
    QAbstractTextDocumentLayout* layout = m_edit.document()->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
    emit layout->update();
    m_sinceAnnounced.restart();
}

void PaneLoader::end() {
    const bool sliced = m_total > kWholeUpTo;
    m_next.stop();
    m_text = QString();
    m_bytes = QByteArray();
    m_done = m_total = 0;
    m_edit.document()->setUndoRedoEnabled(m_undoWasEnabled);
    if (sliced) announceSize();
    emit finished();
}

} // namespace pote
