#pragma once
// The check every file writer runs before writing. Its total form groups digits with
// group_digits, which lives in core so that the insert commands and the backup share it.

#include "core/digit_grouping.h"
#include "core/result.h"

#include <QString>

namespace pote {

enum class SpaceForm {
    SingleFile, // one file: sizes in plain decimal, label "書き込みサイズ＝"
    Total,      // several files: sizes grouped, label "合計書き込みサイズ＝"
};

// Free bytes of the filesystem holding path's nearest existing folder; -1 when it cannot be
// measured.
qint64 free_bytes_for(const QString& path);

// Passes when needed <= the free bytes; an unmeasurable path counts as -1 free bytes, so any
// positive need fails. The failure is NoSpace, its text the cat's whole message (the figures
// in it), naming no file.
Result<void> free_space_check(const QString& path, qint64 needed, SpaceForm form);
// The same decision with a known free figure (what free_space_check uses after measuring).
Result<void> free_space_decide(qint64 freeBytes, qint64 needed, SpaceForm form);

} // namespace pote
