#pragma once
// Text files and folders of them to and from sections: load a text into the section being
// edited, add one as a new section, save the section as a text, add a folder's texts as new
// sections and save every section into a folder.

#include "textio/utf8_text.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <optional>

namespace pote {

struct AppContext;
class DocumentCommands;
class SectionCommands;

class TextFileCommands {
public:
    // Takes over the save question's saving of a document in plain-text mode.
    TextFileCommands(AppContext& context, SectionCommands& sections, DocumentCommands& documents);

    void nx_actext_loadClick();
    void nx_addtext_loadClick();
    // The menu's save never remembers the file it asked for; the tool button's does.
    void nx_actext_saveClick();
    void sp_text_saveClick();
    void nx_folder_text_addClick();
    void nx_alltext_save1Click();

    // The text file into the pane as the current section's content, the section named after the
    // file; the document becomes modified. False (reported) when the file could not be read.
    bool load_text_into_current(const QString& path, Utf8Choice& utf8);
    // The text file just loaded becomes the document (plain-text mode): named after the file,
    // not modified; saving writes the file.
    void enterPlainTextMode(const QString& path);
    // Before a text that is to become the document (asDocument) is loaded: when the save
    // question gave the work a document file, or the document holds several sections (work
    // offered back at start-up), the text opens as a new document instead of inside that one.
    void readyForTextDocument(bool asDocument);

private:
    void putIntoCurrent(const QString& path, QByteArray text);
    void saveCurrentAsText(bool rememberPath);
    // Writes the pane to the text path: the document's own file in plain-text mode. False when
    // nothing was written.
    bool saveInPlace();
    // Writes the pane to path. A file that was UTF-8 when it was read is asked about first,
    // with the choice of saving elsewhere; returns the file written, nullopt when none was.
    std::optional<QString> writeText(const QString& path);
    // The save dialog for a text file, proposing the section's name; the work folder follows
    // the chosen file.
    std::optional<QString> askTextSavePath();
    // Whether the file at path was converted from UTF-8 when it was read.
    void noteEncoding(const QString& path, bool fromUtf8);
    // The text path now belongs to the current section.
    void ownTextPath(const QString& path);
    // Whether a text save may write to the text path without asking.
    bool mayWriteInPlace() const;

    AppContext& m_context;
    SectionCommands& m_sections;
    DocumentCommands& m_documents;
    // The section the text path was set for, by position and name: outside plain-text mode the
    // path must not receive another section's text unasked.
    int m_textPathPosition = -1;
    QByteArray m_textPathName;
    // Absolute paths of the files read from UTF-8 and not written since: writing CP932 over
    // them is never done unasked.
    QSet<QString> m_utf8Files;
};

} // namespace pote
