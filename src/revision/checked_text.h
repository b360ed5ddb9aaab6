#pragma once
// A section's text as the checks read it: paragraph by paragraph, with the notation taken out
// (ruby readings skipped, their base kept; emphasis marks and page breaks gone), and for every
// character the stored bytes it came from, so a finding points back at exactly those bytes.

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <vector>

namespace pote::revision {

struct CheckedParagraph {
    QString text;                   // one unit per character
    std::vector<quint32> offsets;   // where each character's bytes start in the section
    std::vector<quint8> byteCounts; // 1 or 2

    // The bytes of characters [first, last): start and length. last > first.
    quint32 byteOffset(qsizetype first) const { return offsets[size_t(first)]; }
    quint32 byteLength(qsizetype first, qsizetype last) const {
        return offsets[size_t(last - 1)] + byteCounts[size_t(last - 1)] - offsets[size_t(first)];
    }
};

// Calls visit for each paragraph of the section's text, reusing one paragraph's buffers;
// visit returns false to stop.
void forEachCheckedParagraph(QByteArrayView sectionText,
                             const std::function<bool(const CheckedParagraph&)>& visit);

} // namespace pote::revision
