#pragma once
// Where the rules put what they find: a finding made from characters of a paragraph, with the
// stored bytes they came from.

#include "revision/checked_text.h"
#include "revision/finding.h"

#include <vector>

namespace pote::revision {

struct FindingSink {
    std::vector<Finding>& findings;
    int section = 0;

    // Characters [first, last) of paragraph; returns the finding's index.
    size_t add(const CheckedParagraph& paragraph, qsizetype first, qsizetype last, Rule rule,
               QString message, QString suggestion = {}) {
        Finding f;
        f.section = section;
        f.offset = paragraph.byteOffset(first);
        f.length = paragraph.byteLength(first, last);
        f.rule = rule;
        f.text = paragraph.text.mid(first, last - first);
        f.message = std::move(message);
        f.suggestion = std::move(suggestion);
        findings.push_back(std::move(f));
        return findings.size() - 1;
    }
};

// A place kept for a rule that decides only once the whole document was read.
struct HeldPlace {
    int section = 0;
    quint32 offset = 0;
    quint32 length = 0;
    QString text;
};

inline HeldPlace holdPlace(int section, const CheckedParagraph& paragraph, qsizetype first,
                           qsizetype last) {
    return {section, paragraph.byteOffset(first), paragraph.byteLength(first, last),
            paragraph.text.mid(first, last - first)};
}

} // namespace pote::revision
