// The titles the desktop shows: the _NET_WM_NAME property of the real X11 windows, which is
// what a window manager and a task bar read (the toolkit may add to the title it was given).

#include "app/ui/main_window.h"
#include "app/ui/password_dialogs.h"
#include "app/ui/qt_prompter.h"
#include "support/scripted_prompter.h"
#include "support/test_files.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace pote::test {
namespace {

xcb_connection_t* x11Connection() {
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The window's title as the desktop reads it.
QString netWmName(const QWidget& window) {
    xcb_connection_t* c = x11Connection();
    const QByteArray atomName = "_NET_WM_NAME";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(atomName.size()), atomName.constData()),
        nullptr);
    if (!atom) return QStringLiteral("(no atom)");
    // The same connection that set the property: the server answers in order.
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c,
                               xcb_get_property(c, 0, static_cast<xcb_window_t>(window.winId()),
                                                atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                               nullptr);
    std::free(atom);
    if (!reply) return QStringLiteral("(no reply)");
    const QString title = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                            xcb_get_property_value_length(reply));
    std::free(reply);
    return title;
}

class X11Window : public testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !x11Connection())
            GTEST_SKIP() << "no X server: "
                         << qEnvironmentVariable("X_SERVER_UNAVAILABLE",
                                                 QStringLiteral("DISPLAY is not set"))
                                .toStdString();
        auto scripted = std::make_unique<ScriptedPrompter>();
        prompter = scripted.get();
        StartOptions options;
        options.prompter = std::move(scripted);
        // A settings file of the test's own, present: no first-start question.
        options.settingsPath = m_dir.filePath(QStringLiteral("potemaruED.conf"));
        writeAll(options.settingsPath, "[General]\n");
        window = std::make_unique<Tmain_fm>(std::move(options));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override {
        if (window) {
            window->store().setModified(false);
            window->close();
        }
    }

    QTemporaryDir m_dir;
    ScriptedPrompter* prompter = nullptr;
    std::unique_ptr<Tmain_fm> window;
};

TEST_F(X11Window, TitlesAreExactlyTheProgramsOwn) {
    EXPECT_EQ(netWmName(*window).toStdString(), "ぽてまるエディター [新規]");
    window->trigger(QStringLiteral("nx_new_paper"));
    EXPECT_EQ(netWmName(*window).toStdString(), "ぽてまるエディター[新規]");

    Tread_pass_fm entry(*prompter, window.get());
    entry.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&entry));
    EXPECT_EQ(netWmName(entry).toStdString(), "パスワード入力");
    entry.hide();

    // A message box of our own, looked at while it is open.
    QtPrompter boxes(window.get());
    std::string boxTitle = "(not shown)";
    QTimer::singleShot(0, window.get(), [&boxTitle] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        boxTitle = netWmName(*box).toStdString();
        box->close();
    });
    boxes.message(MessageKind::Confirmation, Answer::Yes | Answer::No, QStringLiteral("にゃ？"));
    EXPECT_EQ(boxTitle, "確認");
}

} // namespace
} // namespace pote::test
