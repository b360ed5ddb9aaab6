#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace pote::test {

ScriptedPrompter& ScriptedPrompter::answer(Answer a) {
    m_script.emplace_back(a);
    return *this;
}

ScriptedPrompter& ScriptedPrompter::answerText(std::optional<QString> text) {
    m_script.emplace_back(std::move(text));
    return *this;
}

ScriptedPrompter& ScriptedPrompter::answerFile(std::optional<QString> path) {
    return answerText(std::move(path));
}

std::optional<ScriptedPrompter::Scripted> ScriptedPrompter::next(const char* what) {
    if (m_script.empty()) {
        ADD_FAILURE() << "unexpected " << what << ": "
                      << (m_asked.empty() ? std::string() : m_asked.back().text.toStdString());
        return std::nullopt;
    }
    Scripted s = std::move(m_script.front());
    m_script.pop_front();
    return s;
}

Answer ScriptedPrompter::message(MessageKind kind, Answers buttons, const QString& text) {
    Asked a;
    a.type = Asked::Type::Message;
    a.kind = kind;
    a.buttons = buttons;
    a.text = text;
    m_asked.push_back(a);
    const auto s = next("message box");
    if (!s || !std::holds_alternative<Answer>(*s)) {
        if (s)
            ADD_FAILURE() << "a message box got a text answer: " << text.toStdString();
        return buttons.testFlag(Answer::Cancel) ? Answer::Cancel : Answer::Yes;
    }
    return std::get<Answer>(*s);
}

namespace {
std::optional<QString> textOf(const std::optional<std::variant<Answer, std::optional<QString>>>& s,
                              const char* what) {
    if (!s)
        return std::nullopt;
    if (!std::holds_alternative<std::optional<QString>>(*s)) {
        ADD_FAILURE() << what << " got a button answer";
        return std::nullopt;
    }
    return std::get<std::optional<QString>>(*s);
}
} // namespace

std::optional<QString> ScriptedPrompter::inputText(const QString& caption, const QString& prompt,
                                                   const QString& value) {
    Asked a;
    a.type = Asked::Type::Input;
    a.caption = caption;
    a.text = prompt;
    a.value = value;
    m_asked.push_back(a);
    return textOf(next("input box"), "input box");
}

std::optional<QString> ScriptedPrompter::openFile(const FileDialogRequest& request) {
    Asked a;
    a.type = Asked::Type::OpenFile;
    a.text = request.title;
    a.dialog = request;
    m_asked.push_back(a);
    return textOf(next("open dialog"), "open dialog");
}

std::optional<QString> ScriptedPrompter::saveFile(const FileDialogRequest& request) {
    Asked a;
    a.type = Asked::Type::SaveFile;
    a.text = request.title;
    a.dialog = request;
    m_asked.push_back(a);
    return textOf(next("save dialog"), "save dialog");
}

std::optional<QString> ScriptedPrompter::chooseFolder(const QString& caption, const QString& start,
                                                      bool allowCreate) {
    Asked a;
    a.type = Asked::Type::Folder;
    a.text = caption;
    a.value = start;
    a.buttons = allowCreate ? Answers(Answer::Yes) : Answers();
    m_asked.push_back(a);
    return textOf(next("folder chooser"), "folder chooser");
}

} // namespace pote::test
