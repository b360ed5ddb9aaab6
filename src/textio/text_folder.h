#pragma once
// Folders of .txt files and sections: adding every text of a folder as new sections, and
// saving every section into a folder as one .txt file each.

#include "core/result.h"
#include "core/section_store.h"
#include "textio/utf8_text.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace pote {

// --- adding a folder's texts --------------------------------------------------------------------

struct TextFolderListing {
    QStringList files;   // paths of the readable *.txt files (any letter case), sorted by name
    QStringList skipped; // names of *.txt entries that are folders or cannot be read
};

// File names in the order the folder add takes them: by name, runs of digits compared as
// numbers ("第2章" before "第10章"), so that a folder the folder save wrote comes back in order.
bool file_name_less(const QString& a, const QString& b);

// Fails, naming the folder, when it cannot be listed.
Result<TextFolderListing> list_text_files(const QString& folder);

struct ImportedText {
    QString path;
    QByteArray name;       // filled by the caller (base name of path, in CP932)
    QByteArray text;       // the file as lines; tabs are left for the pane to expand
    bool fromUtf8 = false; // the file was UTF-8 and text is its conversion
};

struct TextFolderRead {
    std::vector<ImportedText> texts; // empty: the folder holds no text
    QStringList skipped;             // as in TextFolderListing
};

// Lists the folder and reads every text, refusing (the cat's words alone) when the document
// (sectionCount sections now) would exceed 500. A folder or a file that cannot be read fails,
// naming it. Nothing is changed: the store is only touched by append_texts.
Result<TextFolderRead> read_text_folder(const QString& folder, int sectionCount, Utf8Choice& utf8);

// Adds the texts as new sections after the last one (group 0, R2 0), makes the last one current,
// marks the document modified and ends plain-text mode. The caller checked the count.
void append_texts(SectionStore& store, std::vector<ImportedText>&& texts);

// --- saving every section into a folder ---------------------------------------------------------

// The file name (without ".txt") for section number (1-based) with the given name: the name
// itself, or the display name followed by the number when the name is empty or cannot be a file
// name (".", "..", a zero byte). "/" becomes "／" so that no name leaves the folder. A name too
// long for a file name as it is written (with ".txt", "／" taking three bytes) is cut between
// two characters to fit; plan_folder_save numbers cut names that would meet another's file.
QString section_file_base(QByteArrayView name, const QString& displayName, int number);

struct FolderSaveItem {
    int position = 0;
    QString fileName; // without folder
    QString path;
};

struct FolderSavePlan {
    QString folder;
    std::vector<FolderSaveItem> items; // one per section, in number order
    // Free space the save needs at its peak: each file is written beside the one it replaces.
    qint64 bytesNeeded = 0;
};

FolderSavePlan plan_folder_save(const QString& folder, const Document& document,
                                const QString& displayName);

// Refuses the plan when one of its files is `document`'s own (a section named like it, or a
// link to it in the folder).
Result<void> folderTargetCheck(const FolderSavePlan& plan, const QString& document);

// Answers of the overwrite question, numbered as the dialog numbers them. Closed (the dialog shut
// by its title bar) skips the file: nothing is replaced without a yes.
enum class OverwriteAnswer { Closed = 0, Yes = 1, No = 2, All = 3 };
using OverwriteQuestion = std::function<OverwriteAnswer(const QString& fileName)>;

struct FolderSaveResult {
    int written = 0;
    QStringList skipped; // file names left as they were
    // Fails, naming the file that could not be written, when the save stopped there.
    Result<void> result;
    bool ok() const { return result.ok(); }
};

// Writes each section's text followed by CR LF. For a file that exists, ask decides, until it
// answers All; a file that does not exist is written without asking. Stops at the first file that
// cannot be written; the files written before it stay.
FolderSaveResult save_sections_to_folder(const FolderSavePlan& plan, const Document& document,
                                         const OverwriteQuestion& ask);

} // namespace pote
