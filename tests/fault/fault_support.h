#pragma once
// What the fault-injection suite and its helper program share: the documents they write and
// the edits the killed editor makes.

#include "core/section_store.h"

#include <QByteArray>
#include <QString>

namespace pote {
class Tmain_fm;
}

namespace pote::fault {

// A document of 50 sections and about `bytes` bytes of CP932 text; variants differ in every
// section, so a file tells which variant it holds.
SectionStore faultDocument(int variant, qsizetype bytes);

// A document of about `bytes` bytes of random kanji: text that a zip cannot shrink much, for
// the writers that compress what they write.
SectionStore hardToCompressDocument(qsizetype bytes);

// The document as ptmtool pack reads it.
QByteArray packJson(const SectionStore& store);

// Puts the document into the window as an unmodified one, section 1 shown.
void showDocument(Tmain_fm& window, const SectionStore& store);

// The edits the editor makes before it is killed: typing in two sections, a renamed section and
// a new one. Nothing is saved.
void makeEdits(Tmain_fm& window);

// The recovery folder and settings of a window started in folder.
QString recoveryFolderIn(const QString& folder);
QString settingsPathIn(const QString& folder);

} // namespace pote::fault
