#pragma once
// The rules that read words: doubled particles, ら抜き言葉, sentences that end alike, and one
// word written in two ways.

#include "revision/analyzer.h"
#include "revision/finding_sink.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace pote::revision {

// words: the analysis of characters [offset, ...) of paragraph; depth: brackets open before
// each character of the paragraph.
void checkDoubledParticles(const CheckedParagraph& paragraph, qsizetype offset,
                           const std::vector<Morpheme>& words, FindingSink& sink);
void checkDroppedRa(const CheckedParagraph& paragraph, qsizetype offset,
                    const std::vector<Morpheme>& words, const std::vector<quint8>& depth,
                    FindingSink& sink);

// The last word of a sentence, which its ending is told by; -1 when it has none.
int endingWord(const std::vector<Morpheme>& words);

// Narration sentences in a row that end on the same word: the third and on are one finding.
class EndingRun {
public:
    // A narration sentence ending on word (characters [first, last) of the paragraph, the
    // terminator included).
    void add(const CheckedParagraph& paragraph, qsizetype first, qsizetype last,
             const std::string_view& word, FindingSink& sink);
    // Dialogue, a sentence without an end, or a new section: the run is over.
    void reset() {
        m_word.clear();
        m_run = 0;
    }

private:
    std::string m_word;
    int m_run = 0;
    size_t m_finding = 0;
};

// Words counted by reading over the whole document. Two spellings of one reading are one word
// written two ways when one spelling's kanji are among the other's (子供/子ども, 出来る/できる,
// 一つ/ひとつ, 取り扱い/取扱い); homophones with other kanji (会う/合う) are different words.
class VariantTally {
public:
    void add(int section, const CheckedParagraph& paragraph, qsizetype offset,
             const std::vector<Morpheme>& words);
    void finish(std::vector<Finding>& out);

private:
    struct Place {
        int section;
        quint32 offset;
        quint32 length;
    };
    struct Spelling {
        std::string base;
        qint64 count = 0;
        std::vector<Place> places;
    };
    std::unordered_map<std::string, std::vector<Spelling>> m_words;
    std::string m_key;
};

} // namespace pote::revision
