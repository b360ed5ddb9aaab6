#pragma once
// The settings dialog's contents without its window: the controls' values filled from the
// settings, the three number checks in their order, and the apply step with the association
// changes it leads to.

#include "settings/settings_values.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace pote {

class FileAssociations;

// Whether .ptm and .txt files open with this program.
struct AssociationStates {
    bool ptm = false;
    bool txt = false;
    bool operator==(const AssociationStates&) const = default;
};

// What the dialog's controls hold; the numbers as typed, unchecked.
struct SettingsForm {
    // "全般"
    AssociationStates associations; // cb_ext, cb_text_ext
    bool singleClickMove = false;   // cb_sclick_mode
    bool wrap = false;              // cb_wrap
    QString tabWidth;               // tab_ed
    QString tax;                    // ctax_ed
    // "挿入"
    QString breakLineString; // break_line_str_ed
    QString breakLineWidth;  // break_line_width_ed
    QString mail;            // ins_mail_ed
    QString homePage;        // ins_hp_ed
    QString fixedText;       // def_text1_ed
    // "バックアップ"
    std::array<QString, 5> backupDirs; // backup1_ed ... backup5_ed
    QString backupCopyDir;             // backup_copy_dir_ed
    QString backupExt;                 // backup_ext_ed
    bool backupFolderCopy = true;      // cb_folder_copy

    bool operator==(const SettingsForm&) const = default;
};

// Every control as the settings and the desktop have it now.
SettingsForm settingsForm(const Settings& settings, AssociationStates associations);

enum class NumberField { Tax, TabWidth, BreakLineWidth };

struct NumberRefusal {
    NumberField field;
    QString message; // shown as an error box with OK and Cancel
};

// The first number out of its range, in the order tax, tab width, separator width: only one
// message however many are wrong.
std::optional<NumberRefusal> checkNumbers(const SettingsForm& form);

enum class TextField { BreakLineString, Mail, HomePage };

struct TextRefusal {
    TextField field;
    QString message; // names the characters
};

// The first of the texts the inserts put into the pane (separator, mail address, home page)
// holding characters CP932 cannot hold, which would arrive there as "?". The fixed-text file's
// path is a file name, opened as it is, and never goes into the text.
std::optional<TextRefusal> checkTexts(const SettingsForm& form);

// The text a refused field gets back: its current setting.
QString currentNumberText(NumberField field, const Settings& settings);

// Takes a checked form into the settings (the numbers must have passed checkNumbers); returns
// the association states it asks for.
AssociationStates applySettingsForm(const SettingsForm& form, Settings& settings);

// Makes the desktop follow the wanted states: .txt only when it differs from the state read
// when the dialog filled its controls, then .ptm only when it differs from the state now.
// Returns the error text of every change that failed.
QStringList changeAssociations(AssociationStates wanted, bool txtWhenFilled,
                               FileAssociations& associations);

// The extension lists the backup page offers with one click, in the order of their buttons.
struct BackupExtPreset {
    const char* button; // object name
    QString caption;
    QString extensions;
};
const std::array<BackupExtPreset, 4>& backupExtPresets();

// The three range messages.
QString taxRangeMessage();
QString tabWidthRangeMessage();
QString breakLineWidthRangeMessage();

} // namespace pote
