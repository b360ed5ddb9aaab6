#include "app/ui/settings_commands.h"

#include "app/file_dialog_kinds.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/busy_cursor.h"
#include "app/ui/pane_look.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "editing/ui/edit_pane.h"
#include "settings/file_associations.h"
#include "settings/settings_messages.h"
#include "settings/settings_store.h"
#include "settings/ui/conf_fm.h"
#include "settings/ui/editor_font_qt.h"
#include "settings/ui/ffont_fm.h"
#include "settings/ui/japanese_font_dialog.h"
#include "vertical/ui/font_file.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>

namespace pote {

SettingsCommands::SettingsCommands(AppContext& context, const QString& settingsPath)
    : m_context(context), m_settingsPath(settingsPath) {
    context.commands.registerCommand(Command::Settings, [this] { nx_envClick(); });
    context.commands.registerCommand(Command::FontStandard, [this] { nx_cfontClick(); });
    context.commands.registerCommand(Command::FontFixed, [this] { nx_ffontClick(); });
    context.commands.registerCommand(Command::BackgroundColour, [this] { nx_cbkClick(); });
    context.commands.registerCommand(Command::SettingsClear, [this] { nx_reg_clearClick(); });
}

void SettingsCommands::relayoutPane() {
    applyPaneLook(m_context.pane, m_context.settings);
    // With wrap or font changed, the caret's line is another.
    m_context.view.status_update();
}

void SettingsCommands::nx_envClick() {
    Settings& settings = m_context.settings;
    const auto fixedTextDialog = [this] {
        return dialog_setup(DialogKind::FixedText, DialogDirection::Open,
                            m_context.settings.WorkDir, m_context.store.displayName, {});
    };
    const auto refuse = [this](const QString& message) { m_context.reporter.refusal(message); };
    Tconf_fm dialog({settings, m_context.prompter, m_context.associations, fixedTextDialog, refuse},
                    m_context.view.dialogParent());
    if (m_context.view.runModal(dialog) == QDialog::Accepted) {
        QStringList errors;
        {
            BusyCursor busy;
            errors = changeAssociations(dialog.wantedAssociations(), dialog.txtWhenFilled(),
                                        m_context.associations);
        }
        if (!errors.isEmpty()) m_context.reporter.refusal(errors.first());
    }
    relayoutPane();
}

void SettingsCommands::nx_cfontClick() {
    EditorFont& editing = m_context.settings.font;
    // The dialog lists installed faces: it opens on the one the pane really shows.
    QFont shown = m_context.pane.font();
    shown.setFamily(QFontInfo(shown).family());
    QFontDialog dialog(shown, m_context.view.dialogParent());
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    openOnJapaneseText(dialog);
    // Room for a longer list of faces than the toolkit's own size gives.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(640, 460)));
    // The font as the dialog's lists show it, which may lack a style of the stored font.
    const QFont opened = dialog.currentFont();
    if (m_context.view.runModal(dialog) == QDialog::Accepted && dialog.currentFont() != opened) {
        const QFont chosen = dialog.currentFont();
        const EditorFont stored = editing;
        editing = editorFontFrom(chosen, editing);
        keepStylesTheFaceLacks(editing, stored, chosen.family());
        // Another face was not chosen: the name in the settings stays, whatever stands in
        // for it on this machine.
        if (chosen.family() == shown.family()) editing.face = stored.face;
    }
    relayoutPane();
}

void SettingsCommands::nx_ffontClick() {
    Tffont_fm dialog(m_context.settings.font, m_context.pane.palette().color(QPalette::Base),
                     vertical::japaneseFixedPitchFaces(), m_context.view.dialogParent());
    m_context.view.runModal(dialog);
    relayoutPane();
}

void SettingsCommands::nx_cbkClick() {
    Settings& settings = m_context.settings;
    QColorDialog dialog(colorOf(settings.EditBKColor), m_context.view.dialogParent());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (m_context.view.runModal(dialog) != QDialog::Accepted) return;
    settings.EditBKColor = storedColor(dialog.currentColor());
    relayoutPane();
}

void SettingsCommands::nx_reg_clearClick() {
    if (m_context.prompter.message(MessageKind::Confirmation, Answer::Yes | Answer::No,
                                   settingsClearQuestion()) != Answer::Yes)
        return;
    if (const Result<void> cleared = settings_clear(m_settingsPath, m_context.settings); !cleared)
        m_context.reporter.report(cleared.error());
    FileAssociations& associations = m_context.associations;
    const Result<void> ptm = associations.removePtm();
    const Result<void> txt = associations.txtIsOurs() ? associations.restoreTxt() : Result<void>();
    if (!ptm)
        m_context.reporter.report(ptm.error());
    else if (!txt)
        m_context.reporter.report(txt.error());
}

} // namespace pote
