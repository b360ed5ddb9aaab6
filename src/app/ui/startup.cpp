#include "app/ui/startup.h"

#include "app/ui/app_context.h"
#include "app/ui/section_binding.h"
#include "settings/window_placement.h"
#include "core/section_store.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "mascot/sprite_sheet.h"
#include "mascot/ui/mascot_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QWidget>

namespace pote {

namespace {

QFont paneDesignFont() {
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(16);
    return font;
}

} // namespace

Startup::Startup(AppContext& context, QWidget& window, mascot::MascotView& cat,
                 QStringList arguments)
    : m_context(context), m_window(window), m_cat(cat), m_arguments(std::move(arguments)),
      m_programFolder(QCoreApplication::applicationDirPath()) {
    m_designFlag = !m_arguments.isEmpty() && m_arguments.first() == QStringLiteral("/d");
    m_context.values.workFolder = QDir::currentPath();
}

void Startup::FormCreate() {
    // Without a usable sheet the program runs without the cat; a cushion keeps its place.
    if (!m_cat.loadSheet(mascot::sheetPathIn(m_programFolder)))
        m_cat.setPlaceholder(
            QIcon(QStringLiteral(":/icons/mascot_placeholder.svg")).pixmap(48, 48).toImage());
    m_cat.mascot_draw(1);

    m_context.pane.setFont(paneDesignFont());
    SectionBinding& binding = m_context.binding;
    binding.section_commit(0);
    binding.section_load(0);
    m_context.store.setModified(false);
    binding.secno_refresh();
    m_context.undo.clear();
    m_cat.start();
}

void Startup::form_active() {
    if (!m_firstActivation)
        return;
    m_firstActivation = false;
    placeWindow();
}

void Startup::placeWindow() {
    // Stored placement arrives with the settings; until then the first-start values apply.
    const SavedPlacement saved;
    const QScreen* screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->availableSize() : QSize(1024, 768);
    const PlacementDecision d = firstActivationPlacement(saved, screenSize, m_designFlag);
    if (d.maximize)
        m_window.showMaximized();
    else if (!d.keepDesign)
        m_window.setGeometry(d.geometry);
}

void Startup::formclose() {
    m_cat.stop();
    m_cat.releaseSheet();
}

} // namespace pote
