#pragma once
// Every message box, question, input box and file or folder chooser goes through a Prompter,
// so that commands can be driven by a script in tests and by Qt dialogs in the program.

#include <QFlags>
#include <QString>
#include <QStringList>

#include <optional>

namespace pote {

enum class MessageKind { Warning, Error, Information, Confirmation };

enum class Answer {
    None = 0,
    Yes = 0x1,
    No = 0x2,
    Cancel = 0x4,
    Ok = 0x8,
    Abort = 0x10,
    Retry = 0x20,
    Discard = 0x40,
};
Q_DECLARE_FLAGS(Answers, Answer)
Q_DECLARE_OPERATORS_FOR_FLAGS(Answers)

// What an open or save dialog shows. Filters are pairs of description and pattern, in the
// order offered; the first is selected.
struct FileDialogRequest {
    QString title;
    QList<QPair<QString, QString>> filters;
    QString defaultSuffix; // empty: the suffix of the selected filter's pattern, if any
    QString directory;
    QString fileName; // proposed name (save) or empty
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // A message box; returns the button pressed (closing the box counts as its last button).
    virtual Answer message(MessageKind kind, Answers buttons, const QString& text) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& value) = 0;
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // allowCreate: the user may type a folder that does not exist yet; it is created after
    // asking.
    virtual std::optional<QString> chooseFolder(const QString& caption, const QString& start,
                                                bool allowCreate) = 0;
};

// The message box captions of the four kinds.
QString messageCaption(MessageKind kind);

} // namespace pote
