#pragma once
// A fresh main window with a scripted prompter for each test, and a temporary folder.

#include "app/ui/main_window.h"
#include "mascot/ui/mascot_view.h"
#include "support/scripted_prompter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace pote::test {

// Sends key presses for every character of text, as typing would.
void typeText(QWidget* widget, const QString& text);

// Answers from the script, and lets a test act at the moment a box appears.
class HookedPrompter : public ScriptedPrompter {
public:
    Answer message(MessageKind kind, Answers buttons, const QString& text) override {
        if (onMessage) onMessage(text);
        return ScriptedPrompter::message(kind, buttons, text);
    }
    std::function<void(const QString&)> onMessage;
};

class WindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Recreates the window with these command-line parameters; customize may script the
    // questions of the start-up and change the other options.
    void restart(const QStringList& arguments,
                 const std::function<void(StartOptions&, ScriptedPrompter&)>& customize = {});

    // Types into the pane or the name edit as a user would.
    void typeInPane(const QString& text);
    void typeName(const QString& text);
    QString paneText() const;
    EditPane* pane() { return window->pane(); }
    // Selects the pane's characters from start to end, the caret at end.
    void select(int start, int end);
    // Whether the action or menu of that name can be chosen now.
    bool enabled(const QString& name);
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString settingsPath() const { return path(QStringLiteral("potemaruED.conf")); }

    SectionStore& store() { return window->store(); }

    QTemporaryDir m_dir;
    ScriptedPrompter* prompter = nullptr; // owned by the window
    std::unique_ptr<Tmain_fm> window;
};

} // namespace pote::test
