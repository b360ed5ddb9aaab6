#include "revision/revision_check.h"

#include "revision/analyzer.h"
#include "revision/checked_text.h"
#include "revision/revision_messages.h"
#include "revision/sentences.h"
#include "revision/text_rules.h"
#include "revision/word_rules.h"

#include <algorithm>

namespace pote::revision {

namespace {

// MeCab builds a lattice over what it is given; a sentence that never ends is read in pieces
// of about this many characters, cut after a 、 or a space where there is one near.
constexpr qsizetype kPieceLength = 1024;

qsizetype pieceEnd(QStringView text, qsizetype from, qsizetype end) {
    if (end - from <= kPieceLength) return end;
    const qsizetype cut = from + kPieceLength;
    for (qsizetype i = cut; i > cut - 64; --i) {
        const char16_t ch = text[i - 1].unicode();
        if (ch == u'、' || ch == u'，' || ch == u' ' || ch == u'　') return i;
    }
    // Never between the halves of a surrogate pair (CP932 has none, but be safe).
    return text[cut - 1].isHighSurrogate() ? cut + 1 : cut;
}

} // namespace

struct RevisionCheck::State {
    RevisionOptions options;
    Analyzer* analyzer = nullptr;
    std::vector<Finding> findings;
    WidthTally width;
    PeriodTally period;
    VariantTally variants;
    EndingRun endings;
    std::vector<Sentence> sentences;
    std::vector<quint8> depth;

    bool wordsWanted() const {
        return analyzer && (options.on(Rule::Variants) || options.on(Rule::RepeatedEndings) ||
                            options.on(Rule::DoubledParticles) || options.on(Rule::DroppedRa));
    }

    void paragraph(int section, const CheckedParagraph& p, FindingSink& sink) {
        splitSentences(p.text, sentences, depth);
        if (options.on(Rule::Brackets)) checkBrackets(p, sink);
        if (options.on(Rule::LongSentences))
            checkLongSentences(p, sentences, options.longSentence, sink);
        if (options.on(Rule::MixedWidth)) width.add(section, p);
        if (options.on(Rule::MissingPeriod)) period.add(section, p, sentences, depth);
        if (!wordsWanted()) return;
        for (const Sentence& s : sentences) {
            // The analysis of the sentence's last piece: the analyzer keeps it until the next.
            const std::vector<Morpheme>* last = nullptr;
            qsizetype lastFrom = s.first;
            for (qsizetype from = s.first; from < s.ending;) {
                const qsizetype end = pieceEnd(p.text, from, s.ending);
                const std::vector<Morpheme>& words =
                    analyzer->analyze(QStringView(p.text).sliced(from, end - from));
                if (options.on(Rule::DoubledParticles)) checkDoubledParticles(p, from, words, sink);
                if (options.on(Rule::DroppedRa)) checkDroppedRa(p, from, words, depth, sink);
                if (options.on(Rule::Variants)) variants.add(section, p, from, words);
                last = &words;
                lastFrom = from;
                from = end;
            }
            if (!options.on(Rule::RepeatedEndings)) continue;
            const int word = last ? endingWord(*last) : -1;
            if (s.spoken || !s.terminated || word < 0) {
                endings.reset();
                continue;
            }
            const Morpheme& m = (*last)[size_t(word)];
            endings.add(p, lastFrom + m.first, s.ending + 1, m.surface, sink);
        }
    }
};

RevisionCheck::RevisionCheck(const RevisionOptions& options, Analyzer* analyzer)
    : m_state(std::make_unique<State>()) {
    m_state->options = options;
    m_state->analyzer = analyzer;
}

RevisionCheck::~RevisionCheck() = default;

void RevisionCheck::checkSection(int section, QByteArrayView text,
                                 const std::atomic<bool>* cancel) {
    State& st = *m_state;
    st.endings.reset();
    FindingSink sink{st.findings, section};
    forEachCheckedParagraph(text, [&](const CheckedParagraph& p) {
        st.paragraph(section, p, sink);
        return !(cancel && cancel->load(std::memory_order_relaxed));
    });
}

std::vector<Finding> RevisionCheck::finish() {
    State& st = *m_state;
    std::vector<Finding> out = std::move(st.findings);
    st.findings.clear();
    if (st.options.on(Rule::MixedWidth)) st.width.finish(out);
    if (st.options.on(Rule::MissingPeriod)) st.period.finish(out);
    if (st.options.on(Rule::Variants) && st.analyzer) st.variants.finish(out);
    std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) {
        if (a.section != b.section) return a.section < b.section;
        if (a.offset != b.offset) return a.offset < b.offset;
        return int(a.rule) < int(b.rule);
    });
    return out;
}

RevisionOutcome checkSections(const std::vector<SectionToCheck>& sections,
                              const RevisionOptions& options, const std::atomic<bool>* cancel,
                              const std::function<void(int, int)>& progress,
                              const QString& dictionaryDir) {
    RevisionOutcome outcome;
    std::unique_ptr<Analyzer> analyzer;
    if (options.anyNeedsAnalysis()) {
        Result<std::unique_ptr<Analyzer>> opened = Analyzer::open(dictionaryDir);
        if (opened)
            analyzer = std::move(opened).value();
        else
            outcome.skipped = msg::rulesSkipped(opened.error().text);
    }
    RevisionCheck check(options, analyzer.get());
    int done = 0;
    for (const SectionToCheck& s : sections) {
        if (cancel && cancel->load()) {
            outcome.cancelled = true;
            break;
        }
        check.checkSection(s.section, s.text, cancel);
        if (progress) progress(++done, int(sections.size()));
    }
    if (cancel && cancel->load()) outcome.cancelled = true;
    outcome.findings = check.finish();
    return outcome;
}

} // namespace pote::revision
