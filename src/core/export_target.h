#pragma once
// Every export writes a file the user names, and the name can be the open document's own: typed
// again, reached through a symbolic link or a hard link. Written over, the manuscript would be
// gone while the window still thinks it is saved; so every export asks here first.

#include "core/result.h"

#include <QString>

namespace pote {

// Whether the two names reach one file: the same path once links are followed, or the same
// device and inode (a hard link). A name with no file behind it reaches nothing.
bool sameFileOnDisk(const QString& a, const QString& b);

// Refuses `target` when it is `document`'s file, with the cat's message; ok when they differ or
// the document has no file yet.
Result<void> exportTargetCheck(const QString& target, const QString& document);

QString exportOverDocumentMessage();

} // namespace pote
