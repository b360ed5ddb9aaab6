#pragma once
// Puts a long text into a plain-text editor so that its beginning shows at once. Setting a text
// of many megabytes in one go builds every line before the first screen is painted; instead the
// first screenfuls go in whole, and the rest follows a slice at a time between the events of
// the program, with the layout's signals held back during each slice (otherwise every slice
// repaints and resizes the scroll bars). The scroll bars follow a few times a second and at
// the end. CP932 bytes are decoded a slice at a time too, so the whole text never exists twice.
//
// A load is not an edit: nothing of it can be undone, and the document counts as unmodified
// after every slice. Whoever needs the whole text calls finish() first.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QPlainTextEdit;

namespace pote {

class PaneLoader : public QObject {
    Q_OBJECT
public:
    // Texts up to this many units (or bytes) go in at once: they cost less than a screen
    // refresh.
    static constexpr qsizetype kWholeUpTo = qsizetype(1) << 20;
    // The part shown first: enough for any screen.
    static constexpr qsizetype kFirstPart = qsizetype(64) << 10;
    // What each turn of the event loop adds.
    static constexpr qsizetype kSlice = qsizetype(256) << 10;

    explicit PaneLoader(QPlainTextEdit& edit, QObject* parent = nullptr);

    // Replaces the editor's text; a load still running is given up.
    void load(QString text);
    // The same with the pane form of CP932 bytes (cp932::decodeForPane).
    void loadBytes(QByteArray bytes);
    // True while part of the text has not arrived yet.
    bool loading() const { return m_done < m_total; }
    // True while the loader itself changes the text (every change then belongs to a load).
    bool inserting() const { return m_inserting; }
    // Brings in the rest now.
    void finish();

signals:
    // The whole text is in the editor (also right after a load that went in at once).
    void finished();

private:
    void start(qsizetype total);
    // The next piece of at most size units or bytes, as text.
    QString takePiece(qsizetype size);
    void insert(const QString& piece);
    void announceSize();
    void end();

    QPlainTextEdit& m_edit;
    // What is being loaded (one of the two), and how much of it is in the editor.
    QString m_text;
    QByteArray m_bytes;
    qsizetype m_done = 0;
    qsizetype m_total = 0;
    bool m_inserting = false;
    bool m_undoWasEnabled = true;
    QTimer m_next;
    QElapsedTimer m_sinceAnnounced;
};

} // namespace pote
