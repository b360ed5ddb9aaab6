// The window's composition: menus, tool buttons, pop-up menu, layout, start-up options.

#include "gui_fixture.h"

#include "app/action_table.h"
#include "app/ui/startup.h"
#include "editing/ui/edit_pane.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

namespace pote::test {
namespace {

using MainWindow = WindowTest;

TEST_F(MainWindow, MenuBarHasTheEightMenusInOrder) {
    QStringList captions;
    for (QAction* a : window->menuBar()->actions())
        captions << a->text();
    EXPECT_EQ(captions,
              (QStringList{"ファイル(&F)", "セクション(&S)", "編集(&E)", "挿入(&I)",
                           "ぽてまる君(&W)", "設定(&C)", "パスワード(&P)", "ヘルプ(&H)"}));
}

TEST_F(MainWindow, FileMenuItemsInOrder) {
    QStringList names;
    for (QAction* a : window->menu(QStringLiteral("nx_file"))->actions())
        names << (a->isSeparator() ? QStringLiteral("-")
                  : a->menu()      ? a->menu()->objectName()
                                   : a->objectName());
    // The vertical preview is added after printing; the rest is as it always was.
    const QString vertical = QStringLiteral("nx_vertical_preview");
    EXPECT_EQ(names.indexOf(vertical), names.indexOf(QStringLiteral("Print1")) + 1);
    names.removeAll(vertical);
    EXPECT_EQ(names,
              (QStringList{"nx_new_paper", "-", "nx_recent", "nx_load", "nx_qsave", "nx_save", "-",
                           "nx_section_load", "nx_section_add_load", "nx_section_save",
                           "nx_epub_save", "-", "nx_backup", "-", "Print1", "-", "Exit1"}));
    EXPECT_FALSE(window->menu(QStringLiteral("nx_recent"))->menuAction()->isVisible());
}

TEST_F(MainWindow, FourteenToolButtonsWithTheirHintsInOrder) {
    const QStringList hints = {"ぽてまる文書の読み込み",
                               "ぽてまる文書の保存",
                               "連結テキストの読み込み",
                               "セクションを連結して保存",
                               "テキストの読み込み",
                               "テキストの保存",
                               "セクション追加",
                               "切り取り",
                               "コピー",
                               "貼り付け",
                               "アンドゥ",
                               "区切り線の挿入",
                               "ぽてまる君に消費税計算を頼む",
                               "バックアップ"};
    const auto& names = toolButtons();
    ASSERT_EQ(names.size(), 14u);
    int lastLeft = -1;
    for (size_t i = 0; i < names.size(); ++i) {
        auto* b = qobject_cast<QToolButton*>(window->control(names[i]));
        ASSERT_NE(b, nullptr) << names[i].toStdString();
        EXPECT_EQ(b->toolTip(), hints[static_cast<int>(i)]);
        EXPECT_GT(b->x(), lastLeft);
        EXPECT_EQ(b->size(), QSize(28, 28));
        lastLeft = b->x();
    }
}

TEST_F(MainWindow, EveryTableActionExistsAndUnbuiltOnesAreDisabled) {
    for (const ActionEntry& entry : actionTable()) {
        QAction* a = window->action(entry.name);
        ASSERT_NE(a, nullptr) << entry.name.toStdString();
    }
    EXPECT_FALSE(window->action(QStringLiteral("nx_backup"))->isEnabled());
    EXPECT_TRUE(window->action(QStringLiteral("nx_load"))->isEnabled());
}

TEST_F(MainWindow, TwinItemsOfACommandAlwaysAgree) {
    // Menu item, pop-up item, tool button and a sub-menu bound to the same command: one rule,
    // so one state, whatever the document, the selection and the sections are.
    const auto checkTwins = [this](const char* when) {
        window->tool_state_refresh();
        QHash<Command, QList<QAction*>> bound;
        for (const ActionEntry& entry : actionTable())
            bound[entry.command].append(window->action(entry.name));
        for (const auto* list : {&subMenus(), &popupSubMenus()})
            for (const MenuEntry& m : *list)
                if (m.command != Command::None)
                    bound[m.command].append(window->menu(m.name)->menuAction());
        for (auto it = bound.cbegin(); it != bound.cend(); ++it)
            for (QAction* twin : it.value())
                EXPECT_EQ(twin->isEnabled(), it.value().front()->isEnabled())
                    << when << ": " << twin->objectName().toStdString() << " / "
                    << it.value().front()->objectName().toStdString();
    };
    checkTwins("at start");
    typeInPane(QStringLiteral("猫の手"));
    select(0, 2);
    checkTwins("with a selection");
    window->trigger(QStringLiteral("sp_cut"));
    window->trigger(QStringLiteral("sp_add"));
    checkTwins("after a cut and with two sections");
    EXPECT_TRUE(enabled(QStringLiteral("nx_sect_dell")));
}

TEST_F(MainWindow, PaneFollowsTheWindowSize) {
    window->resize(800, 600);
    window->show();
    QWidget* client = window->centralWidget();
    EXPECT_EQ(window->pane()->width(), client->width() - 16);
    EXPECT_EQ(window->pane()->y() + window->pane()->height(), client->height());
    EXPECT_GE(window->minimumSize().width(), 540);
    EXPECT_GE(window->minimumSize().height(), 400);
}

TEST_F(MainWindow, DesignFlagKeepsTheDesignPlace) {
    restart({QStringLiteral("/d")});
    EXPECT_TRUE(window->controllers().startup().designFlag());
    restart({QStringLiteral("/D")});
    EXPECT_FALSE(window->controllers().startup().designFlag()) << "the option is case-sensitive";
    restart({QStringLiteral("x"), QStringLiteral("/d")});
    EXPECT_FALSE(window->controllers().startup().designFlag()) << "only as the first parameter";
}

TEST_F(MainWindow, EditingKeysInTheNameBoxStayInTheNameBox) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    typeInPane(QStringLiteral("本文"));
    window->pane()->selectAll();
    auto* name = window->findChild<QLineEdit*>(QStringLiteral("sec_name_ed"));
    name->setFocus();
    typeName(QStringLiteral("題名"));
    name->setCursorPosition(0);
    QTest::keyClick(name, Qt::Key_Delete);
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(name, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(paneText(), QStringLiteral("本文")) << "the pane's selection was not cut or deleted";
    EXPECT_EQ(name->text(), QString());
}

// How far a drawn button stands out from its own background: the summed difference in
// brightness of every pixel from the corner pixel.
qint64 ink(const QImage& image) {
    const int background = qGray(image.pixel(1, 1));
    qint64 sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qAbs(qGray(image.pixel(x, y)) - background);
    return sum;
}

TEST_F(MainWindow, DisabledToolButtonsArePlainlyGreyedAndFaded) {
    window->show();
    for (const char* name : {"sp_cut", "sp_copy", "sp_paste", "sp_undo", "sp_load", "sp_tax"}) {
        QAction* action = window->action(QString::fromLatin1(name));
        QWidget* button = window->control(QString::fromLatin1(name));
        action->setEnabled(true);
        const QImage enabled = button->grab().toImage();
        action->setEnabled(false);
        const QImage disabled = button->grab().toImage();
        EXPECT_LT(ink(disabled) * 100, ink(enabled) * 45)
            << name << ": " << ink(disabled) << " against " << ink(enabled);
        const QImage icon = action->icon().pixmap(QSize(22, 22), QIcon::Disabled).toImage();
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) {
                const QRgb p = icon.pixel(x, y);
                ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << name << " is grey";
            }
    }
}

TEST_F(MainWindow, PaneFontIsTheDesignFont) {
    EXPECT_EQ(window->pane()->font().family(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(window->pane()->font().pixelSize(), 16);
}

} // namespace
} // namespace pote::test
