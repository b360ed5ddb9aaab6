#include "app/ui/password_commands.h"

#include "app/ui/document_host.h"
#include "app/ui/password_dialogs.h"
#include "core/cp932.h"
#include "core/section_store.h"

namespace pote {

PasswordCommands::PasswordCommands(DocumentHost& host)
    : m_host(host), m_readDialog(new Tread_pass_fm(host.prompter(), host.window())) {
    host.registerCommand(Command::PasswordSet, [this] { nx_pass_setClick(); });
    host.registerCommand(Command::PasswordReset, [this] { nx_pass_resetClick(); });
}

void PasswordCommands::nx_pass_setClick() {
    Tpass_set_fm dialog(m_host.prompter(), m_host.window());
    if (m_host.runModal(dialog) == QDialog::Accepted && !dialog.password().isEmpty()) {
        SectionStore& store = m_host.store();
        // The flag reaches the file with the next write; it does not count as an edit.
        store.password = cp932::encode(dialog.password());
        store.hasPassword = true;
    }
    m_host.password_indicator_refresh();
    m_host.tool_state_refresh();
}

void PasswordCommands::nx_pass_resetClick() {
    SectionStore& store = m_host.store();
    store.hasPassword = false;
    store.password.clear();
    m_host.password_indicator_refresh();
    m_host.tool_state_refresh();
}

bool PasswordCommands::askForDocument(const QByteArray& candidate) {
    m_readDialog->prepare(candidate);
    m_host.runModal(*m_readDialog);
    return m_readDialog->accepted() && cp932::encode(m_readDialog->entered()) == candidate;
}

} // namespace pote
