// "推敲" in the window: a run over every section in the background, the findings grouped by
// rule, Enter on one shows it selected in its section, and an ignored finding stays ignored for
// the document through the settings file.
#include "gui_fixture.h"

#include "app/ui/revision_commands.h"
#include "app/ui/section_binding.h"
#include "editing/ui/edit_pane.h"
#include "revision/ui/revision_window.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "support/test_files.h"

#include <QTextBlock>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTreeWidget>

namespace pote::test {
namespace {

class RevisionWindowTest : public WindowTest {
protected:
    void fill(const std::vector<QByteArray>& texts) {
        SectionStore& s = store();
        s.resetToNew();
        for (size_t i = 0; i < texts.size(); ++i) {
            const int pos = i == 0 ? 0 : s.appendEmpty();
            s.section(pos).text = texts[i];
        }
        s.current = 0;
        s.documentPath = path(QStringLiteral("原稿.ptm"));
        window->binding().section_load(0);
        s.setModified(false);
        window->tool_state_refresh();
    }
    RevisionCommands& commands() { return window->controllers().revision(); }
    revision::RevisionWindow* open() {
        window->trigger(QStringLiteral("nx_revision"));
        return commands().window();
    }
    void runAll(revision::RevisionWindow* w) {
        w->findChild<QComboBox*>(QStringLiteral("scope_cb"))->setCurrentIndex(1);
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("run_bt")), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !commands().running(); }, 60000));
    }
    // The rows of the list: each rule's caption, then its findings' characters.
    static QStringList rows(const revision::RevisionWindow* w) {
        QStringList out;
        const QTreeWidget* list = w->list();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* group = list->topLevelItem(i);
            out << group->text(0);
            for (int k = 0; k < group->childCount(); ++k)
                out << QStringLiteral("  ") + group->child(k)->text(1);
        }
        return out;
    }
    static QTreeWidgetItem* rowWithText(const revision::RevisionWindow* w, const QString& text) {
        const QList<QTreeWidgetItem*> found =
            w->list()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive, 1);
        return found.isEmpty() ? nullptr : found.front();
    }
};

TEST_F(RevisionWindowTest, FindsJumpsAndIgnores) {
    fill({sjis("彼は歩いた。\r\n"), sjis("雨の日。\r\n駅のの前で、子供が来る。子供が笑った。子ども"
                                         "が泣いた。\r\n「待って\r\n")});
    revision::RevisionWindow* w = open();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->isVisible());
    runAll(w);
    EXPECT_EQ(rows(w), (QStringList{"表記ゆれ（1）", "  子ども", "助詞の重なり（1）", "  のの",
                                    "括弧の対応（1）", "  「"}));

    // Enter on the row, as the window system delivers it, goes to section 2 and selects のの.
    QTreeWidgetItem* particle = rowWithText(w, QStringLiteral("のの"));
    ASSERT_NE(particle, nullptr);
    w->activateWindow();
    w->list()->setFocus();
    w->list()->setCurrentItem(particle);
    ASSERT_NE(w->windowHandle(), nullptr);
    QTest::keyClick(w->windowHandle(), Qt::Key_Return);
    EXPECT_EQ(store().current, 1);
    EXPECT_EQ(pane()->textCursor().selectedText(), QStringLiteral("のの"));
    EXPECT_EQ(pane()->textCursor().block().blockNumber(), 1);

    // Ignored: off the list now, off the next run, and kept in the settings file.
    w->list()->setCurrentItem(rowWithText(w, QStringLiteral("子ども")));
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("ignore_bt")), Qt::LeftButton);
    EXPECT_EQ(rowWithText(w, QStringLiteral("子ども")), nullptr);
    runAll(w);
    EXPECT_EQ(rowWithText(w, QStringLiteral("子ども")), nullptr);
    EXPECT_NE(rowWithText(w, QStringLiteral("のの")), nullptr);

    ASSERT_TRUE(settings_save(settingsPath(), window->settings()).ok());
    Settings reread = Settings::defaults(QString());
    settings_load(settingsPath(), reread);
    EXPECT_EQ(reread.revision.ignored.value(store().documentPath),
              QStringList{QStringLiteral("variants\t子ども")});
    EXPECT_EQ(reread.revision, window->settings().revision);
}

TEST_F(RevisionWindowTest, RunsOnTheSectionBeingEditedWithThePanesLatestWords) {
    fill({sjis("彼は歩いた。\r\n"), sjis("「待って\r\n")});
    revision::RevisionWindow* w = open();
    typeInPane(QStringLiteral("猫がが鳴く。"));
    w->findChild<QComboBox*>(QStringLiteral("scope_cb"))->setCurrentIndex(0);
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("run_bt")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !commands().running(); }, 60000));
    EXPECT_EQ(rows(w), (QStringList{"助詞の重なり（1）", "  がが"}))
        << w->findChild<QLabel*>(QStringLiteral("lb_note"))->text().toStdString();
}

} // namespace
} // namespace pote::test
