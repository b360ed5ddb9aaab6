#pragma once
// What the command controllers share. Each controller gets the context and nothing else: the
// services by reference, and the window only through the narrow view below.

#include "app/command_runner.h"
#include "app/ui/background_job.h"

#include <QPoint>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace pote {

class SectionStore;
class Prompter;
class MascotReactions;
class SectionBinding;
class PaneUndo;
class Reporter;
class EditPane;
class FileAssociations;
struct Settings;

// What only the window can do.
class WindowView {
public:
    virtual ~WindowView() = default;
    // The parent of the dialogs the controllers create.
    virtual QWidget* dialogParent() = 0;
    // Shows a dialog modally and returns its result. Tests replace this with a script that
    // plays the user's part.
    virtual int runModal(QDialog& dialog) = 0;
    virtual void setTitle(const QString& title) = 0;
    // The caret read-out of the status bar.
    virtual void status_update() = 0;
    // Background work shows its progress in the first status panel. Until released, the caret
    // read-out leaves that panel alone (a resize or a click in the pane would otherwise wipe the
    // progress); release and then status_update to bring the read-out back.
    virtual void holdStatusText(const QString& text) = 0;
    virtual void releaseStatusText() = 0;
    // A word on finished work in the first status panel, there until the caret read-out
    // changes (a window coming back to the front does not wipe it). Empty: the read-out again.
    virtual void noteStatusText(const QString& text) = 0;
    // Where the section picker opens, on the desktop.
    virtual QPoint pickerAnchor() const = 0;
};

struct AppContext {
    SectionStore& store;
    Prompter& prompter;
    MascotReactions& mascot;
    Reporter& reporter;
    EditPane& pane;
    SectionBinding& binding;
    PaneUndo& undo;
    Settings& settings;
    FileAssociations& associations;
    WindowView& view;
    CommandRegistry& commands;
    // Work off the window's thread, each job entered by itself.
    BackgroundJobs jobs{};
};

} // namespace pote
