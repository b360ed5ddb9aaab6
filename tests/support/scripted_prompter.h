#pragma once
// A prompter for tests: records every question with its exact text and answers from a script.
// A question without a scripted answer fails the test and is answered as if cancelled.

#include "core/prompter.h"

#include <deque>
#include <functional>
#include <vector>

namespace pote::test {

struct Asked {
    enum class Type { Message, Input, OpenFile, SaveFile, Folder };
    Type type = Type::Message;
    MessageKind kind = MessageKind::Information;
    Answers buttons;
    QString text;    // message text, input prompt or folder caption
    QString caption; // input caption
    QString value;   // input's initial value
    FileDialogRequest dialog;
};

class ScriptedPrompter : public Prompter {
public:
    // Queue answers in the order the questions will come.
    ScriptedPrompter& answer(Answer a);
    ScriptedPrompter& answerText(std::optional<QString> text);
    ScriptedPrompter& answerFile(std::optional<QString> path);
    // Runs at every message box, as if while it shows: to look at what the user sees behind it.
    void onMessage(std::function<void()> look) { m_onMessage = std::move(look); }

    Answer message(MessageKind kind, Answers buttons, const QString& text) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& value) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(const QString& caption, const QString& start,
                                        bool allowCreate) override;

    const std::vector<Asked>& asked() const { return m_asked; }
    const Asked& last() const { return m_asked.back(); }
    bool allAnswered() const { return m_script.empty(); }
    void clear() {
        m_asked.clear();
        m_script.clear();
    }

private:
    // One scripted answer: a button, or the text of an input box or chooser.
    struct Scripted {
        bool isText = false;
        Answer button = Answer::None;
        std::optional<QString> text;
    };
    // The next answer; false (and a failure) when the script has run out.
    bool next(const char* what, Scripted& out);
    std::optional<QString> nextText(const char* what);
    std::optional<QString> fileDialog(Asked::Type type, const FileDialogRequest& request,
                                      const char* what);

    std::deque<Scripted> m_script;
    std::vector<Asked> m_asked;
    std::function<void()> m_onMessage;
};

} // namespace pote::test
