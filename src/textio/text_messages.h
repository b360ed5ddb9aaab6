#pragma once
// What the cat says about text files, linked texts and folders, shared by the window's commands
// and ptmtool.

#include <QString>
#include <QStringList>

#include <vector>

namespace pote::textmsg {

// --- linked text ------------------------------------------------------------------------------
QString notLinkedText();                    // a file without any "*section"
QString tooManyLinkedSections(int headers); // more headers than a document holds
// Export of sections whose name or text holds "*section" (1-based numbers); a Yes/No question.
QString headerInsideSections(const std::vector<int>& numbers);
// Export of sections whose name or text holds a NUL byte, where a reader stops; a Yes/No
// question.
QString nulInsideSections(const std::vector<int>& numbers);

// --- text files and folders ---------------------------------------------------------------
QString noTextFiles();               // a folder without any .txt file
QString tooManyTextFiles(int found); // the folder would take the document beyond 500
QString skippedFolderEntries(const QStringList& names); // folders or unreadable files passed by
QString textFileTooLarge();                             // bigger than the pane can hold
QString folderChooserCaption();                         // "ディレクトリの選択"
QString createFolderQuestion(); // asked for a folder that does not exist yet
// A folder save that stopped at a file it could not write; written files stay.
QString folderSaveFailed(const QString& fileName, const QString& error, int written);

// --- the command line -------------------------------------------------------------------------
QString commandLineFileMissing(const QString& named); // the name the user gave, as given
QString commandLineCannotOpen(const QString& named);  // a folder, or a kind not opened

// --- UTF-8 ------------------------------------------------------------------------------------
QString utf8Question();
QString utf8Unmappable(qsizetype count); // after a conversion that had to write "?"
// Saving over a file that was converted from UTF-8 when it was read: Yes/No/Cancel, No saving
// elsewhere.
QString utf8OverwriteQuestion(const QString& fileName);

// --- overwrite question (Trewrite_fm) ---------------------------------------------------------
QString rewriteCaption(); // "上書き確認"
QString rewriteLine1();   // "このファイルは既にあるみたいだにゃん！"
QString rewriteLine2();   // "上書きしていいかにゃ？？"
QString rewriteFileName(const QString& fileName); // "ファイル名：" + name
QString rewriteYes();                             // "はい(&Y)"
QString rewriteNo();                              // "いいえ(&N)"
QString rewriteAll();                             // "全部上書き(&A)"

} // namespace pote::textmsg
