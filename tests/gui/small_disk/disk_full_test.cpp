// Saving onto a disk that is nearly full: the free-space warning counts the whole new file, and
// a write that runs out of room says so, in the window and in ptmtool. Runs on a file system of
// 64 KiB of its own (see tests/support/with_small_disk.sh).

#include "gui/gui_fixture.h"

#include "app/ui/section_binding.h"
#include "app/ui/vertical_commands.h"
#include "core/cp932.h"
#include "core/document_file.h"
#include "core/file_io.h"
#include "support/test_files.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace pote::test {
namespace {

class DiskFull : public WindowTest {
protected:
    void SetUp() override {
        m_disk = qEnvironmentVariable("SMALL_DISK");
        if (m_disk.isEmpty())
            GTEST_SKIP() << "no small file system: "
                         << qEnvironmentVariable("SMALL_DISK_UNAVAILABLE").toStdString();
        WindowTest::SetUp();
    }
    void TearDown() override {
        if (m_disk.isEmpty()) return;
        WindowTest::TearDown();
        // The next test starts with an empty disk.
        for (const QString& name : QDir(m_disk).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(QDir(m_disk).filePath(name));
    }
    QString onDisk(const QString& name) const { return QDir(m_disk).filePath(name); }
    QStringList filesOnDisk() const { return QDir(m_disk).entryList(QDir::Files | QDir::Hidden); }

    QString m_disk;
};

TEST_F(DiskFull, SavingOverAnOldFileWarnsWhenTheWholeNewFileCannotFitAndNamesTheFullDisk) {
    // 40 KB of an old document and 24 KiB free: 50 KB more cannot be written beside it.
    const QString file = onDisk(QStringLiteral("原稿.ptm"));
    const QByteArray old(40000, 'o');
    writeAll(file, old);
    store().section(0).text = QByteArray(50000, 'n');
    window->binding().section_load(0);
    store().setModified(true);
    const qint64 newSize = docfile::encodedSize(store().document());

    prompter->answerFile(file).answer(Answer::Yes).answer(Answer::Ok);
    window->trigger(QStringLiteral("nx_save"));

    ASSERT_EQ(prompter->asked().size(), 3u);
    const Asked& warning = prompter->asked()[1];
    EXPECT_EQ(warning.kind, MessageKind::Error);
    EXPECT_TRUE(
        warning.text.startsWith(QStringLiteral("ディスクの空き容量が足りないみたいだにゃ。")))
        << warning.text.toStdString();
    EXPECT_TRUE(warning.text.endsWith(QStringLiteral("書き込みサイズ＝%1byte").arg(newSize)))
        << warning.text.toStdString();

    const Asked& failure = prompter->asked()[2];
    EXPECT_EQ(failure.kind, MessageKind::Error);
    EXPECT_EQ(failure.text.toStdString(),
              (QDir::toNativeSeparators(file) + QStringLiteral("\r\n") + diskFullMessage())
                  .toStdString());
    EXPECT_EQ(window->mascotView()->currentReaction(), 11);

    EXPECT_EQ(readAll(file), old) << "the old document is untouched";
    EXPECT_EQ(filesOnDisk(), QStringList{QStringLiteral("原稿.ptm")})
        << "nothing half-written is left";
    EXPECT_TRUE(store().isModified());
}

TEST_F(DiskFull, PtmtoolNamesTheFullDiskAndTheFile) {
    const QString json = QDir::temp().filePath(QStringLiteral("pote_disk_full.json"));
    writeAll(json, R"({"sections": [{"text_hex": ")" + QByteArray(200000, 'a') + R"("}]})");
    const QString out = onDisk(QStringLiteral("大きい.ptm"));
    QProcess tool;
    tool.start(QStringLiteral(PTMTOOL_PATH), {QStringLiteral("pack"), json, out});
    ASSERT_TRUE(tool.waitForFinished(60000));
    QFile::remove(json);
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(err.contains(out)) << err.toStdString();
    EXPECT_TRUE(err.contains(diskFullMessage())) << err.toStdString();
    EXPECT_EQ(filesOnDisk(), QStringList()) << "nothing half-written is left";
}

TEST_F(DiskFull, AVerticalPdfThatDoesNotFitNamesTheFullDiskAndKeepsTheOldFile) {
    // Many different characters: the embedded glyphs alone outgrow the disk.
    QString text;
    for (char16_t c = u'\u4E00'; c < u'\u4E00' + 3000; ++c)
        text += QChar(c);
    store().section(0).text = cp932::encode(text);
    window->binding().section_load(0);
    // 40 KB of an old PDF leave 24 KiB beside it: too little for the new one.
    const QString file = onDisk(QStringLiteral("原稿.pdf"));
    const QByteArray old(40000, 'o');
    writeAll(file, old);
    window->trigger(QStringLiteral("nx_vertical_preview"));
    vertical::VerticalPreview* preview = window->controllers().vertical().preview();
    ASSERT_NE(preview, nullptr);
    prompter->answerFile(file).answer(Answer::Ok);
    preview->findChild<QPushButton*>(QStringLiteral("vp_pdf"))->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return !window->controllers().vertical().exportRunning(); }, 120000));
    const Asked& error = prompter->last();
    EXPECT_EQ(error.kind, MessageKind::Error);
    EXPECT_EQ(error.text,
              QDir::toNativeSeparators(file) + QStringLiteral("\r\n") + diskFullMessage())
        << error.text.toStdString();
    EXPECT_EQ(readAll(file), old);
    EXPECT_EQ(filesOnDisk(), QStringList{QStringLiteral("原稿.pdf")});
}

} // namespace
} // namespace pote::test
