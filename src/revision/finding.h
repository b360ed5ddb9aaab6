#pragma once
// One slip the revision check found: where it lies in a section's stored bytes, and what the cat
// says about it.

#include "revision/rules.h"

#include <QString>
#include <QtGlobal>

namespace pote::revision {

struct Finding {
    int section = 0;    // 0-based position in the document
    quint32 offset = 0; // first byte in the section's stored text
    quint32 length = 0; // bytes, whole characters, never across a line break
    Rule rule = Rule::Variants;
    QString text;       // the flagged characters as the reader sees them (markup left out)
    QString message;    // in the cat's voice
    QString suggestion; // empty when there is none
    bool operator==(const Finding&) const = default;
};

// What ignoring a finding keeps: the rule and the flagged text. A long text is kept as its
// beginning and a hash of the whole, so a run-on sentence does not bloat the settings file.
QString ignoreKey(const Finding& finding);

} // namespace pote::revision
