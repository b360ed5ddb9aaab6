#pragma once
// The Settings menu: clearing the stored settings and the associations.

#include <QString>

namespace pote {

struct AppContext;

class SettingsCommands {
public:
    // settingsPath: the file the settings are read from and written to.
    SettingsCommands(AppContext& context, const QString& settingsPath);

    void nx_reg_clearClick();

private:
    AppContext& m_context;
    const QString& m_settingsPath;
};

} // namespace pote
