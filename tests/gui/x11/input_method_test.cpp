// Typing Japanese through a real input method: ibus with Anthy on an X server of the test's own,
// keys pressed with xdotool as the keyboard would. The input method filters the keys before the
// program's shortcuts see them, which events sent in-process cannot show.

#include "app/ui/main_window.h"
#include "editing/ui/edit_pane.h"
#include "support/scripted_prompter.h"
#include "support/test_files.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <memory>

namespace pote::test {
namespace {

class InputMethod : public testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsSet("INPUT_METHOD_UNAVAILABLE") ||
            QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "no input method: "
                         << qEnvironmentVariable("INPUT_METHOD_UNAVAILABLE",
                                                 QStringLiteral("not run through ibus"))
                                .toStdString();
        auto scripted = std::make_unique<ScriptedPrompter>();
        prompter = scripted.get();
        StartOptions options;
        options.prompter = std::move(scripted);
        options.settingsPath = m_dir.filePath(QStringLiteral("potemaruED.conf"));
        writeAll(options.settingsPath, "[General]\n");
        window = std::make_unique<Tmain_fm>(std::move(options));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->pane()->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->pane()->hasFocus(); }));
        // The input method learns of the focused editor over the bus.
        QTest::qWait(500);
    }
    void TearDown() override {
        if (window) {
            window->store().setModified(false);
            window->close();
        }
    }

    // Keys as the keyboard sends them, to whichever window has the focus.
    static void keys(const QStringList& names) {
        QProcess::execute(
            QStringLiteral("xdotool"),
            QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("80")} +
                names);
    }
    QString preedit() const {
        EditPane* pane = window->pane();
        const QTextBlock block = pane->document()->findBlock(pane->textCursor().position());
        return block.layout() ? block.layout()->preeditAreaText() : QString();
    }
    QString paneText() const { return window->pane()->document()->toPlainText(); }
    // Waits for the input method's answer to the keys before.
    bool preeditBecomes(const std::function<bool(const QString&)>& wanted) {
        return QTest::qWaitFor([&] { return wanted(preedit()); }, 5000);
    }

    QTemporaryDir m_dir;
    ScriptedPrompter* prompter = nullptr;
    std::unique_ptr<Tmain_fm> window;
};

TEST_F(InputMethod, RomajiComposesConvertsAndCommitsAndAShortcutLeavesThePreedit) {
    keys({"n", "e", "k", "o"});
    ASSERT_TRUE(preeditBecomes([](const QString& p) { return p == QStringLiteral("ねこ"); }))
        << "preedit: " << preedit().toStdString() << ", text: " << paneText().toStdString();
    EXPECT_EQ(paneText(), QString()) << "nothing is in the text before it is committed";

    keys({"space"});
    ASSERT_TRUE(preeditBecomes([](const QString& p) {
        return !p.isEmpty() && p != QStringLiteral("ねこ");
    })) << "converted: "
        << preedit().toStdString();
    const QString converted = preedit();

    // A shortcut while composing: the composition is neither committed nor lost, and the
    // command does not run under it.
    keys({"ctrl+s"});
    QTest::qWait(800);
    EXPECT_EQ(preedit(), converted);
    EXPECT_EQ(paneText(), QString());
    EXPECT_TRUE(prompter->asked().empty()) << "no save question while composing";
    EXPECT_TRUE(QDir(m_dir.path()).entryList({QStringLiteral("*.ptm")}, QDir::Files).isEmpty());

    keys({"Return"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return paneText() == converted; }, 5000))
        << "text: " << paneText().toStdString() << ", preedit: " << preedit().toStdString();
    EXPECT_EQ(preedit(), QString());
    EXPECT_TRUE(window->store().isModified());

    // The commit is one edit the program's undo takes back.
    keys({"ctrl+z"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return paneText().isEmpty(); }, 5000))
        << "after Ctrl+Z: " << paneText().toStdString();
}

} // namespace
} // namespace pote::test
