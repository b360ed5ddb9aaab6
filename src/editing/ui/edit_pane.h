#pragma once
// The editing pane `edit`: a plain-text editor whose text is always something CP932 can hold.
// Text typed, composed or pasted is turned into its CP932 counterpart on the way in, so what
// the pane shows is what will be stored.

#include <QPlainTextEdit>

#include <functional>

namespace pote {

class EditPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit EditPane(QWidget* parent = nullptr);

    // Replaces the whole text without marking the pane's document modified.
    void loadText(const QString& text);

    // The caret position: line (0-based, as displayed), byte column within that line, and the
    // line total of the status bar. Costs O(current line).
    struct CaretPosition {
        qint64 line = 0;
        qint64 column = 0;
        qint64 totalLines = 1;
    };
    CaretPosition caretPosition() const;

    // Called with the text about to be inserted from the clipboard or a drop; returns what to
    // insert instead (tab expansion and the like).
    std::function<QString(const QString&)> pasteFilter;

signals:
    void popupRequested(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

} // namespace pote
