#pragma once
// File associations on the desktop: the .ptm document type and, on request, .txt files open in
// this program. What is written lives in the user's own folders:
//   <data home>/mime/packages/poteedit.xml        the document type (glob *.ptm)
//   <data home>/applications/poteedit.desktop     the program's entry (Exec = the running program)
//   <data home>/icons/hicolor/scalable/...        the program's and the document's icons
//   <config home>/mimeapps.list                   [Default Applications] of both types
// mimeapps.list belongs to the user and to every other program: only our own lines change, every
// other byte stays, and a file we cannot read as a key file is left alone with an error.
// Nothing here shows UI; a failure comes back as a message in the cat's voice.

#include "core/result.h"
#include "settings/file_associations.h"

#include <QString>

namespace pote {

struct AssocPlaces {
    QString dataHome;   // $XDG_DATA_HOME
    QString configHome; // $XDG_CONFIG_HOME
    QString executable; // absolute path of the running program
    // Holds poteedit.svg and application-x-poteedit-document.svg; without them no icons are
    // installed.
    QString iconFolder;
    // Refresh the desktop's caches (update-mime-database, update-desktop-database) after a change,
    // when those programs are installed.
    bool runUpdaters = true;
};

// The places of the running session: XDG_DATA_HOME and XDG_CONFIG_HOME when they hold absolute
// paths, else ~/.local/share and ~/.config.
AssocPlaces assocPlacesFromEnvironment(const QString& executable, const QString& iconFolder);

// The document type is ours: its MIME package and our entry exist and the type's default
// application is our entry.
bool assoc_check(const AssocPlaces& places);
// Declares the document type, writes our entry and icons and makes our entry its default.
Result<void> assoc_set(const AssocPlaces& places);
// Takes back what assoc_set wrote. Our entry stays while .txt still opens with it.
Result<void> assoc_remove(const AssocPlaces& places);

// text/plain opens with our entry, and that entry runs this very program (a program that was
// moved elsewhere reads false).
bool txt_assoc_check(const AssocPlaces& places);
// Makes our entry the default for text/plain; the default found before is kept in extOldApp
// (empty when there was none). extOldApp is changed only on success, and not when text/plain
// was ours already, so that a second take-over cannot lose the first one's memory.
Result<void> txt_assoc_set(const AssocPlaces& places, QString& extOldApp);
// Gives text/plain back to extOldApp (an empty one removes our default). Does nothing to a
// default that is not ours.
Result<void> txt_assoc_restore(const AssocPlaces& places, const QString& extOldApp);

// The associations of the running session; .txt takes over and gives back through extOldApp
// (the stored setting ExtOldApp).
class XdgFileAssociations : public FileAssociations {
public:
    XdgFileAssociations(AssocPlaces places, QString& extOldApp)
        : m_places(std::move(places)), m_extOldApp(extOldApp) {}

    bool ptmAssociated() override { return assoc_check(m_places); }
    Result<void> associatePtm() override { return assoc_set(m_places); }
    Result<void> removePtm() override { return assoc_remove(m_places); }
    bool txtIsOurs() override { return txt_assoc_check(m_places); }
    Result<void> takeTxt() override { return txt_assoc_set(m_places, m_extOldApp); }
    Result<void> restoreTxt() override { return txt_assoc_restore(m_places, m_extOldApp); }

private:
    AssocPlaces m_places;
    QString& m_extOldApp;
};

} // namespace pote
