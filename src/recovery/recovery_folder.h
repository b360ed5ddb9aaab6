#pragma once
// The folder of recovery copies, one copy per running editor. Each editor holds an advisory
// lock on a small file of its own for as long as it runs; the system drops the lock when the
// process ends in any way, kill -9 included. A copy whose lock can be taken belongs to an
// editor that no longer runs: a leftover.

#include "core/result.h"

#include <QString>

#include <vector>

namespace pote::recovery {

// $XDG_STATE_HOME/poteedit/recovery, ~/.local/state/poteedit/recovery without it.
QString defaultRecoveryFolder();

// A leftover claimed by this editor: while it is held, no other editor starting at the same
// moment offers it as well. Dropping it without a decision keeps the copy for the next start.
class Leftover {
public:
    Leftover(QString copyPath, QString lockPath, int lockFd);
    Leftover(Leftover&& other) noexcept;
    Leftover& operator=(Leftover&& other) noexcept;
    Leftover(const Leftover&) = delete;
    Leftover& operator=(const Leftover&) = delete;
    ~Leftover();

    const QString& path() const { return m_copyPath; }
    // The copy stays for the next start.
    void release();
    // The copy is deleted; the error names it when it could not be.
    Result<void> discard();
    // The copy becomes target (replacing what is there) in one step, or stays where it is.
    Result<void> moveTo(const QString& target);

private:
    void forgetLock();

    QString m_copyPath;
    QString m_lockPath;
    int m_lockFd = -1;
};

class RecoveryFolder {
public:
    // folder: where the copies live; empty for defaultRecoveryFolder().
    explicit RecoveryFolder(const QString& folder = {});
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    // Creates the folder (readable by the user only) and takes this editor's lock. Fails when
    // copies cannot be kept here; the error's text says why.
    Result<void> open();
    bool isOpen() const { return m_lockFd >= 0; }

    const QString& folder() const { return m_folder; }
    // Where this editor's copy is written.
    QString copyPath() const;

    // The leftovers of editors that no longer run, in file-name order. Lock files left by
    // editors that ended before writing any copy are cleared on the way.
    std::vector<Leftover> claimLeftovers();

private:
    QString m_folder;
    QString m_id;
    int m_lockFd = -1;
};

// The file name suffixes of copies and of their locks.
inline constexpr char kCopySuffix[] = ".recovery";
inline constexpr char kLockSuffix[] = ".lock";

} // namespace pote::recovery
