#pragma once
// The program's prompter: Qt's message boxes, input box and (non-native) file dialogs, in
// Japanese.

#include "core/prompter.h"

class QWidget;

namespace pote {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent) : m_parent(parent) {}

    Answer message(MessageKind kind, Answers buttons, const QString& text) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& value) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(const QString& caption, const QString& start,
                                        bool allowCreate) override;

private:
    // The window the next box or dialog belongs to.
    QWidget* owner() const;

    QWidget* m_parent;
};

// Message texts are built with CR LF or CR between lines; Qt wants LF.
QString displayText(const QString& text);

} // namespace pote
