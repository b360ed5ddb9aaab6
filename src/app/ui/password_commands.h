#pragma once
// The Password menu and the password entry when a protected document is read.

#include <QByteArray>

namespace pote {

struct AppContext;
class Tread_pass_fm;

class PasswordCommands {
public:
    // Creates the entry dialog, which lives as long as the window (its edit keeps the last
    // text typed), and registers the menu's commands.
    explicit PasswordCommands(AppContext& context);

    void nx_pass_setClick();
    void nx_pass_resetClick();
    // Shows the entry dialog for a file whose stored password is candidate; true when the user
    // confirmed exactly that password.
    bool askForDocument(const QByteArray& candidate);

    Tread_pass_fm* read_pass_fm() const { return m_readDialog; }

private:
    AppContext& m_context;
    Tread_pass_fm* m_readDialog;
};

} // namespace pote
