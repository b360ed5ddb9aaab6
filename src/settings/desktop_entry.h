#pragma once
// What the program tells the desktop about itself: its document type (a MIME package) and its
// entry (a .desktop file naming the program to run).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace pote {

inline constexpr char kDocumentMimeType[] = "application/x-poteedit-document";
inline constexpr char kDesktopEntryId[] = "poteedit.desktop";
inline constexpr char kMimePackageFileName[] = "poteedit.xml";
inline constexpr char kAppIconName[] = "poteedit";
inline constexpr char kDocumentIconName[] = "application-x-poteedit-document";

// The MIME package declaring the document type: glob *.ptm, comment "ぽてまる文書".
QByteArray mimePackageXml();
// The desktop entry that opens files with the program at `executable` (an absolute path):
// documents, and plain text too when opensText.
QByteArray desktopEntryText(const QString& executable, bool opensText);

// One argument of an Exec= value as the desktop entry format writes it: quoted when it holds
// a character the format reserves, "%" doubled, then escaped as a string value.
QByteArray execArgument(const QString& argument);
// The program an Exec= value runs (its first argument, unquoted); nullopt when the value is
// empty or its quotes are not closed.
std::optional<QString> execProgram(QByteArrayView execValue);

} // namespace pote
