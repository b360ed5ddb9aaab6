#pragma once
// The life cycle of a document: new, open, save as, quick save, the save button, the save
// question before a document is replaced and when the window closes; reading and writing the
// document file with their messages.

#include <QString>

namespace pote {

class DocumentHost;

class DocumentCommands {
public:
    explicit DocumentCommands(DocumentHost& host) : m_host(host) {}

    void nx_new_paperClick();
    void nx_loadClick();
    void nx_saveClick();
    void nx_qsaveClick();
    void sp_saveClick();

    // The save question; false only when the user cancels.
    bool confirm_discard();
    // The close question; false refuses the close.
    bool formclose_query();

    void document_reset();
    // Both return true when the file was read or written completely.
    bool document_read(const QString& path);
    bool document_write(const QString& path);

    // The application's default error report: the platform's text with the file's name.
    void reportFileError(const QString& path, const QString& error);

private:
    // The Yes branch of the save question; true when the work was saved.
    bool saveForQuestion();
    // Shows the save dialog for a document; the chosen path or empty.
    QString askDocumentSavePath();

    DocumentHost& m_host;
};

// The question asked before unsaved work would be lost.
QString saveQuestionText();

} // namespace pote
