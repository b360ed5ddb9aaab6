#pragma once
// The folders a backup reads and writes, taken from the settings, and the checks that must pass
// before anything is listed or copied.

#include "core/prompter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace pote::backup {

// The settings a backup reads (BackupDir1 ... BackupDir5, BackupCopyDir, BackupExt,
// BackupFolderCopy).
struct BackupSettings {
    QStringList sourceDirs; // the five slots in order; any may be empty
    QString copyDir;
    QString extensions = QStringLiteral("ptm,txt,txm");
    bool folderCopy = true; // recreate the source folders under the destination
};

// The backup command is offered only while this holds.
bool backupConfigured(const BackupSettings& settings);

struct Source {
    QByteArray path; // file-system form, no trailing separator ("/" stays "/")
    // Bytes at the front of a scanned folder's path that its target folder leaves out: up to
    // and including the separator before the source's own name, so that /data/docs/sub lands
    // in destination/docs/sub, and anything under "/" lands directly in the destination.
    qsizetype prefixLength = 0;
};

struct BackupSources {
    QList<Source> sources; // the non-empty slots, in slot order
    QByteArray destination;
};

// The folders of the settings: empty slots left out, each path cleaned of doubled and trailing
// separators.
BackupSources backupSources(const BackupSettings& settings);

struct SourceCheck {
    enum class Problem { None, NotConfigured, SameFolder, SourceMissing };
    Problem problem = Problem::None;
    MessageKind kind = MessageKind::Information; // when a problem: how to show message
    QString message;
    bool errorReaction = false; // the cat plays its error reaction before the message
    BackupSources folders;      // when no problem

    bool ok() const { return problem == Problem::None; }
};

// The first three checks, in order: a source and a destination are set, no source is the
// destination (also through another spelling of the same folder), every source exists.
SourceCheck checkSources(const BackupSettings& settings);

// The destination itself need not exist (it is made when files are copied), but the folder
// that would hold it must: when it does not, the disk is not mounted and the user is asked to
// retry (destinationMissingMessage, Abort and Retry).
bool destinationReachable(const QByteArray& destination);

} // namespace pote::backup
