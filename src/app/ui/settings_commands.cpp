#include "app/ui/settings_commands.h"

#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "core/prompter.h"
#include "settings/file_associations.h"
#include "settings/settings_messages.h"
#include "settings/settings_store.h"

namespace pote {

SettingsCommands::SettingsCommands(AppContext& context, const QString& settingsPath)
    : m_context(context), m_settingsPath(settingsPath) {
    context.commands.registerCommand(Command::SettingsClear, [this] { nx_reg_clearClick(); });
}

void SettingsCommands::nx_reg_clearClick() {
    if (m_context.prompter.message(MessageKind::Confirmation, Answer::Yes | Answer::No,
                                   settingsClearQuestion()) != Answer::Yes)
        return;
    const ClearResult cleared = settings_clear(m_settingsPath, m_context.settings);
    if (!cleared.ok)
        m_context.reporter.fileError(m_settingsPath, cleared.error);
    FileAssociations& associations = m_context.associations;
    const QString ptmError = associations.removePtm();
    const QString txtError = associations.txtIsOurs() ? associations.restoreTxt() : QString();
    if (const QString error = ptmError.isEmpty() ? txtError : ptmError; !error.isEmpty())
        m_context.reporter.refusal(error);
}

} // namespace pote
