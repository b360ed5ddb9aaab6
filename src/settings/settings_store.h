#pragma once
// The settings file: one INI file per user ($XDG_CONFIG_HOME/kumolab/potemaruED.conf), read
// once at start-up, written once at close, removed by the settings-clear command. Nothing here
// shows anything: the results say what happened and the window decides what to tell.

#include "core/result.h"
#include "settings/settings_values.h"

#include <QString>
#include <QStringList>

namespace pote {

// Where this user's settings live.
QString userSettingsPath();

struct LoadResult {
    // Values whose stored text was unusable (not a number, out of range, too long); each keeps
    // its default and every other value is read as usual.
    QStringList refused;
    // False when the file exists but could not be read, or only in part (malformed lines are
    // skipped); whatever could not be read keeps its default.
    bool readable = true;
};

// Reads the file at path into settings, which hold their defaults. No file is the first start:
// firstStart is set and nothing changes, not even the font. The obsolete value BackupSourceDir
// is removed from the file when found.
LoadResult settings_load(const QString& path, Settings& settings);

enum class SettingsSaved {
    Written,
    Skipped, // the settings were cleared in this run
};

// Writes every value (the recent list as ten empty values, so that it lasts one run), unless the
// settings were cleared in this run. The file is replaced whole or not at all: when it cannot be
// written (read-only folder, full disk) nothing changed, and the error names path.
Result<SettingsSaved> settings_save(const QString& path, const Settings& settings);

// Removes the settings file and sets settingsCleared, also when the file could not be removed:
// the user asked for the settings to go, so they are not written back at close.
Result<void> settings_clear(const QString& path, Settings& settings);

} // namespace pote
