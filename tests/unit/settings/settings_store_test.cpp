#include "settings/settings_store.h"

#include "support/result_check.h"

#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace pote {
namespace {

// Every value the program writes, and nothing else.
const QStringList kWrittenNames = [] {
    QStringList names{"FontSize",
                      "FontHeight",
                      "FontCharSet",
                      "FontColor",
                      "FontName",
                      "RoomPIC",
                      "ExtOldApp",
                      "EditBKColor",
                      "CTax",
                      "TABWidth",
                      "BreakLineString",
                      "BreakLineWidth",
                      "WorkDir",
                      "DefText1",
                      "DefText2",
                      "MailAdress",
                      "HomePage",
                      "BackupCopyDir",
                      "BackupExt",
                      "BackupFolderCopy",
                      "WindowMax",
                      "Wrap",
                      "SclickMove",
                      "FontStyleUnder",
                      "FontStyleStrike",
                      "FontStyleBold",
                      "FontStyleItalic",
                      "FormTop",
                      "FormLeft",
                      "FormWidth",
                      "FormHeight",
                      "VerticalFormat",
                      "VerticalFont",
                      "VerticalSectionName",
                      "VerticalIndent",
                      "VerticalAllSections",
                      "VerticalZoom",
                      "RevisionOff",
                      "RevisionLength",
                      "RevisionIgnored",
                      "EpubAuthor",
                      "EpubAuthorSort",
                      "EpubHorizontal",
                      "EpubBooks/size",
                      "EpubBooks/1/Path",
                      "EpubBooks/1/Identifier",
                      "EpubBooks/2/Path",
                      "EpubBooks/2/Identifier"};
    for (int i = 1; i <= 5; ++i)
        names << QStringLiteral("BackupDir%1").arg(i);
    for (int i = 1; i <= 10; ++i)
        names << QStringLiteral("RecentFile%1").arg(i);
    names.sort();
    return names;
}();

// Settings unlike the defaults in every value.
Settings everythingChanged() {
    Settings s = Settings::defaults(QStringLiteral("/start"));
    s.EditBKColor = 0x123456;
    s.placement = {true, 12, 34, 800, 600};
    s.SclickMove = true;
    s.font.face = QStringLiteral("ＭＳ 明朝");
    s.font.setSize(18);
    s.font.charSet = 1;
    s.font.color = 0x0000FF;
    s.font.bold = s.font.italic = s.font.underline = s.font.strikeOut = true;
    s.CTax = 10;
    s.TABWidth = 4;
    s.BreakLineWidth = 120;
    s.BreakLineString = QStringLiteral("@＝・"); // a leading @ is special to the file format
    s.ExtOldApp = QStringLiteral("gedit %1");
    s.WorkDir = QStringLiteral("/home/猫/原稿");
    s.DefText1 = QStringLiteral("/home/猫/定型文.txt");
    s.DefText2 = QStringLiteral("/home/猫/二つ目.txt");
    s.RoomPIC = QStringLiteral("/home/猫/部屋.jpg");
    s.MailAdress = QStringLiteral("neko@example.org");
    s.HomePage = QStringLiteral("https://example.org/neko");
    s.BackupFolderCopy = false;
    s.Wrap = true;
    for (int i = 0; i < 5; ++i)
        s.BackupDir[i] = QStringLiteral("/src/フォルダ%1").arg(i + 1);
    s.BackupCopyDir = QStringLiteral("/backup");
    s.BackupExt = QStringLiteral("*");
    s.vertical = {QStringLiteral("12x34"), QStringLiteral("IPAゴシック"), true, true, false, 250};
    s.revision.off = QStringList{QStringLiteral("endings"), QStringLiteral("ra")};
    s.revision.length = 80;
    // Keys hold tabs, quotes, commas and kana; paths hold = and ;, which INI files treat apart.
    s.revision.ignored.insert(
        QStringLiteral("/home/猫/原稿=1;.ptm"),
        {QStringLiteral("variants\t子ども"), QStringLiteral("long\t\"a,b\"…")});
    s.epub = {QStringLiteral("ぽてまる"),
              QStringLiteral("ぽてまる"),
              true,
              {{QStringLiteral("/本/窓辺の猫.ptm"), QStringLiteral("urn:uuid:1")},
               {QStringLiteral("/本/a=b;c,d.ptm"), QStringLiteral("urn:isbn:978-4-00-000000-0")}}};
    return s;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("kumolab/potemaruED.conf")); }

    // A file as a user or an older version might have written it.
    void writeFile(const QByteArray& lines) {
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("kumolab"))));
        test::writeAll(path(), lines);
    }

    Settings loaded(LoadResult* result = nullptr) {
        Settings s = Settings::defaults(QStringLiteral("/start"));
        const LoadResult r = settings_load(path(), s);
        if (result) *result = r;
        return s;
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsStoreTest, NoFileIsTheFirstStartAndChangesNothing) {
    LoadResult result;
    const Settings s = loaded(&result);
    Settings expected = Settings::defaults(QStringLiteral("/start"));
    expected.firstStart = true;
    EXPECT_EQ(s, expected);
    EXPECT_EQ(s.font, EditorFont{}) << "the pane's design font";
    EXPECT_TRUE(result.refused.isEmpty());
    EXPECT_FALSE(QFile::exists(path())) << "reading creates nothing";
}

TEST_F(SettingsStoreTest, EveryValueReadsBackAsWritten) {
    Settings saved = everythingChanged();
    saved.recent.entries[0] = QStringLiteral("/a.ptm");
    ASSERT_EQ(test::valueOf(settings_save(path(), saved)), SettingsSaved::Written);

    LoadResult result;
    const Settings back = loaded(&result);
    Settings expected = everythingChanged(); // the recent list does not outlive the run
    EXPECT_EQ(back, expected);
    EXPECT_FALSE(back.firstStart);
    EXPECT_TRUE(result.refused.isEmpty()) << result.refused.join(' ').toStdString();
    EXPECT_TRUE(result.readable);

    QSettings raw(path(), QSettings::IniFormat);
    QStringList keys = raw.allKeys();
    keys.sort();
    EXPECT_EQ(keys, kWrittenNames) << "FontStyle is never written";
    // Flags are the numbers 0 and 1, colours 0x00BBGGRR numbers.
    EXPECT_EQ(raw.value("WindowMax").toString(), QStringLiteral("1"));
    EXPECT_EQ(raw.value("BackupFolderCopy").toString(), QStringLiteral("0"));
    EXPECT_EQ(raw.value("EditBKColor").toString(), QString::number(0x123456));
    EXPECT_EQ(raw.value("FontSize").toString(), QStringLiteral("18"));
    EXPECT_EQ(raw.value("FontHeight").toString(), QStringLiteral("-24"));
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(raw.value(QStringLiteral("RecentFile%1").arg(i)), QVariant(QString())) << i;
}

TEST_F(SettingsStoreTest, DefaultsSurviveARoundTrip) {
    // A first start's close writes the defaults; the next start must read back the same.
    const Settings defaults = Settings::defaults(QStringLiteral("/start"));
    ASSERT_EQ(test::valueOf(settings_save(path(), defaults)), SettingsSaved::Written);
    EXPECT_EQ(loaded(), defaults);
    EXPECT_EQ(loaded().BackupExt, QStringLiteral("ptm,txt,txm"));
    EXPECT_TRUE(loaded().BackupFolderCopy);
}

TEST_F(SettingsStoreTest, ObsoleteBackupSourceDirIsRemovedAndTheRestKept) {
    writeFile("[General]\nBackupSourceDir=/old\nTABWidth=4\nFontStyle=3\n");
    EXPECT_EQ(loaded().TABWidth, 4);
    const QByteArray after = test::readAll(path());
    EXPECT_FALSE(after.contains("BackupSourceDir")) << after.constData();
    EXPECT_TRUE(after.contains("TABWidth=4"));
    EXPECT_TRUE(after.contains("FontStyle=3")) << "read and ignored, left alone";
}

TEST_F(SettingsStoreTest, ClearThenCloseLeavesNoFileAndTheNextStartIsAFirstStart) {
    Settings s = everythingChanged();
    ASSERT_EQ(test::valueOf(settings_save(path(), s)), SettingsSaved::Written);
    const Result<void> cleared = settings_clear(path(), s);
    EXPECT_TRUE(cleared.ok()) << test::errorText(cleared);
    EXPECT_TRUE(s.settingsCleared);
    EXPECT_EQ(s.CTax, 10) << "the values stay in effect for the rest of the run";
    EXPECT_EQ(test::valueOf(settings_save(path(), s)), SettingsSaved::Skipped);
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(loaded().firstStart);

    Settings never = Settings::defaults({});
    EXPECT_TRUE(settings_clear(path(), never).ok()) << "no file to remove is no failure";
}

TEST_F(SettingsStoreTest, UnwritableFileFailsWithoutThrowingAndWithoutAFile) {
    // A regular file where the folder should be: no user, not even root, can write below it.
    test::writeAll(m_dir.filePath(QStringLiteral("kumolab")), "not a folder");
    const Result<SettingsSaved> result = settings_save(path(), everythingChanged());
    ASSERT_EQ(test::failureOf(result), Error::Kind::Io);
    EXPECT_FALSE(result.error().text.isEmpty());
    EXPECT_EQ(test::readAll(m_dir.filePath(QStringLiteral("kumolab"))), "not a folder");
}

struct BadValue {
    const char* name;
    QByteArray line;
    const char* refused; // the value name reported
};

class SettingsGarbage : public SettingsStoreTest, public testing::WithParamInterface<BadValue> {};

// Each bad value keeps its default, and a good value written after it still counts.
TEST_P(SettingsGarbage, KeepsTheDefaultOfThatValueOnly) {
    writeFile("[General]\n" + GetParam().line + "\nMailAdress=neko@example.org\n");
    LoadResult result;
    const Settings s = loaded(&result);
    Settings expected = Settings::defaults(QStringLiteral("/start"));
    expected.MailAdress = QStringLiteral("neko@example.org");
    EXPECT_EQ(s, expected);
    EXPECT_EQ(result.refused, QStringList{QString::fromLatin1(GetParam().refused)});
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsGarbage,
    testing::Values(BadValue{"TaxAboveRange", "CTax=999", "CTax"},
                    BadValue{"TaxText", "CTax=five", "CTax"},
                    BadValue{"TabZero", "TABWidth=0", "TABWidth"},
                    BadValue{"TabNegative", "TABWidth=-5", "TABWidth"},
                    BadValue{"TabHuge", "TABWidth=100000", "TABWidth"},
                    BadValue{"TabBeyond64Bits", "TABWidth=99999999999999999999999", "TABWidth"},
                    BadValue{"TabList", "TABWidth=4,8", "TABWidth"},
                    BadValue{"BreakWidthZero", "BreakLineWidth=0", "BreakLineWidth"},
                    BadValue{"BreakStringTooLong", "BreakLineString=" + QByteArray(300, '='),
                             "BreakLineString"},
                    BadValue{"BackgroundAboveColours", "EditBKColor=16777216", "EditBKColor"},
                    BadValue{"WindowHuge", "FormWidth=1000000000", "FormWidth"},
                    BadValue{"TopNegative", "FormTop=-20", "FormTop"},
                    BadValue{"FlagText", "Wrap=yes", "Wrap"},
                    BadValue{"FontSizeHuge", "FontSize=1000000", "FontSize"},
                    BadValue{"CharSetAbove", "FontCharSet=256", "FontCharSet"},
                    BadValue{"FontColourAbove", "FontColor=4294967295", "FontColor"},
                    BadValue{"NotAText", "WorkDir=@Rect(1 2 3 4)", "WorkDir"},
                    BadValue{"VerticalZoomTiny", "VerticalZoom=5", "VerticalZoom"}),
    [](const testing::TestParamInfo<BadValue>& row) { return row.param.name; });

TEST_F(SettingsStoreTest, HandWrittenFormsThatMeanSomethingAreTaken) {
    writeFile("[General]\n"
              "BackupExt=ptm,txt,txm,doc\n" // unquoted commas
              "Wrap=true\nSclickMove=2\n"   // any non-zero number is true
              "BackupFolderCopy=FALSE\n"
              "CTax= 8 \n"
              "BreakLineString=\n" // the dialog accepts an empty pattern
              "FontName=\n");      // an empty face keeps the design face
    LoadResult result;
    const Settings s = loaded(&result);
    EXPECT_EQ(s.BackupExt, QStringLiteral("ptm,txt,txm,doc"));
    EXPECT_TRUE(s.Wrap);
    EXPECT_TRUE(s.SclickMove);
    EXPECT_FALSE(s.BackupFolderCopy);
    EXPECT_EQ(s.CTax, 8);
    EXPECT_EQ(s.BreakLineString, QString());
    EXPECT_EQ(s.font.face, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_TRUE(result.refused.isEmpty()) << result.refused.join(' ').toStdString();
}

TEST_F(SettingsStoreTest, ABinaryGarbageFileIsNotAFirstStartAndBreaksNothing) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 131 + 7) & 0xFF));
    writeFile(junk + "\n[General]\nTABWidth=3\n");
    const Settings s = loaded();
    EXPECT_FALSE(s.firstStart) << "the association question is not asked again";
    EXPECT_EQ(s.TABWidth, 3) << "a readable line after the garbage still counts";
    EXPECT_EQ(test::valueOf(settings_save(path(), s)), SettingsSaved::Written);
    EXPECT_EQ(loaded(), s);
}

TEST_F(SettingsStoreTest, AFolderInPlaceOfTheFileIsUnreadableNotAFirstStart) {
    ASSERT_TRUE(QDir().mkpath(path()));
    LoadResult result;
    const Settings s = loaded(&result);
    EXPECT_FALSE(result.readable);
    EXPECT_FALSE(s.firstStart);
    EXPECT_EQ(test::failureOf(settings_save(path(), s)), Error::Kind::Io);
}

TEST_F(SettingsStoreTest, FontIsBuiltFromWhatTheFileHolds) {
    // Size after height: the stored size wins.
    writeFile("[General]\nFontName=ＭＳ 明朝\nFontHeight=-40\nFontSize=9\nFontColor=255\n"
              "FontStyleBold=1\nFontCharSet=0\n");
    EditorFont font = loaded().font;
    EXPECT_EQ(font.face, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(font.size, 9);
    EXPECT_EQ(font.height, -12);
    EXPECT_EQ(font.color, 255u);
    EXPECT_EQ(font.charSet, 0);
    EXPECT_TRUE(font.bold);
    EXPECT_FALSE(font.italic);

    // A height alone sets the size too.
    writeFile("[General]\nFontHeight=-21\n");
    font = loaded().font;
    EXPECT_EQ(font.height, -21);
    EXPECT_EQ(font.size, 16);
    EXPECT_EQ(font.face, QStringLiteral("ＭＳ ゴシック"));
}

TEST(SettingsPath, IsTheUsersKumolabFile) {
    EXPECT_TRUE(userSettingsPath().endsWith(QStringLiteral("/kumolab/potemaruED.conf")))
        << userSettingsPath().toStdString();
}

// Two program instances closing: each writes its settings in a process of its own.
Settings instanceSettings(int instance) {
    Settings s = everythingChanged();
    s.CTax = instance;
    s.WorkDir = QStringLiteral("/instance%1").arg(instance);
    s.BackupExt = QStringLiteral("ext%1").arg(instance);
    s.placement.width = 600 + instance;
    return s;
}

pid_t closeInstance(const QString& path, int instance, int closes) {
    const pid_t pid = fork();
    if (pid == 0) {
        bool ok = true;
        for (int i = 0; i < closes; ++i)
            ok = test::valueOf(settings_save(path, instanceSettings(instance))) ==
                     SettingsSaved::Written &&
                 ok;
        _exit(ok ? 0 : 1);
    }
    return pid;
}

bool exitedCleanly(pid_t pid) {
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// The file holds one instance's settings whole, and nothing besides the file is left behind.
void expectOneInstanceWhole(const QTemporaryDir& dir, const QString& path,
                            std::initializer_list<int> instances) {
    Settings s = Settings::defaults({});
    const LoadResult result = settings_load(path, s);
    EXPECT_TRUE(result.readable);
    EXPECT_TRUE(result.refused.isEmpty());
    bool matched = false;
    for (const int instance : instances)
        matched = matched || s == instanceSettings(instance);
    EXPECT_TRUE(matched) << "CTax " << s.CTax << " WorkDir " << s.WorkDir.toStdString();
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("kumolab"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("potemaruED.conf")});
}

TEST(SettingsInstances, ClosingOneAfterTheOtherLeavesTheLastOnesSettings) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kumolab/potemaruED.conf"));
    ASSERT_TRUE(exitedCleanly(closeInstance(path, 1, 1)));
    ASSERT_TRUE(exitedCleanly(closeInstance(path, 2, 1)));
    expectOneInstanceWhole(dir, path, {2});
}

TEST(SettingsInstances, ClosingAtTheSameTimeLeavesAWellFormedFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kumolab/potemaruED.conf"));
    const pid_t first = closeInstance(path, 1, 40);
    const pid_t second = closeInstance(path, 2, 40);
    EXPECT_TRUE(exitedCleanly(first));
    EXPECT_TRUE(exitedCleanly(second));
    expectOneInstanceWhole(dir, path, {1, 2});
}

} // namespace
} // namespace pote
