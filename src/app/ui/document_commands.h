#pragma once
// The life cycle of a document: new, open, save as, quick save, the save button, the save
// question before a document is replaced and when the window closes; reading and writing the
// document file with their messages.

#include "core/document_file.h"

#include <QString>

#include <functional>

namespace pote {

struct AppContext;

class DocumentCommands {
public:
    // askPassword: the entry dialog, shown when a protected document is read.
    DocumentCommands(AppContext& context, docfile::PasswordGate askPassword);

    void nx_new_paperClick();
    void nx_loadClick();
    void nx_saveClick();
    void nx_qsaveClick();
    void sp_saveClick();
    // nx_recent1Click ... nx_recent10Click: opens the document at that position of the list.
    void nx_recentClick(int position);

    // The save question; false only when the user cancels.
    bool confirm_discard();
    // The close question; false refuses the close.
    bool formclose_query();

    void document_reset();
    // Both return true when the file was read or written completely.
    bool document_read(const QString& path);
    bool document_write(const QString& path);

    // The password entry for protected documents this controller reads.
    const docfile::PasswordGate& passwordGate() const { return m_askPassword; }
    // Called whenever a document settles (new, read or written): nothing of it is unsaved.
    void setSettledListener(std::function<void()> listener) { m_settled = std::move(listener); }
    // How the save question saves a document in plain-text mode; true when it was saved.
    void setPlainTextSave(std::function<bool()> save) { m_plainTextSave = std::move(save); }

private:
    // The Yes branch of the save question; true when the work was saved.
    bool saveForQuestion();
    // Shows the save dialog for a document; the chosen path or empty.
    QString askDocumentSavePath();
    // What every new, read or written document ends with: its name, path and title, out of
    // plain-text mode and unmodified. An empty path is a new document.
    void settle(const QString& absolutePath);

    AppContext& m_context;
    docfile::PasswordGate m_askPassword;
    std::function<void()> m_settled;
    std::function<bool()> m_plainTextSave;
};

// The question asked before unsaved work would be lost.
QString saveQuestionText();

} // namespace pote
