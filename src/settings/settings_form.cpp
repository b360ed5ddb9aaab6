#include "settings/settings_form.h"

#include "core/cp932.h"
#include "editing/tax.h"
#include "editing/unencodable_notice.h"
#include "settings/file_associations.h"

namespace pote {

QString taxRangeMessage() {
    return QStringLiteral("指定範囲は０～１００ですにゃ！");
}
QString tabWidthRangeMessage() {
    return QStringLiteral("指定範囲は１～１００ですにゃ！");
}
QString breakLineWidthRangeMessage() {
    return QStringLiteral("指定範囲は１～１２０ですにゃ！");
}

SettingsForm settingsForm(const Settings& s, AssociationStates associations) {
    SettingsForm form;
    form.associations = associations;
    form.singleClickMove = s.SclickMove;
    form.wrap = s.Wrap;
    form.tabWidth = QString::number(s.TABWidth);
    form.tax = QString::number(s.CTax);
    form.breakLineString = s.BreakLineString;
    form.breakLineWidth = QString::number(s.BreakLineWidth);
    form.mail = s.MailAdress;
    form.homePage = s.HomePage;
    form.fixedText = s.DefText1;
    form.backupDirs = s.BackupDir;
    form.backupCopyDir = s.BackupCopyDir;
    form.backupExt = s.BackupExt;
    form.backupFolderCopy = s.BackupFolderCopy;
    return form;
}

namespace {

struct NumberCheck {
    NumberField field;
    QString SettingsForm::*text;
    IntRange range;
    QString (*message)();
};

// The order in which the fields are checked.
const std::array<NumberCheck, 3> kNumberChecks = {{
    {NumberField::Tax, &SettingsForm::tax, kTaxRange, taxRangeMessage},
    {NumberField::TabWidth, &SettingsForm::tabWidth, kTabWidthRange, tabWidthRangeMessage},
    {NumberField::BreakLineWidth, &SettingsForm::breakLineWidth, kBreakLineWidthRange,
     breakLineWidthRangeMessage},
}};

int checked(const QString& text, IntRange range) {
    return check_number(text, int(range.min), int(range.max));
}

} // namespace

std::optional<NumberRefusal> checkNumbers(const SettingsForm& form) {
    for (const NumberCheck& c : kNumberChecks) {
        if (checked(form.*c.text, c.range) < 0) return NumberRefusal{c.field, c.message()};
    }
    return std::nullopt;
}

std::optional<TextRefusal> checkTexts(const SettingsForm& form) {
    const std::pair<TextField, const QString*> texts[] = {
        {TextField::BreakLineString, &form.breakLineString},
        {TextField::Mail, &form.mail},
        {TextField::HomePage, &form.homePage},
    };
    for (const auto& [field, text] : texts) {
        if (const QStringList lost = cp932::lostCharacters(*text); !lost.isEmpty())
            return TextRefusal{field, unencodableRefusal(lost)};
    }
    return std::nullopt;
}

QString currentNumberText(NumberField field, const Settings& settings) {
    switch (field) {
    case NumberField::Tax:
        return QString::number(settings.CTax);
    case NumberField::TabWidth:
        return QString::number(settings.TABWidth);
    case NumberField::BreakLineWidth:
        return QString::number(settings.BreakLineWidth);
    }
    return {};
}

AssociationStates applySettingsForm(const SettingsForm& form, Settings& s) {
    s.BackupExt = form.backupExt;
    s.BackupDir = form.backupDirs;
    s.BackupCopyDir = form.backupCopyDir;
    // Unchecked numbers keep their settings rather than becoming garbage.
    if (const int v = checked(form.breakLineWidth, kBreakLineWidthRange); v >= 0)
        s.BreakLineWidth = v;
    if (const int v = checked(form.tax, kTaxRange); v >= 0) s.CTax = v;
    if (const int v = checked(form.tabWidth, kTabWidthRange); v >= 0) s.TABWidth = v;
    s.BreakLineString = form.breakLineString.left(kBreakLineStringMaxLength);
    s.BackupFolderCopy = form.backupFolderCopy;
    s.SclickMove = form.singleClickMove;
    s.HomePage = form.homePage;
    s.MailAdress = form.mail;
    s.DefText1 = form.fixedText;
    s.Wrap = form.wrap;
    return form.associations;
}

QStringList changeAssociations(AssociationStates wanted, bool txtWhenFilled,
                               FileAssociations& associations) {
    QStringList errors;
    const auto note = [&errors](const Result<void>& changed) {
        if (!changed) errors << changed.error().text;
    };
    if (wanted.txt != txtWhenFilled)
        note(wanted.txt ? associations.takeTxt() : associations.restoreTxt());
    if (wanted.ptm != associations.ptmAssociated())
        note(wanted.ptm ? associations.associatePtm() : associations.removePtm());
    return errors;
}

const std::array<BackupExtPreset, 4>& backupExtPresets() {
    static const std::array<BackupExtPreset, 4> presets = {{
        {"Button1", QStringLiteral("ぽてまる対応ファイル"), QStringLiteral("ptm,txt,txm")},
        {"Button2", QStringLiteral("文書系"), QStringLiteral("ptm,txt,txm,doc,rtf,eml,htm,html")},
        {"Button4", QStringLiteral("画像系"), QStringLiteral("bmp,jpg,jpeg,png")},
        {"Button3", QStringLiteral("全部"), QStringLiteral("*")},
    }};
    return presets;
}

} // namespace pote
