#pragma once
// Copying files so that a target name only ever holds a complete copy: each copy is written
// into a file of no name in its target's folder, given the source's permissions and
// modification time, written through to the disk, and only then linked in under the target's
// name (or, where a copy is already there, under a hidden temporary name renamed over it). A
// run that is killed, loses power or fills the disk leaves nothing behind, never a partial file
// under the real name (which would look at least as new as its source and never be copied
// again). Where the file system cannot make a file of no name, or too many are open already,
// the copy is written under a hidden temporary name and renamed: a killed run may then leave
// that temporary behind, which the next run removes.
//
// Writing each file through to the disk on its own costs a disk flush per file; a batch of
// copies is written through together, renamed, and its names written through: two in all.

#include "core/result.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <ctime>
#include <functional>
#include <optional>
#include <vector>

namespace pote::backup {

struct CopyOptions {
    qint64 chunkBytes = qint64(8) << 20;
    // Called after each chunk with the source and the bytes copied so far; returning false
    // breaks the copy off there, as an interruption would (a test hook).
    std::function<bool(const QByteArray& source, qint64 copied)> afterChunk;
    // When set, the first copy into a folder removes the temporaries there that a killed run
    // left behind: those changed before this time (see removeStaleTemporaries).
    std::optional<timespec> staleBefore;
    // Writes what is waiting for the file system of fd to the disk, as ::syncfs (used when
    // empty) does; a test's stand-in for a disk that fails.
    std::function<int(int fd)> flushFileSystem;
    // Copies start as files of no name where the file system allows; false always uses named
    // temporaries (as file systems without them do).
    bool unnamedTemporaries = true;
};

// Now, as the file systems stamp files: a file made from now on is stamped no earlier.
timespec fileSystemNow();

// Whether name is one that a copy's temporary file is given (".NAME.potebak-XXXXXX").
bool isCopyTemporaryName(const QByteArray& name);

// Removes the regular files in folder whose names are copy temporaries and whose last change
// was before `before`; anything else, and a folder that cannot be listed, is left alone.
// Returns how many were removed.
int removeStaleTemporaries(const QByteArray& folder, const timespec& before);

class CopyBatch {
public:
    explicit CopyBatch(CopyOptions options = {});
    ~CopyBatch(); // copies never committed are removed
    CopyBatch(const CopyBatch&) = delete;
    CopyBatch& operator=(const CopyBatch&) = delete;

    // Copies source to a temporary file in target's folder (made with its parents as needed).
    // Nothing is under target's name until commit. On failure nothing is left behind; the
    // error names source, with the system's reason.
    Result<void> stage(const QByteArray& source, const QByteArray& target, qint64 tag);

    qsizetype pendingCount() const { return static_cast<qsizetype>(m_pending.size()); }
    qint64 pendingBytes() const { return m_pendingBytes; }

    struct Failure {
        qint64 tag;
        QString error;
    };
    // Writes every staged copy through to the disk, renames each over its target, then writes
    // the new names through. Returns the copies that did not reach their target, or whose name
    // may not have reached the disk, in staging order.
    std::vector<Failure> commit();

private:
    struct Pending {
        QByteArray temporary; // empty for a file of no name, open as fd until its commit
        QByteArray target;
        qint64 tag;
        int fd = -1;
    };
    // Each gives 0 when done, else the errno that stopped it.
    int makeFolder(const QByteArray& folder);
    int copyData(int in, int out, const QByteArray& source);
    // A file of no name in folder, or -1 when the file system (or the open-file limit) says no.
    int openUnnamed(const QByteArray& folder);
    // Gives a file of no name the target's name.
    int linkIn(const Pending& pending);
    void discard(Pending& pending);

    CopyOptions m_options;
    std::vector<Pending> m_pending;
    qint64 m_pendingBytes = 0;
    int m_flushFd = -1;
    QByteArray m_madeFolder; // the last folder known to exist
    QSet<QByteArray> m_sweptFolders;
    std::vector<char> m_buffer;
    bool m_unnamedWorks = true;
    qsizetype m_unnamedOpen = 0;
    qsizetype m_unnamedLimit = 0;
};

// One copy at once: stage and commit.
Result<void> copyFile(const QByteArray& source, const QByteArray& target,
                      const CopyOptions& options = {});

} // namespace pote::backup
