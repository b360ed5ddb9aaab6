#pragma once
// The editing commands of the window: undo, the clipboard, delete and select all, the pop-up
// menu's blank-line cut and shift right; and the pane's key-down and selection-change handlers.

#include <QObject>

namespace pote {

struct AppContext;
class EditPane;

class EditCommands : public QObject {
    Q_OBJECT
public:
    explicit EditCommands(AppContext& context, QObject* parent = nullptr);
    ~EditCommands() override;

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

private:
    void registerCommands();
    void ed_kd(bool changesText);
    void removeSelection();
    void shiftRightBlocks(int selectionStart, int selectionEnd);
    void shiftRightDisplayedLines(int selectionStart, int selectionEnd);

    AppContext& m_context;
    EditPane& m_pane;
};

} // namespace pote
