#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace pote::test {

ScriptedPrompter& ScriptedPrompter::answer(Answer a) {
    m_script.push_back(Scripted{false, a, std::nullopt});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::answerText(std::optional<QString> text) {
    m_script.push_back(Scripted{true, Answer::None, std::move(text)});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::answerFile(std::optional<QString> path) {
    return answerText(std::move(path));
}

bool ScriptedPrompter::next(const char* what, Scripted& out) {
    if (m_script.empty()) {
        ADD_FAILURE() << "unexpected " << what << ": "
                      << (m_asked.empty() ? std::string() : m_asked.back().text.toStdString());
        return false;
    }
    out = std::move(m_script.front());
    m_script.pop_front();
    return true;
}

Answer ScriptedPrompter::message(MessageKind kind, Answers buttons, const QString& text) {
    Asked a;
    a.type = Asked::Type::Message;
    a.kind = kind;
    a.buttons = buttons;
    a.text = text;
    m_asked.push_back(a);
    if (m_onMessage) m_onMessage();
    Scripted s;
    if (!next("message box", s) || s.isText) {
        if (s.isText) ADD_FAILURE() << "a message box got a text answer: " << text.toStdString();
        return buttons.testFlag(Answer::Cancel) ? Answer::Cancel : Answer::Yes;
    }
    return s.button;
}

std::optional<QString> ScriptedPrompter::nextText(const char* what) {
    Scripted s;
    if (!next(what, s)) return std::nullopt;
    if (!s.isText) {
        ADD_FAILURE() << what << " got a button answer";
        return std::nullopt;
    }
    return s.text;
}

std::optional<QString> ScriptedPrompter::inputText(const QString& caption, const QString& prompt,
                                                   const QString& value) {
    Asked a;
    a.type = Asked::Type::Input;
    a.caption = caption;
    a.text = prompt;
    a.value = value;
    m_asked.push_back(a);
    return nextText("input box");
}

std::optional<QString>
ScriptedPrompter::fileDialog(Asked::Type type, const FileDialogRequest& request, const char* what) {
    Asked a;
    a.type = type;
    a.text = request.title;
    a.dialog = request;
    m_asked.push_back(a);
    return nextText(what);
}

std::optional<QString> ScriptedPrompter::openFile(const FileDialogRequest& request) {
    return fileDialog(Asked::Type::OpenFile, request, "open dialog");
}

std::optional<QString> ScriptedPrompter::saveFile(const FileDialogRequest& request) {
    return fileDialog(Asked::Type::SaveFile, request, "save dialog");
}

std::optional<QString> ScriptedPrompter::chooseFolder(const QString& caption, const QString& start,
                                                      bool allowCreate) {
    Asked a;
    a.type = Asked::Type::Folder;
    a.text = caption;
    a.value = start;
    a.buttons = allowCreate ? Answers(Answer::Yes) : Answers();
    m_asked.push_back(a);
    return nextText("folder chooser");
}

} // namespace pote::test
