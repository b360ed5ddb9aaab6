#pragma once
// How the program starts and stops around its window: the settings read and applied once the
// window is built, the first-start question, the stored placement and the file named on the
// command line at the first activation, and the settings written at close.

#include <QStringList>

#include <functional>

class QWidget;

namespace pote {

struct AppContext;
namespace mascot {
class MascotView;
}

class Startup {
public:
    // arguments: the command-line parameters, program name excluded. settingsPath: the
    // settings file to read and write.
    Startup(AppContext& context, QWidget& window, mascot::MascotView& cat, QStringList arguments,
            QString settingsPath);

    // The rest of the window's creation: the cat's sheet, the settings, the first-start
    // question, the pane's look, section 1 shown, the cat's timer running.
    void FormCreate();
    // The window is shown. Should the desktop withhold its first activation (focus-stealing
    // prevention does), the file named on the command line is opened a moment later anyway.
    void FormShow();
    // Every activation of the window; the first one places the window and opens the file
    // named on the command line.
    void form_active();
    // What opens the file named on the command line (the parameters as given).
    void setCommandLineOpen(std::function<void(const QStringList&)> open) {
        m_commandLineOpen = std::move(open);
    }
    // The window closes for good.
    void formclose();
    // Run at the end of FormCreate, with section 1 shown and before the window shows: what the
    // recovery of unsaved work has to say (work a previous run left unsaved, or that none of
    // this run's can be kept).
    void setRecoveryStart(std::function<void()> start) { m_recoveryStart = std::move(start); }

    // The first parameter was "/d": the window stays at its design place.
    bool designFlag() const { return m_designFlag; }
    // The folder of the program file, without a trailing separator.
    const QString& programFolder() const { return m_programFolder; }
    const QString& settingsPath() const { return m_settingsPath; }

private:
    void placeWindow();
    // Runs the command-line open once in the program's life, when there are parameters.
    void openCommandLine();

    AppContext& m_context;
    QWidget& m_window;
    mascot::MascotView& m_cat;
    QStringList m_arguments;
    QString m_settingsPath;
    QString m_programFolder;
    bool m_designFlag = false;
    bool m_firstActivation = true;
    bool m_commandLineOpened = false;
    bool m_fallbackArmed = false;
    std::function<void(const QStringList&)> m_commandLineOpen;
    std::function<void()> m_recoveryStart;
};

} // namespace pote
