#pragma once
// The purposes the shared open and save dialogs are prepared for (dialog_setup).

#include "core/prompter.h"

#include <optional>

namespace pote {

enum class DialogKind {
    Text = 1,
    Document = 2,
    LinkedText = 3,
    Epub = 20,
    FixedText = 10,
    InsertFileName = 11,
    InsertFileSize = 12
};
enum class DialogDirection { Save = 101, Open = 102 };

// Where the proposed file name comes from.
enum class ProposedName { None, DisplayName, SectionName };

struct DialogEntry {
    QString title;
    QList<QPair<QString, QString>> filters;
    QString defaultSuffix;
    ProposedName proposedName = ProposedName::None;
};

std::optional<DialogEntry> dialogEntry(DialogKind kind, DialogDirection direction);

// A ready dialog: the entry, the work folder (the process's current folder when the work
// folder no longer exists) and the proposed name.
FileDialogRequest dialog_setup(DialogKind kind, DialogDirection direction,
                               const QString& workFolder, const QString& displayName,
                               const QString& sectionName);

// The save dialog for a PDF of the document: in the work folder, named after the document.
FileDialogRequest pdfSaveRequest(const QString& title, const QString& workFolder,
                                 const QString& displayName);

// The open dialog for a book's cover image, in the work folder.
FileDialogRequest coverImageRequest(const QString& workFolder);

} // namespace pote
