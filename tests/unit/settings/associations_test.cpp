#include "settings/associations.h"

#include "settings/desktop_key_file.h"

#include "support/test_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pote {
namespace {

using test::readAll;
using test::writeAll;

const QByteArray kForeign = "[Added Associations]\n"
                            "text/plain=other.desktop;\n"
                            "\n"
                            "[Default Applications]\n"
                            "image/png=viewer.desktop;\n"
                            "text/plain=org.example.Gedit.desktop;other.desktop;\n"
                            "# a comment someone keeps\n"
                            "\n"
                            "[Removed Associations]\n"
                            "text/x-c=editor.desktop;\n";

class Associations : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        m_places.dataHome = m_root.filePath(QStringLiteral("データ"));
        m_places.configHome = m_root.filePath(QStringLiteral("設定"));
        m_places.executable = m_root.filePath(QStringLiteral("ぽてまる/bin/poteedit"));
        m_places.iconFolder = m_root.filePath(QStringLiteral("icons"));
        m_places.runUpdaters = false;
        QDir().mkpath(m_places.iconFolder);
        writeAll(m_places.iconFolder + QStringLiteral("/poteedit.svg"), "<svg>app</svg>");
        writeAll(m_places.iconFolder + QStringLiteral("/application-x-poteedit-document.svg"),
                 "<svg>doc</svg>");
    }

    QString mimeApps() const { return m_places.configHome + QStringLiteral("/mimeapps.list"); }
    QString entry() const {
        return m_places.dataHome + QStringLiteral("/applications/poteedit.desktop");
    }
    QString package() const {
        return m_places.dataHome + QStringLiteral("/mime/packages/poteedit.xml");
    }
    void writeMimeApps(const QByteArray& bytes) {
        QDir().mkpath(m_places.configHome);
        writeAll(mimeApps(), bytes);
    }
    // Every file under the data home, relative to it.
    QStringList dataFiles() const {
        QStringList files;
        QDirIterator it(m_places.dataHome, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(m_places.dataHome).relativeFilePath(it.next());
        files.sort();
        return files;
    }

    QTemporaryDir m_root;
    AssocPlaces m_places;
};

TEST_F(Associations, SetThenRemoveLeavesNothingOfOursAndEveryForeignLine) {
    writeMimeApps(kForeign);
    EXPECT_FALSE(assoc_check(m_places));

    ASSERT_TRUE(assoc_set(m_places).ok());
    EXPECT_TRUE(assoc_check(m_places));
    EXPECT_EQ(dataFiles(), QStringList({"applications/poteedit.desktop",
                                        "icons/hicolor/scalable/apps/poteedit.svg",
                                        "icons/hicolor/scalable/mimetypes/"
                                        "application-x-poteedit-document.svg",
                                        "mime/packages/poteedit.xml"}));
    EXPECT_TRUE(readAll(mimeApps())
                    .contains("image/png=viewer.desktop;\n"
                              "text/plain=org.example.Gedit.desktop;other.desktop;\n"
                              "# a comment someone keeps\n"
                              "application/x-poteedit-document=poteedit.desktop;\n\n[Removed"));
    EXPECT_TRUE(readAll(package()).contains("<glob pattern=\"*.ptm\"/>"));

    ASSERT_TRUE(assoc_remove(m_places).ok());
    EXPECT_FALSE(assoc_check(m_places));
    EXPECT_EQ(dataFiles(), QStringList());
    EXPECT_EQ(readAll(mimeApps()), kForeign);
}

TEST_F(Associations, SetThenRemoveWithoutAMimeAppsFileLeavesNoFile) {
    ASSERT_TRUE(assoc_set(m_places).ok());
    EXPECT_EQ(readAll(mimeApps()),
              "[Default Applications]\napplication/x-poteedit-document=poteedit.desktop;\n");
    ASSERT_TRUE(assoc_remove(m_places).ok());
    EXPECT_FALSE(QFileInfo::exists(mimeApps()));
}

TEST_F(Associations, DocumentStateNeedsTheDefaultToNameOurEntry) {
    ASSERT_TRUE(assoc_set(m_places).ok());
    writeMimeApps("[Default Applications]\napplication/x-poteedit-document=other.desktop;\n");
    EXPECT_FALSE(assoc_check(m_places)) << "package and entry exist, but the default is another's";

    ASSERT_TRUE(assoc_set(m_places).ok());
    QFile::remove(package());
    EXPECT_FALSE(assoc_check(m_places)) << "no package: the type is unknown to the desktop";

    ASSERT_TRUE(assoc_remove(m_places).ok());
    EXPECT_FALSE(assoc_check(m_places));
}

TEST_F(Associations, RemoveLeavesAnotherApplicationsDefaultAlone) {
    const QByteArray theirs =
        "[Default Applications]\napplication/x-poteedit-document=other.desktop;\n";
    writeMimeApps(theirs);
    ASSERT_TRUE(assoc_remove(m_places).ok());
    EXPECT_EQ(readAll(mimeApps()), theirs);
}

TEST_F(Associations, TakingTextOverAndReleasingItRestoresThePreviousDefaultExactly) {
    writeMimeApps(kForeign);
    QString extOldApp;
    ASSERT_TRUE(txt_assoc_set(m_places, extOldApp).ok());
    EXPECT_EQ(extOldApp, QStringLiteral("org.example.Gedit.desktop;other.desktop;"));
    EXPECT_TRUE(txt_assoc_check(m_places));
    EXPECT_FALSE(assoc_check(m_places)) << ".txt alone does not make the document type ours";

    QString again = extOldApp;
    ASSERT_TRUE(txt_assoc_set(m_places, again).ok());
    EXPECT_EQ(again, extOldApp) << "a second take-over keeps the first one's memory";

    ASSERT_TRUE(txt_assoc_restore(m_places, extOldApp).ok());
    EXPECT_FALSE(txt_assoc_check(m_places));
    EXPECT_EQ(readAll(mimeApps()), kForeign);
    EXPECT_EQ(dataFiles(), QStringList()) << "our entry goes when nothing uses it";
}

TEST_F(Associations, ReleasingWithAnEmptyMemoryRemovesOurDefault) {
    const QByteArray before = "[Default Applications]\nimage/png=viewer.desktop;\n";
    writeMimeApps(before);
    QString extOldApp = QStringLiteral("stale");
    ASSERT_TRUE(txt_assoc_set(m_places, extOldApp).ok());
    EXPECT_EQ(extOldApp, QString()) << "there was no default for text/plain";
    ASSERT_TRUE(txt_assoc_restore(m_places, QString()).ok());
    EXPECT_EQ(readAll(mimeApps()), before);
}

TEST_F(Associations, ReleasingLeavesADefaultThatIsNotOurs) {
    const QByteArray theirs = "[Default Applications]\ntext/plain=kate.desktop;\n";
    writeMimeApps(theirs);
    ASSERT_TRUE(txt_assoc_restore(m_places, QStringLiteral("gedit.desktop;")).ok());
    EXPECT_EQ(readAll(mimeApps()), theirs);
}

TEST_F(Associations, AMovedProgramLosesTextButKeepsTheDocumentType) {
    QString extOldApp;
    ASSERT_TRUE(assoc_set(m_places).ok());
    ASSERT_TRUE(txt_assoc_set(m_places, extOldApp).ok());
    AssocPlaces moved = m_places;
    moved.executable = m_root.filePath(QStringLiteral("引っ越し先/poteedit"));
    EXPECT_FALSE(txt_assoc_check(moved));
    EXPECT_TRUE(assoc_check(moved));
}

TEST_F(Associations, SettingsClearOrderTakesEverythingBack) {
    writeMimeApps(kForeign);
    QString extOldApp;
    ASSERT_TRUE(assoc_set(m_places).ok());
    ASSERT_TRUE(txt_assoc_set(m_places, extOldApp).ok());

    ASSERT_TRUE(assoc_remove(m_places).ok());
    EXPECT_TRUE(txt_assoc_check(m_places)) << "the entry stays while .txt still uses it";
    ASSERT_TRUE(txt_assoc_restore(m_places, extOldApp).ok());

    EXPECT_EQ(readAll(mimeApps()), kForeign);
    EXPECT_EQ(dataFiles(), QStringList());
}

// Our entry offers the program for plain text only while .txt files open with it.
TEST_F(Associations, TheEntryListsPlainTextOnlyWhileTextIsOurs) {
    const auto types = [this] {
        const auto entry = DesktopKeyFile::parse(readAll(this->entry()));
        return entry ? entry->value("Desktop Entry", "MimeType").value_or("?") : "unreadable";
    };
    const QByteArray document = "application/x-poteedit-document;";
    const QByteArray both = "application/x-poteedit-document;text/plain;";
    QString extOldApp;
    ASSERT_TRUE(assoc_set(m_places).ok());
    EXPECT_EQ(types(), document);
    ASSERT_TRUE(txt_assoc_set(m_places, extOldApp).ok());
    EXPECT_EQ(types(), both);
    ASSERT_TRUE(assoc_set(m_places).ok());
    EXPECT_EQ(types(), both) << "setting the document type again keeps .txt";
    ASSERT_TRUE(txt_assoc_restore(m_places, extOldApp).ok());
    EXPECT_EQ(types(), document);
}

TEST_F(Associations, AMalformedMimeAppsListIsNeverRewritten) {
    const QByteArray malformed = "[Default Applications]\nthis line means nothing\n";
    writeMimeApps(malformed);
    for (const Result<void>& result :
         {assoc_set(m_places), assoc_remove(m_places), txt_assoc_restore(m_places, "a;")}) {
        ASSERT_FALSE(result.ok());
        EXPECT_TRUE(result.error().text.startsWith(
            QStringLiteral("関連付けの設定ファイルの書き方が、僕には読めないにゃ。")));
        EXPECT_TRUE(result.error().text.endsWith(QStringLiteral("mimeapps.list（2行目）")));
    }
    QString extOldApp = QStringLiteral("kept");
    EXPECT_FALSE(txt_assoc_set(m_places, extOldApp).ok());
    EXPECT_EQ(extOldApp, QStringLiteral("kept"));
    EXPECT_EQ(readAll(mimeApps()), malformed);
    EXPECT_EQ(dataFiles(), QStringList());
    EXPECT_FALSE(assoc_check(m_places));
    EXPECT_FALSE(txt_assoc_check(m_places));
}

TEST_F(Associations, AFailedWriteTakesBackWhatItCreated) {
    // A file where the configuration folder should be: mimeapps.list cannot be written, even
    // by root.
    writeAll(m_places.configHome, "not a folder");
    const Result<void> result = assoc_set(m_places);
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(
        result.error().text.startsWith(QStringLiteral("関連付けを書き込めなかったにゃ。\r\n")));
    EXPECT_TRUE(result.error().text.contains(QStringLiteral("mimeapps.list")));
    EXPECT_EQ(dataFiles(), QStringList());

    QString extOldApp = QStringLiteral("kept");
    EXPECT_FALSE(txt_assoc_set(m_places, extOldApp).ok());
    EXPECT_EQ(extOldApp, QStringLiteral("kept"));
    EXPECT_EQ(dataFiles(), QStringList());
}

TEST_F(Associations, TheDesktopLearnsTheDocumentType) {
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed";
    m_places.runUpdaters = true;
    ASSERT_TRUE(assoc_set(m_places).ok());
    EXPECT_TRUE(readAll(m_places.dataHome + QStringLiteral("/mime/globs2"))
                    .contains("application/x-poteedit-document:*.ptm"));
    ASSERT_TRUE(assoc_remove(m_places).ok());
    EXPECT_FALSE(readAll(m_places.dataHome + QStringLiteral("/mime/globs2")).contains("*.ptm"));
}

TEST(AssociationsEnvironment, FollowsTheXdgFolders) {
    qputenv("XDG_DATA_HOME", "/tmp/データ");
    qputenv("XDG_CONFIG_HOME", "relative/is/ignored");
    const AssocPlaces places = assocPlacesFromEnvironment(QStringLiteral("/usr/bin/poteedit"), {});
    EXPECT_EQ(places.dataHome, QStringLiteral("/tmp/データ"));
    EXPECT_EQ(places.configHome, QDir::homePath() + QStringLiteral("/.config"));
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace pote
