#pragma once
// What the command controllers need from the main window. Tmain_fm implements it; keeping the
// controllers on this interface keeps them out of the window's widget code.

#include "app/action_table.h"

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace pote {

class SectionStore;
class Prompter;
class MascotReactions;
class SectionBinding;
class EditPane;

class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    virtual SectionStore& store() = 0;
    virtual Prompter& prompter() = 0;
    virtual MascotReactions& mascot() = 0;
    virtual SectionBinding& binding() = 0;
    virtual QWidget* window() = 0;
    // Shows a dialog modally and returns its result. Tests replace this with a script that
    // plays the user's part.
    virtual int runModal(QDialog& dialog) = 0;
    virtual EditPane* pane() = 0;

    // Controllers register what their commands do; a command without a handler is shown
    // disabled.
    virtual void registerCommand(Command command, std::function<void()> handler) = 0;

    virtual void setTitle(const QString& title) = 0;
    virtual void tool_state_refresh() = 0;
    virtual void status_update() = 0;
    // Records the pane as the undo snapshot, just before an editing command changes it.
    virtual void undo_take() = 0;
    virtual void undo_clear() = 0;
    virtual void password_indicator_refresh() = 0;
    // Offers the file to the recent-documents list.
    virtual void recent_add(const QString& path) = 0;
    // Asks for the password of a protected document being read; true when the user typed
    // exactly the candidate.
    virtual bool askDocumentPassword(const QByteArray& candidate) = 0;

    virtual QString workFolder() const = 0;
    virtual void setWorkFolder(const QString& folder) = 0;
    virtual int tabWidth() const = 0;
};

} // namespace pote
