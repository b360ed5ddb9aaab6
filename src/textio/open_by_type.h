#pragma once
// Files that reach the editor without a dialog: dropped onto the window or named on the command
// line. The file's extension decides what happens: a text goes into the current section, a
// linked text replaces the document, a document file is opened. These are the decisions only;
// the window carries them out with the commands that load each kind.

#include "core/result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace pote {

enum class OpenAction {
    Nothing,
    LoadTextIntoCurrent, // load_text_into_current
    LinkedTextRead,      // linked_text_read: replaces the document
    DocumentRead,        // document_read: replaces the document
};

// What the decisions need to know of the open document.
struct OpenTarget {
    int sectionCount = 1;
    QString documentPath;
    bool modified = false;
};

struct OpenByType {
    OpenAction action = OpenAction::Nothing;
    QString path; // the file to load; absolute
    // The text becomes the document itself (plain-text mode): display name := base_name(path),
    // title, text path := path, status_update, modified flag cleared.
    bool beginPlainTextMode = false;
    // The open replaces modified work (the document, or the current section's text): commit the
    // pane and ask the save question first; Cancel ends the open.
    bool askToSave = false;
};

// The characters after the last "." of the whole path (folders included), or the whole path
// when it has no "."; lower-cased.
QString file_extension(const QString& path);

// Only the first dropped item counts, and only when it is a local file.
OpenByType decideDroppedFiles(const QList<QUrl>& urls, const OpenTarget& target);

struct CommandLineOpen {
    // The parameters joined with single spaces: the name the user gave.
    QString named;
    // For a text, the title becomes documentTitle(open.path): the full path, not the display
    // name.
    OpenByType open;
};

// The parameters joined with single spaces name the file (so a path split at its spaces comes
// back whole); a relative one is taken from currentFolder. A .txt opens as the document itself
// (plain-text mode), a .ptm or .txm replaces the document; "/d" alone names no file. A named file
// that is missing, a folder or of another kind is Refused with the cat's words, which name it as
// given: the user is told, and the title stays the document's own.
Result<CommandLineOpen> decideCommandLineOpen(const QStringList& parameters,
                                              const QString& currentFolder,
                                              const OpenTarget& target);

} // namespace pote
