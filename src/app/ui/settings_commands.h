#pragma once
// The Settings menu: the settings dialog, the two font dialogs, the background colour, and
// clearing the stored settings and the associations.

#include <QString>

namespace pote {

struct AppContext;

class SettingsCommands {
public:
    // settingsPath: the file the settings are read from and written to.
    SettingsCommands(AppContext& context, const QString& settingsPath);

    void nx_envClick();
    void nx_cfontClick();
    void nx_ffontClick();
    void nx_cbkClick();
    void nx_reg_clearClick();

private:
    // The pane shows the settings as they are now.
    void relayoutPane();

    AppContext& m_context;
    const QString& m_settingsPath;
};

} // namespace pote
