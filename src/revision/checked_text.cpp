#include "revision/checked_text.h"

#include "core/cp932.h"
#include "vertical/notation.h"

namespace pote::revision {

void forEachCheckedParagraph(QByteArrayView sectionText,
                             const std::function<bool(const CheckedParagraph&)>& visit) {
    CheckedParagraph out;
    vertical::forEachParagraph(sectionText, [&](const vertical::Paragraph& paragraph) {
        out.text.resize(paragraph.chars.size());
        out.offsets.resize(size_t(paragraph.chars.size()));
        out.byteCounts.resize(size_t(paragraph.chars.size()));
        char16_t* units = reinterpret_cast<char16_t*>(out.text.data());
        for (qsizetype i = 0; i < paragraph.chars.size(); ++i) {
            const vertical::TextChar& c = paragraph.chars[i];
            units[i] = c.ch;
            out.offsets[size_t(i)] = c.offset;
            out.byteCounts[size_t(i)] = quint8(cp932::charLengthAt(sectionText, c.offset));
        }
        return visit(out);
    });
}

} // namespace pote::revision
