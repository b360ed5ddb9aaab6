#include "gui_fixture.h"

#include "editing/ui/edit_pane.h"
#include "support/test_files.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTextCursor>

namespace pote::test {

void WindowTest::SetUp() {
    restart({});
}

void WindowTest::TearDown() {
    if (window) {
        // Tests end without the close question.
        window->store().setModified(false);
        window->close();
        window.reset();
    }
}

void WindowTest::restart(const QStringList& arguments,
                         const std::function<void(StartOptions&, ScriptedPrompter&)>& customize) {
    if (window) {
        window->store().setModified(false);
        window.reset();
    }
    auto scripted = std::make_unique<ScriptedPrompter>();
    prompter = scripted.get();
    StartOptions options;
    options.arguments = arguments;
    options.prompter = std::move(scripted);
    options.settingsPath = settingsPath();
    // A settings file of its own for every test; one exists, so no test starts as a first start
    // unless it removes it.
    if (!QFile::exists(options.settingsPath))
        writeAll(options.settingsPath, "[General]\nTABWidth=8\n");
    if (customize) customize(options, *prompter);
    window = std::make_unique<Tmain_fm>(std::move(options));
}

void typeText(QWidget* widget, const QString& text) {
    // QTest::keyClicks only knows ASCII; send each character as the key event a keyboard or an
    // input method would produce.
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString unit(text.at(i));
        if (text.at(i).isHighSurrogate() && i + 1 < text.size()) unit += text.at(++i);
        const bool newline = unit == QStringLiteral("\n");
        const int key = newline ? Qt::Key_Return : unit == QStringLiteral("\t") ? Qt::Key_Tab : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                        newline ? QStringLiteral("\r") : unit);
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier,
                          newline ? QStringLiteral("\r") : unit);
        QCoreApplication::sendEvent(widget, &release);
    }
}

void WindowTest::typeInPane(const QString& text) {
    window->pane()->setFocus();
    typeText(window->pane(), text);
}

void WindowTest::typeName(const QString& text) {
    typeText(window->findChild<QLineEdit*>(QStringLiteral("sec_name_ed")), text);
}

void WindowTest::select(int start, int end) {
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    pane()->setTextCursor(cursor);
}

bool WindowTest::enabled(const QString& name) {
    if (QAction* a = window->action(name)) return a->isEnabled();
    return window->menu(name)->menuAction()->isEnabled();
}

QString WindowTest::paneText() const {
    return window->pane()->toPlainText();
}

} // namespace pote::test
