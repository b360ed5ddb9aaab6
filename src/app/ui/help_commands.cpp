#include "app/ui/help_commands.h"

#include "app/ui/about_box.h"
#include "app/ui/app_context.h"
#include "app/ui/help_window.h"
#include "mascot/ui/mascot_view.h"

#include <QDesktopServices>
#include <QUrl>

namespace pote {

namespace {

const QString kHomePage = QStringLiteral("https://poteedit.example.org/");

} // namespace

HelpCommands::HelpCommands(AppContext& context, QString manualFolder, const mascot::MascotView& cat)
    : m_context(context), m_manualFolder(std::move(manualFolder)), m_cat(cat) {
    CommandRegistry& commands = context.commands;
    commands.registerCommand(Command::Manual, [this] { showManual(); });
    commands.registerCommand(Command::About, [this] { showAbout(); });
    commands.registerCommand(Command::HomePage, [] { QDesktopServices::openUrl(QUrl(kHomePage)); });
}

void HelpCommands::showManual() {
    if (!m_help) m_help = new HelpWindow(m_manualFolder, m_context.view.dialogParent());
    m_help->showContents();
}

void HelpCommands::showAbout() {
    AboutBox box(kHomePage, m_context.view.dialogParent());
    const QImage cat = m_cat.cellImage(1);
    if (!cat.isNull()) box.setPicture(QPixmap::fromImage(mascot::withTransparentBackground(cat)));
    m_context.view.runModal(box);
}

void HelpCommands::closeManual() {
    if (m_help) m_help->close();
}

} // namespace pote
