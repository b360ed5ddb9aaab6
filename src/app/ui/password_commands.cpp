#include "app/ui/password_commands.h"

#include "app/ui/app_context.h"
#include "app/ui/password_dialogs.h"
#include "core/cp932.h"
#include "core/section_store.h"

namespace pote {

PasswordCommands::PasswordCommands(AppContext& context)
    : m_context(context),
      m_readDialog(new Tread_pass_fm(context.prompter, context.view.dialogParent())) {
    context.commands.registerCommand(Command::PasswordSet, [this] { nx_pass_setClick(); });
    context.commands.registerCommand(Command::PasswordReset, [this] { nx_pass_resetClick(); });
}

void PasswordCommands::nx_pass_setClick() {
    Tpass_set_fm dialog(m_context.prompter, m_context.view.dialogParent());
    // The password reaches the file with the next write; it does not count as an edit.
    if (m_context.view.runModal(dialog) == QDialog::Accepted && !dialog.password().isEmpty())
        m_context.store.setPassword(cp932::encode(dialog.password()));
}

void PasswordCommands::nx_pass_resetClick() {
    m_context.store.clearPassword();
}

bool PasswordCommands::askForDocument(const QByteArray& candidate) {
    m_readDialog->prepare(candidate);
    m_context.view.runModal(*m_readDialog);
    return m_readDialog->accepted() && cp932::encode(m_readDialog->entered()) == candidate;
}

} // namespace pote
