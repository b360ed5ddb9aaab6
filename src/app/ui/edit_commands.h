#pragma once
// The editing commands of the window: undo, the clipboard, delete and select all, the pop-up
// menu's blank-line cut and shift right, and printing; and the pane's key-down and
// selection-change handlers. Owns the window's undo snapshot.

#include <QObject>
#include <QPrinterInfo>

#include <functional>
#include <memory>

namespace pote {

class DocumentHost;
class EditPane;
class PaneUndo;

class EditCommands : public QObject {
    Q_OBJECT
public:
    explicit EditCommands(DocumentHost& host, QObject* parent = nullptr);
    ~EditCommands() override;

    bool undoAvailable() const;
    // Records the pane as the undo snapshot, just before a command changes it.
    void undo_take();
    // Discards the snapshot, when other text is put into the pane.
    void undo_clear();
    // sel_ch: the selection or the caret moved.
    void sel_ch();

    void nx_edit_undoClick();
    void nx_edcutClick();
    void nx_edcopyClick();
    void nx_edpasteClick();
    void nx_ed_delClick();
    void pop_eddelClick();
    void N12Click();
    void nx_linecutClick();
    void pop_right_moveClick();
    void Print1Click();

    // Where a print job goes; by default the system's default printer. Tests point it away
    // from real printers.
    void setPrinterLookup(std::function<QPrinterInfo()> lookup) { m_printerLookup = std::move(lookup); }

private:
    void registerCommands();
    void ed_kd(int key);
    void removeSelection();
    void shiftRightBlocks(int selectionStart, int selectionEnd);
    void shiftRightDisplayedLines(int selectionStart, int selectionEnd);
    QString printableText() const;
    void printToPdf(const QString& text, const QString& title);
    void reportPrintFailure();

    DocumentHost& m_host;
    EditPane& m_pane;
    std::unique_ptr<PaneUndo> m_undo;
    std::function<QPrinterInfo()> m_printerLookup;
};

} // namespace pote
