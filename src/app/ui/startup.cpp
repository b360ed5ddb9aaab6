#include "app/ui/startup.h"

#include "app/reporter.h"
#include "app/terminal_note.h"
#include "app/ui/app_context.h"
#include "app/ui/pane_look.h"
#include "app/ui/section_binding.h"
#include "core/program_files.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "mascot/sprite_sheet.h"
#include "mascot/ui/mascot_view.h"
#include "settings/file_associations.h"
#include "settings/settings_messages.h"
#include "settings/settings_store.h"
#include "settings/ui/editor_font_qt.h"
#include "settings/window_placement.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace pote {

namespace {

// How long a shown window waits for its first activation before it opens the command line's
// file without it.
constexpr int kActivationGraceMs = 500;

} // namespace

Startup::Startup(AppContext& context, QWidget& window, mascot::MascotView& cat,
                 QStringList arguments, QString settingsPath)
    : m_context(context), m_window(window), m_cat(cat), m_arguments(std::move(arguments)),
      m_settingsPath(settingsPath.isEmpty() ? userSettingsPath() : std::move(settingsPath)),
      m_programFolder(QCoreApplication::applicationDirPath()) {
    m_designFlag = !m_arguments.isEmpty() && m_arguments.first() == QStringLiteral("/d");
}

void Startup::FormCreate() {
    // Without a usable sheet the program runs without the cat; a cushion keeps its place.
    const QString sheetFolder =
        dataFolderFor(m_programFolder, QLatin1String(mascot::kSheetFileName));
    if (!m_cat.loadSheet(mascot::sheetPathIn(sheetFolder)))
        m_cat.setPlaceholder(
            QIcon(QStringLiteral(":/icons/mascot_placeholder.svg")).pixmap(48, 48).toImage());

    Settings& settings = m_context.settings;
    settings = Settings::defaults(QDir::currentPath());
    const LoadResult loaded = settings_load(m_settingsPath, settings);
    if (!loaded.refused.isEmpty())
        tellTerminal(QStringLiteral("settings ignored in %1: %2")
                         .arg(m_settingsPath, loaded.refused.join(QStringLiteral(", "))));
    if (!loaded.readable)
        tellTerminal(QStringLiteral("settings file not fully readable: %1").arg(m_settingsPath));
    if (settings.firstStart &&
        m_context.prompter.message(MessageKind::Confirmation, Answer::Yes | Answer::No,
                                   firstStartQuestion()) == Answer::Yes) {
        if (const Result<void> associated = m_context.associations.associatePtm(); !associated)
            m_context.reporter.report(associated.error());
    }

    applyPaneLook(m_context.pane, settings);
    m_cat.mascot_draw(1);
    SectionBinding& binding = m_context.binding;
    binding.section_commit(0);
    binding.section_load(0);
    m_context.store.setModified(false);
    binding.secno_refresh();
    m_context.undo.clear();
    if (m_recoveryStart) m_recoveryStart();
    m_cat.start();
}

void Startup::FormShow() {
    if (m_fallbackArmed || m_arguments.isEmpty()) return;
    m_fallbackArmed = true;
    QTimer::singleShot(kActivationGraceMs, &m_window, [this] { openCommandLine(); });
}

void Startup::form_active() {
    if (!m_firstActivation) return;
    m_firstActivation = false;
    placeWindow();
    openCommandLine();
}

void Startup::openCommandLine() {
    if (m_commandLineOpened || m_arguments.isEmpty() || !m_commandLineOpen) return;
    m_commandLineOpened = true;
    m_context.commands.runAsCommand([this] { m_commandLineOpen(m_arguments); });
}

void Startup::placeWindow() {
    const QScreen* screen =
        m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->availableSize() : QSize(1024, 768);
    const PlacementDecision d =
        firstActivationPlacement(m_context.settings.placement, screenSize, m_designFlag);
    if (d.maximize)
        m_window.showMaximized();
    else if (!d.keepDesign)
        m_window.setGeometry(d.geometry);
}

void Startup::formclose() {
    Settings& settings = m_context.settings;
    settings.EditBKColor = storedColor(m_context.pane.palette().color(QPalette::Base));
    settings.placement = placementAtClose(m_window.isMaximized(), m_window.geometry());
    if (const Result<SettingsSaved> saved = settings_save(m_settingsPath, settings); !saved) {
        const QString& error = saved.error().text;
        tellTerminal(QStringLiteral("settings not saved to %1: %2").arg(m_settingsPath, error));
        // Said while the window still shows: the settings of this run are lost.
        m_context.reporter.refusal(settingsNotSavedMessage(m_settingsPath, error));
    }
    m_cat.stop();
    m_cat.releaseSheet();
}

} // namespace pote
