// Keys as a writer presses them: each goes to the window as the window system delivers it, so
// it passes through the application's shortcut map and the menu bar before the focused widget
// sees it. (A key sent to a widget skips all that, which is how a pane that swallowed every
// shortcut once passed its tests.)

#include "gui_fixture.h"

#include "app/ui/controllers.h"
#include "app/ui/print_commands.h"
#include "core/cp932.h"
#include "core/document_file.h"
#include "editing/ui/edit_pane.h"
#include "support/test_files.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace pote::test {
namespace {

enum class Focus { Pane, NameBox, Composing };

const char* focusName(Focus focus) {
    switch (focus) {
    case Focus::Pane:
        return "pane";
    case Focus::NameBox:
        return "name box";
    case Focus::Composing:
        return "pane, composing";
    }
    return "";
}

class WindowKeys : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->controllers().printing().setPrinterLookup([] { return QPrinterInfo(); });
        window->resize(800, 600);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->pane()->setFocus();
    }
    void TearDown() override {
        closeOthers();
        WindowTest::TearDown();
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), key, modifiers);
    }
    // Typing as the window system delivers it: a key press with the character's text.
    void type(const QString& text) {
        for (const QChar c : text) {
            const Qt::Key key =
                c.unicode() < 0x80 ? QTest::asciiToKey(char(c.unicode())) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, window->windowHandle(), key, QString(c),
                                Qt::NoModifier);
        }
    }
    QLineEdit* nameBox() { return window->findChild<QLineEdit*>(QStringLiteral("sec_name_ed")); }

    void focus(Focus where) {
        if (where == Focus::NameBox) {
            nameBox()->setFocus();
            return;
        }
        pane()->setFocus();
        if (where == Focus::Composing) compose(QStringLiteral("ねこ"));
    }
    // What an input method sends to the focused editor while the writer composes.
    void compose(const QString& preedit, const QString& commit = {}) {
        QInputMethodEvent event(preedit, {});
        if (!commit.isEmpty()) event.setCommitString(commit);
        QCoreApplication::sendEvent(QGuiApplication::focusObject(), &event);
    }
    // The composed text shown at the caret, not yet in the text.
    QString preedit() {
        const QTextBlock block = pane()->document()->findBlock(pane()->textCursor().position());
        return block.layout() ? block.layout()->preeditAreaText() : QString();
    }

    QString openPopup() const {
        const QWidget* popup = QApplication::activePopupWidget();
        return popup ? popup->objectName() : QString();
    }
    // The windows besides the main one that a key brought up, by object name.
    QStringList otherWindows() const {
        QStringList names;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != window.get() && w->isVisible() && !w->windowTitle().isEmpty())
                names << w->objectName();
        }
        return names;
    }
    void closeOthers() {
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (window && w != window.get() && w->isVisible()) w->close();
        }
    }
};

// Alt and a menu's letter open that menu wherever the focus is, and type nothing.
TEST_F(WindowKeys, AltAndAMenusLetterOpensTheMenu) {
    const struct {
        Qt::Key key;
        const char* menu;
    } menus[] = {{Qt::Key_F, "nx_file"},     {Qt::Key_S, "nx_section"}, {Qt::Key_E, "Edit1"},
                 {Qt::Key_I, "Insert1"},     {Qt::Key_W, "N14"},        {Qt::Key_C, "N9"},
                 {Qt::Key_P, "nx_password"}, {Qt::Key_H, "Help1"}};
    for (const Focus where : {Focus::Pane, Focus::NameBox}) {
        for (const auto& row : menus) {
            SCOPED_TRACE(std::string(focusName(where)) + ", menu " + row.menu);
            focus(where);
            press(row.key, Qt::AltModifier);
            EXPECT_EQ(openPopup(), QString::fromLatin1(row.menu));
            closeOthers();
            EXPECT_EQ(paneText(), QString());
            EXPECT_EQ(nameBox()->text(), QString());
        }
    }
}

TEST_F(WindowKeys, AltAloneTakesTheKeyboardToTheMenuBar) {
    if (!window->style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation, nullptr, window.get()))
        GTEST_SKIP() << "this style has no keyboard way into the menu bar";
    press(Qt::Key_Alt);
    EXPECT_TRUE(window->menuBar()->hasFocus());
    EXPECT_NE(window->menuBar()->activeAction(), nullptr);
}

// Typing takes the snapshot before each character; Ctrl+Z, and the Ctrl key before it, take
// none, so the undo goes back one character and the next one forward again.
TEST_F(WindowKeys, CtrlZAfterTypingUndoesAndThenRedoes) {
    type(QStringLiteral("abc"));
    ASSERT_EQ(paneText(), QStringLiteral("abc"));
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(paneText(), QStringLiteral("ab"));
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(paneText(), QStringLiteral("abc"));

    // Keys that leave the text alone keep the snapshot that is there.
    press(Qt::Key_Z, Qt::ControlModifier);
    for (const auto key :
         {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp,
          Qt::Key_PageDown, Qt::Key_Left, Qt::Key_F5, Qt::Key_Escape})
        press(key);
    press(Qt::Key_C, Qt::ControlModifier);
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Right);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(paneText(), QStringLiteral("abc")) << "the snapshot was still \"abc\"";
}

// Every command key of the window, with the focus in the pane and in the name box, on a saved
// document with unsaved typing: the command runs (its question asked, its window shown, the
// document saved). While an input method composes, the keys are its own: no command runs and
// the composed text stays.
TEST_F(WindowKeys, CommandKeysRunTheirCommandUnlessAnInputMethodComposes) {
    const QString file = path(QStringLiteral("鍵の表.ptm"));
    const auto lastAsked = [this](Asked::Type type) {
        return !prompter->asked().empty() && prompter->last().type == type;
    };
    // The windows a key opened; a modal one is seen and closed from inside its own loop.
    QStringList opened;
    const auto shown = [&opened](const char* name) {
        return opened == QStringList{QString::fromLatin1(name)};
    };
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::function<void()> script; // answers the command's questions
        std::function<bool()> done;   // what the command did
    } rows[] = {
        {"Ctrl+N", Qt::Key_N, Qt::ControlModifier, [this] { prompter->answer(Answer::No); },
         [this] { return paneText().isEmpty(); }},
        {"Ctrl+O", Qt::Key_O, Qt::ControlModifier,
         [this] { prompter->answer(Answer::No).answerFile(std::nullopt); },
         [=] { return lastAsked(Asked::Type::OpenFile); }},
        {"Ctrl+S",
         Qt::Key_S,
         Qt::ControlModifier,
         {},
         [this] { return !store().isModified() && prompter->asked().empty(); }},
        {"Ctrl+Shift+S", Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier,
         [this] { prompter->answerFile(std::nullopt); },
         [=] { return lastAsked(Asked::Type::SaveFile); }},
        {"Ctrl+P", Qt::Key_P, Qt::ControlModifier, [this] { prompter->answer(Answer::No); },
         [=] { return lastAsked(Asked::Type::Message); }},
        {"Ctrl+F", Qt::Key_F, Qt::ControlModifier, {}, [=] { return shown("FindDialog1"); }},
        {"F3", Qt::Key_F3, Qt::NoModifier, {}, [=] { return shown("FindDialog1"); }},
        {"Ctrl+R", Qt::Key_R, Qt::ControlModifier, {}, [=] { return shown("rep_fm"); }},
        {"F1", Qt::Key_F1, Qt::NoModifier, {}, [=] { return shown("help_fm"); }},
    };
    for (const Focus where : {Focus::Pane, Focus::NameBox, Focus::Composing}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(focusName(where)) + ", " + row.name);
            restart({});
            window->controllers().printing().setPrinterLookup([] { return QPrinterInfo(); });
            window->show();
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
            prompter->answerFile(file);
            window->trigger(QStringLiteral("nx_save"));
            ASSERT_FALSE(store().isModified());
            prompter->clear();
            pane()->setFocus();
            type(QStringLiteral("本文"));
            focus(where);
            const bool composing = where == Focus::Composing;
            if (row.script && !composing) row.script();

            opened.clear();
            QTimer closer;
            QObject::connect(&closer, &QTimer::timeout, [&] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    opened << modal->objectName();
                    modal->close();
                }
            });
            closer.start(10);
            press(row.key, row.modifiers);
            closer.stop();
            for (const QString& title : otherWindows()) {
                if (!opened.contains(title)) opened << title;
            }

            if (composing) {
                EXPECT_TRUE(prompter->asked().empty());
                EXPECT_EQ(opened, QStringList());
                EXPECT_TRUE(store().isModified());
                EXPECT_EQ(preedit(), QStringLiteral("ねこ"));
                compose({}, QStringLiteral("猫"));
                EXPECT_EQ(paneText(), QStringLiteral("本文猫"));
            } else {
                EXPECT_TRUE(row.done()) << opened.join(u',').toStdString();
                EXPECT_TRUE(prompter->allAnswered());
            }
            closeOthers();
        }
    }
}

// The editing keys in the name box edit the name, and leave the pane alone.
TEST_F(WindowKeys, EditingKeysInTheNameBoxEditTheName) {
    type(QStringLiteral("本文"));
    pane()->selectAll();
    nameBox()->setFocus();
    type(QStringLiteral("題名"));
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(nameBox()->text(), QString());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("題名"));
    press(Qt::Key_V, Qt::ControlModifier);
    press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(nameBox()->text(), QStringLiteral("題名題名"));
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(nameBox()->text(), QStringLiteral("題名")) << "the name box's own undo";
    EXPECT_EQ(paneText(), QStringLiteral("本文"));
    EXPECT_EQ(pane()->textCursor().selectedText(), QStringLiteral("本文"));
}

// "AB櫢⏎蕙" in the codes other programs write; 蕙 moved to just after "A" keeps its code
// whichever keys, buttons or menus cut and paste it, with a save between or not.
const QByteArray kStored("AB\xED\xD6\r\n\xEE\x7E");
const QByteArray kMoved("A\xEE\x7E"
                        "B\xED\xD6\r\n");

class MovedByKeys : public WindowKeys {
protected:
    void open() {
        Document document;
        document.section(0).text = kStored;
        m_file = path(QStringLiteral("移動.ptm"));
        ASSERT_TRUE(docfile::writeDocument(m_file, document).ok());
        prompter->answerFile(m_file);
        window->trigger(QStringLiteral("nx_load"));
        pane()->setFocus();
    }
    QByteArray saved() {
        press(Qt::Key_S, Qt::ControlModifier);
        const auto read = docfile::readDocument(m_file, [](const QByteArray&) { return true; });
        EXPECT_TRUE(read.ok());
        return read.ok() ? read->content.sections.at(0).section.text : QByteArray();
    }
    void select(int from, int to) {
        QTextCursor cursor = pane()->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        pane()->setTextCursor(cursor);
    }
    QString m_file;
};

TEST_F(MovedByKeys, EveryWayToCutAndPasteKeepsTheStoredCode) {
    using Way = std::function<void()>;
    const auto keys = [this](Qt::Key key, Qt::KeyboardModifiers modifiers) -> Way {
        return [=, this] { press(key, modifiers); };
    };
    const auto button = [this](const char* name) -> Way {
        return [=, this] { window->trigger(QString::fromLatin1(name)); };
    };
    const struct {
        const char* name;
        Way way;
    } cuts[] = {{"Ctrl+X", keys(Qt::Key_X, Qt::ControlModifier)},
                {"Shift+Del", keys(Qt::Key_Delete, Qt::ShiftModifier)},
                {"tool button", button("sp_cut")}},
      pastes[] = {{"Ctrl+V", keys(Qt::Key_V, Qt::ControlModifier)},
                  {"Shift+Ins", keys(Qt::Key_Insert, Qt::ShiftModifier)},
                  {"tool button", button("sp_paste")}};
    for (const auto& cut : cuts) {
        for (const auto& paste : pastes) {
            for (const bool savedBetween : {false, true}) {
                SCOPED_TRACE(std::string(cut.name) + " then " + paste.name +
                             (savedBetween ? ", saved between" : ""));
                open();
                select(4, 5);
                window->tool_state_refresh();
                cut.way();
                ASSERT_EQ(paneText(), QStringLiteral("AB櫢\n"));
                if (savedBetween) {
                    ASSERT_EQ(saved(), kStored.left(6));
                }
                select(1, 1);
                window->tool_state_refresh();
                paste.way();
                ASSERT_EQ(paneText(), QStringLiteral("A蕙B櫢\n"));
                EXPECT_EQ(saved(), kMoved);
            }
        }
    }
}

TEST_F(MovedByKeys, CopyKeysPutTheSelectionOnTheClipboardAndChangeNothing) {
    open();
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_C, Qt::ControlModifier},
                                         std::pair{Qt::Key_Insert, Qt::ControlModifier}}) {
        QGuiApplication::clipboard()->clear();
        select(0, 2);
        window->tool_state_refresh();
        press(key, modifiers);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("AB"));
    }
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(pane()->textCursor().selectedText().size(), paneText().size());
    EXPECT_EQ(saved(), kStored);
}

} // namespace
} // namespace pote::test
