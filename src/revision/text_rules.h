#pragma once
// The rules that need no dictionary: brackets, long sentences, full- and half-width marks side
// by side, and the paragraph that lost its 。.

#include "revision/finding_sink.h"
#include "revision/sentences.h"

#include <QChar>

#include <algorithm>
#include <array>

#include <vector>

namespace pote::revision {

// 「 never closed and 」 never opened, within the paragraph.
void checkBrackets(const CheckedParagraph& paragraph, FindingSink& sink);

void checkLongSentences(const CheckedParagraph& paragraph, const std::vector<Sentence>& sentences,
                        int limit, FindingSink& sink);

// ！ and ! (？ and ?) are counted over the whole document; the fewer kind is the slip. A pair of
// half-width marks (!! !?) is the writer's upright pair in vertical text, and a mark after a
// Latin letter or digit belongs to Latin text: neither counts.
class WidthTally {
public:
    void add(int section, const CheckedParagraph& paragraph);
    void finish(std::vector<Finding>& out);

private:
    struct Family {
        qint64 full = 0;
        qint64 half = 0;
        std::vector<HeldPlace> fullPlaces;
        std::vector<HeldPlace> halfPlaces;
    };
    std::array<Family, 2> m_families; // ！!, ？?
};

// A paragraph of narration that ends without 。 while the document's paragraphs end with one.
// Dialogue, headings (short lines with no sentence end) and lines ending in a mark are left
// alone.
class PeriodTally {
public:
    void add(int section, const CheckedParagraph& paragraph, const std::vector<Sentence>& sentences,
             const std::vector<quint8>& depth);
    void finish(std::vector<Finding>& out);

private:
    qint64 m_withPeriod = 0;
    qint64 m_without = 0;
    std::vector<HeldPlace> m_places;
};

// Kept places per kind for rules decided at the end; beyond these the count still grows.
constexpr size_t kHeldPlacesCap = 2000;

} // namespace pote::revision
