#include "settings/settings_form.h"

#include "settings/file_associations.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

struct NumberRow {
    const char* name;
    QString tax;
    QString tabWidth;
    QString breakLineWidth;
    std::optional<NumberField> refused;
};

class CheckNumbers : public testing::TestWithParam<NumberRow> {};

TEST_P(CheckNumbers, RefusesTheFirstFieldOutOfRange) {
    SettingsForm form = settingsForm(Settings{}, {});
    form.tax = GetParam().tax;
    form.tabWidth = GetParam().tabWidth;
    form.breakLineWidth = GetParam().breakLineWidth;
    const std::optional<NumberRefusal> refusal = checkNumbers(form);
    ASSERT_EQ(refusal.has_value(), GetParam().refused.has_value());
    if (!refusal) return;
    EXPECT_EQ(refusal->field, *GetParam().refused);
    const QString expected = *GetParam().refused == NumberField::Tax
                                 ? QStringLiteral("指定範囲は０～１００ですにゃ！")
                             : *GetParam().refused == NumberField::TabWidth
                                 ? QStringLiteral("指定範囲は１～１００ですにゃ！")
                                 : QStringLiteral("指定範囲は１～１２０ですにゃ！");
    EXPECT_EQ(refusal->message, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckNumbers,
    testing::Values(NumberRow{"AllAtTheirUpperBounds", "100", "100", "120", std::nullopt},
                    NumberRow{"AllAtTheirLowerBounds", "0", "1", "1", std::nullopt},
                    NumberRow{"LeadingZeros", "005", "08", "060", std::nullopt},
                    NumberRow{"Tax101", "101", "8", "60", NumberField::Tax},
                    NumberRow{"EmptyTabWidth", "5", "", "60", NumberField::TabWidth},
                    NumberRow{"FullWidthTabWidth", "5", QStringLiteral("８"), "60",
                              NumberField::TabWidth},
                    NumberRow{"TabWidthZero", "5", "0", "60", NumberField::TabWidth},
                    NumberRow{"SignedTabWidth", "5", "+8", "60", NumberField::TabWidth},
                    NumberRow{"SpaceAfterTabWidth", "5", "8 ", "60", NumberField::TabWidth},
                    NumberRow{"TaxAndTabWidthBothWrongOnlyTax", "-1", "", "60", NumberField::Tax},
                    NumberRow{"BreakLineWidth121", "5", "8", "121", NumberField::BreakLineWidth},
                    NumberRow{"HugeBreakLineWidth", "5", "8", "99999999999999999999",
                              NumberField::BreakLineWidth}),
    [](const testing::TestParamInfo<NumberRow>& row) { return row.param.name; });

TEST(SettingsForm, ApplyingAFilledFormChangesNothingAndAnEditedOneReachesEverySetting) {
    Settings before = Settings::defaults(QStringLiteral("/作業"));
    before.font.face = QStringLiteral("IPAMincho");
    before.DefText1 = QStringLiteral("/定形/挨拶.txt");
    Settings after = before;
    EXPECT_EQ(applySettingsForm(settingsForm(before, {true, false}), after),
              (AssociationStates{true, false}));
    EXPECT_EQ(after, before);

    SettingsForm form = settingsForm(before, {});
    form.associations = {false, true};
    form.singleClickMove = form.wrap = true;
    form.tabWidth = QStringLiteral("4");
    form.tax = QStringLiteral("10");
    form.breakLineString = QStringLiteral("＝・");
    form.breakLineWidth = QStringLiteral("120");
    form.mail = QStringLiteral("neko@example.org");
    form.homePage = QStringLiteral("https://example.org/");
    form.backupDirs[4] = QStringLiteral("/原稿");
    form.backupCopyDir = QStringLiteral("/控え");
    form.backupExt = QStringLiteral("*");
    form.backupFolderCopy = false;
    EXPECT_EQ(applySettingsForm(form, after), (AssociationStates{false, true}));
    EXPECT_EQ(settingsForm(after, form.associations), form);
    EXPECT_EQ(after.TABWidth, 4);
    EXPECT_EQ(after.CTax, 10);
    EXPECT_EQ(after.BreakLineWidth, 120);
    EXPECT_EQ(after.WorkDir, before.WorkDir) << "what the form does not show stays";
    EXPECT_EQ(after.font, before.font);
}

TEST(SettingsForm, ARefusedFieldGetsItsCurrentSettingBack) {
    Settings s;
    s.CTax = 8;
    s.TABWidth = 3;
    s.BreakLineWidth = 72;
    EXPECT_EQ(currentNumberText(NumberField::Tax, s), QStringLiteral("8"));
    EXPECT_EQ(currentNumberText(NumberField::TabWidth, s), QStringLiteral("3"));
    EXPECT_EQ(currentNumberText(NumberField::BreakLineWidth, s), QStringLiteral("72"));
}

class RecordingAssociations : public FileAssociations {
public:
    bool ptm = false;
    QStringList calls;
    QString failure;
    bool ptmAssociated() override { return ptm; }
    Result<void> associatePtm() override { return record("associatePtm"); }
    Result<void> removePtm() override { return record("removePtm"); }
    bool txtIsOurs() override { return false; }
    Result<void> takeTxt() override { return record("takeTxt"); }
    Result<void> restoreTxt() override { return record("restoreTxt"); }

private:
    Result<void> record(const char* call) {
        calls << QString::fromLatin1(call);
        if (failure.isEmpty()) return {};
        return Error::refused(failure);
    }
};

TEST(ChangeAssociations, OnlyTheBoxesThatChangedTouchTheDesktop) {
    RecordingAssociations desktop;
    EXPECT_TRUE(changeAssociations({false, false}, false, desktop).isEmpty());
    EXPECT_TRUE(desktop.calls.isEmpty()) << "unchanged boxes";

    desktop.ptm = true;
    changeAssociations({true, true}, true, desktop);
    EXPECT_TRUE(desktop.calls.isEmpty()) << "the .ptm state is read again, not remembered";

    changeAssociations({false, true}, false, desktop);
    EXPECT_EQ(desktop.calls, (QStringList{"takeTxt", "removePtm"})) << ".txt goes first";

    desktop.calls.clear();
    desktop.ptm = false;
    desktop.failure = QStringLiteral("書き込めない");
    EXPECT_EQ(changeAssociations({true, false}, true, desktop),
              (QStringList{desktop.failure, desktop.failure}));
    EXPECT_EQ(desktop.calls, (QStringList{"restoreTxt", "associatePtm"}))
        << "a failed change does not stop the next";
}

} // namespace
} // namespace pote
