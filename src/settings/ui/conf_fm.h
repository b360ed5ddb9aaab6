#pragma once
// The settings dialog `Tconf_fm` ("設定"): three pages of settings, applied all at once by
// "設定(&V)" after the three numbers have been checked; "キャンセル(&C)" applies nothing. The
// caller then changes the file associations the dialog asks for and lays the pane out again.

#include "settings/settings_form.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace pote {

class FileAssociations;
class Prompter;
class UpDown;
struct FileDialogRequest;

class Tconf_fm : public QDialog {
    Q_OBJECT
public:
    struct Services {
        Settings& settings;
        Prompter& prompter;
        FileAssociations& associations;
        // The open dialog prepared for choosing the fixed-text file.
        std::function<FileDialogRequest()> fixedTextDialog;
        // Tells the user why what was typed cannot be taken; the whole text of the message.
        std::function<void(const QString&)> refuse;
    };
    Tconf_fm(Services services, QWidget* parent);

    // Handlers, public so that the window's tests can drive them as the controls do.
    // Every control from the settings and the desktop's associations, the working copies too:
    // when the dialog opens, after a range message and after the destination folder chooser.
    void act();
    void tab_envShow();
    void tab_insShow();
    void conf_deftext1_btClick();
    void fs_btClick(int number); // fs1_bt ... fs5_bt
    void back_fs2_btClick();
    void presetClick(int preset); // Button1, Button2, Button4, Button3: backupExtPresets()
    void set_btClick();
    void end_btClick();

    // What the controls hold now.
    SettingsForm form() const;
    // After "設定(&V)": the association states asked for, and the .txt state the controls were
    // last filled with (the .txt association changes only when the two differ).
    AssociationStates wantedAssociations() const { return m_wanted; }
    bool txtWhenFilled() const { return m_txtWhenFilled; }

    QTabWidget* tab = nullptr;
    QWidget* tab_env = nullptr;
    QWidget* tab_ins = nullptr;
    QWidget* tab_backup = nullptr;
    QPushButton* set_bt = nullptr;
    QPushButton* end_bt = nullptr;
    // "全般"
    QCheckBox* cb_ext = nullptr;
    QCheckBox* cb_text_ext = nullptr;
    QCheckBox* cb_sclick_mode = nullptr;
    QCheckBox* cb_wrap = nullptr;
    QLineEdit* tab_ed = nullptr;
    UpDown* tab_ud = nullptr;
    QLineEdit* ctax_ed = nullptr;
    UpDown* ctax_ud = nullptr;
    // "挿入"
    QLineEdit* break_line_str_ed = nullptr;
    QLineEdit* break_line_width_ed = nullptr;
    UpDown* break_line_width_ud = nullptr;
    QLineEdit* ins_mail_ed = nullptr;
    QLineEdit* ins_hp_ed = nullptr;
    QLineEdit* def_text1_ed = nullptr;
    QPushButton* conf_deftext1_bt = nullptr;
    // "バックアップ"
    std::array<QLineEdit*, 5> backup_ed{};
    std::array<QPushButton*, 5> fs_bt{};
    QLineEdit* backup_copy_dir_ed = nullptr;
    QPushButton* back_fs2_bt = nullptr;
    QLineEdit* backup_ext_ed = nullptr;
    std::array<QPushButton*, 4> preset_bt{};
    QCheckBox* cb_folder_copy = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildGeneralPage();
    void buildInsertPage();
    void buildBackupPage();
    void showForm(const SettingsForm& form);
    UpDown* upDownOf(NumberField field) const;
    QLineEdit* editOf(TextField field) const;

    Services m_services;
    // Kept from the last fill; the pages put them back when they are shown.
    struct WorkingCopies {
        int tax = 0;
        int tabWidth = 0;
        int breakLineWidth = 0;
        QString breakLineString;
    } m_copies;
    bool m_txtWhenFilled = false;
    AssociationStates m_wanted;
};

} // namespace pote
