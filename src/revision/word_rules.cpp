#include "revision/word_rules.h"

#include "revision/revision_messages.h"
#include "vertical/notation.h"

#include <QSet>

namespace pote::revision {

namespace {

QString fromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

bool isParticle(const Morpheme& m) {
    return m.pos == "助詞";
}

// Characters of a UTF-8 string, one by one.
template <typename F> void forEachCodePoint(std::string_view s, F&& f) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        char32_t c;
        size_t n;
        if (b < 0x80) {
            c = b;
            n = 1;
        } else if (b < 0xE0) {
            c = b & 0x1F;
            n = 2;
        } else if (b < 0xF0) {
            c = b & 0x0F;
            n = 3;
        } else {
            c = b & 0x07;
            n = 4;
        }
        for (size_t k = 1; k < n && i + k < s.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        f(c);
        i += n;
    }
}

bool isHiragana(char32_t c) {
    return c >= 0x3041 && c <= 0x3096;
}
bool isKatakana(char32_t c) {
    return (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC;
}

// Words whose spellings are worth comparing: kanji and kana only.
bool isJapaneseWord(std::string_view s) {
    bool ok = !s.empty();
    forEachCodePoint(s, [&](char32_t c) {
        ok = ok &&
             (isHiragana(c) || isKatakana(c) || (c < 0x10000 && vertical::isKanji(char16_t(c))));
    });
    return ok;
}

// The reading of a conjugating word's dictionary form: 出来(デキ) of 出来る gives デキル. The
// conjugated tail is kana in both forms, so the reading keeps its stem and takes the base's
// tail in katakana. Empty when the forms do not line up so.
bool baseReading(const Morpheme& m, std::string& out) {
    size_t common = 0;
    while (common < m.surface.size() && common < m.base.size() &&
           m.surface[common] == m.base[common])
        ++common;
    while (common > 0 && (static_cast<unsigned char>(m.surface[common]) & 0xC0) == 0x80)
        --common; // back to a character's start
    const std::string_view surfaceTail = m.surface.substr(common);
    const std::string_view baseTail = m.base.substr(common);
    bool kana = true;
    forEachCodePoint(surfaceTail, [&](char32_t c) { kana = kana && isHiragana(c); });
    forEachCodePoint(baseTail, [&](char32_t c) { kana = kana && isHiragana(c); });
    // Katakana are three bytes in UTF-8, as are the hiragana of the tail.
    if (!kana || surfaceTail.size() > m.reading.size()) return false;
    out.append(m.reading.substr(0, m.reading.size() - surfaceTail.size()));
    forEachCodePoint(baseTail, [&](char32_t c) {
        const char32_t k = c + 0x60;
        out += char(0xE0 | (k >> 12));
        out += char(0x80 | ((k >> 6) & 0x3F));
        out += char(0x80 | (k & 0x3F));
    });
    return true;
}

QSet<char16_t> kanjiOf(const QString& s) {
    QSet<char16_t> kanji;
    for (QChar c : s)
        if (vertical::isKanji(c.unicode())) kanji.insert(c.unicode());
    return kanji;
}

// Verbs and adjectives whose kana spelling is the same word: a kana verb is otherwise too often
// another word of the same sound (なる is 成る, not 鳴る; かける is 掛ける, not 駆ける).
bool writtenInKanaAlike(const QString& kanjiSpelling) {
    static const QSet<QString> words = {
        QStringLiteral("出来る"), QStringLiteral("分かる"), QStringLiteral("判る"),
        QStringLiteral("解る"),   QStringLiteral("下さる"), QStringLiteral("頂く"),
        QStringLiteral("戴く"),   QStringLiteral("致す"),   QStringLiteral("居る"),
        QStringLiteral("有る"),   QStringLiteral("無い"),   QStringLiteral("良い"),
        QStringLiteral("貰う"),   QStringLiteral("為る"),   QStringLiteral("仰る"),
        QStringLiteral("宜しい"), QStringLiteral("欲しい"), QStringLiteral("美味しい"),
        QStringLiteral("可愛い"), QStringLiteral("凄い"),   QStringLiteral("面白い"),
        QStringLiteral("煩い"),   QStringLiteral("易しい")};
    return words.contains(kanjiSpelling);
}

// Two spellings of one reading and part of speech are one word written two ways when one
// spelling's kanji are among the other's. A kana spelling stands for a kanji one only where it
// cannot well be another word: three kana or more for nouns (あめ may be 飴), and the words
// above for verbs and adjectives.
bool spelledAlike(const QString& a, const QString& b, bool conjugating) {
    const QSet<char16_t> ka = kanjiOf(a);
    const QSet<char16_t> kb = kanjiOf(b);
    if (!ka.contains(kb) && !kb.contains(ka)) return false;
    if (!ka.isEmpty() && !kb.isEmpty()) return true; // okurigana: 取り扱い, 取扱い
    const QString& kana = ka.isEmpty() ? a : b;
    const QString& kanji = ka.isEmpty() ? b : a;
    if (kanji == kana) return false;
    return conjugating ? writtenInKanaAlike(kanji) : kana.size() >= 3;
}

} // namespace

void checkDoubledParticles(const CheckedParagraph& paragraph, qsizetype offset,
                           const std::vector<Morpheme>& words, FindingSink& sink) {
    for (size_t i = 0; i + 1 < words.size(); ++i) {
        const Morpheme& a = words[i];
        const Morpheme& b = words[i + 1];
        if (!isParticle(a) || a.surface != b.surface || a.last != b.first) continue;
        // のの reads as a particle and a noun の.
        if (!isParticle(b) && !(b.pos == "名詞" && b.pos1 == "非自立")) continue;
        // はははは is laughter, not a slip.
        if (i > 0 && words[i - 1].surface == a.surface && words[i - 1].last == a.first) continue;
        if (i + 2 < words.size() && words[i + 2].surface == a.surface &&
            words[i + 2].first == b.last)
            continue;
        const QString particle = fromUtf8(a.surface);
        sink.add(paragraph, offset + a.first, offset + b.last, Rule::DoubledParticles,
                 msg::doubledParticle(particle), particle);
        ++i;
    }
}

void checkDroppedRa(const CheckedParagraph& paragraph, qsizetype offset,
                    const std::vector<Morpheme>& words, const std::vector<quint8>& depth,
                    FindingSink& sink) {
    for (size_t i = 0; i < words.size(); ++i) {
        const Morpheme& m = words[i];
        if (m.pos != "動詞") continue;
        // What a character says is the character's own voice.
        if (depth[size_t(offset + m.first)] > 0) continue;
        qsizetype first = m.first;
        QString written;
        QString suggestion;
        if (m.pos1 == "接尾" && m.base == "れる" && i > 0) {
            // 食べ + れる: an ichidan or kuru stem takes られる.
            const Morpheme& stem = words[i - 1];
            const bool ichidan = stem.conjType == "一段" || stem.conjType.starts_with("カ変");
            if (stem.pos != "動詞" || !ichidan || stem.conjForm != "未然形" || stem.last != m.first)
                continue;
            first = stem.first;
            written = fromUtf8(stem.surface) + fromUtf8(m.surface);
            suggestion = fromUtf8(stem.surface) + QStringLiteral("ら") + fromUtf8(m.surface);
        } else if (m.base == "見れる" || m.base == "来れる" || m.base == "みれる") {
            // The dictionary knows these two as words of their own.
            const std::string_view stem =
                m.base.substr(0, m.base.size() - std::string_view("れる").size());
            if (!m.surface.starts_with(stem)) continue;
            written = fromUtf8(m.surface);
            suggestion =
                fromUtf8(stem) + QStringLiteral("ら") + fromUtf8(m.surface.substr(stem.size()));
        } else {
            continue;
        }
        sink.add(paragraph, offset + first, offset + m.last, Rule::DroppedRa,
                 msg::droppedRa(written, suggestion), suggestion);
    }
}

int endingWord(const std::vector<Morpheme>& words) {
    for (int i = int(words.size()) - 1; i >= 0; --i)
        if (words[size_t(i)].pos != "記号") return i;
    return -1;
}

void EndingRun::add(const CheckedParagraph& paragraph, qsizetype first, qsizetype last,
                    const std::string_view& word, FindingSink& sink) {
    if (word != m_word) {
        m_word.assign(word);
        m_run = 1;
        return;
    }
    ++m_run;
    constexpr int kRunFound = 3;
    if (m_run < kRunFound) return;
    const QString ending = paragraph.text.mid(first, last - first);
    if (m_run == kRunFound) {
        m_finding = sink.add(paragraph, first, last, Rule::RepeatedEndings,
                             msg::repeatedEndings(ending, m_run));
    } else {
        sink.findings[m_finding].message =
            msg::repeatedEndings(sink.findings[m_finding].text, m_run);
    }
}

void VariantTally::add(int section, const CheckedParagraph& paragraph, qsizetype offset,
                       const std::vector<Morpheme>& words) {
    constexpr size_t kPlacesPerSpelling = 100;
    for (const Morpheme& m : words) {
        if (m.reading.empty() || m.base.empty()) continue;
        m_key.clear();
        if (m.pos == "名詞") {
            // Names, pronouns (a character's わたし is their voice), numbers and suffixes are
            // not spellings to even out, nor the formal nouns (こと, とき) that careful writers
            // keep in kana while the noun itself (事, 時) has its kanji.
            if (m.pos1 == "固有名詞" || m.pos1 == "代名詞" || m.pos1 == "数" || m.pos1 == "接尾" ||
                m.pos1 == "非自立")
                continue;
            m_key = "N";
            m_key.append(m.reading);
        } else if (m.pos == "副詞") {
            m_key = "D";
            m_key.append(m.reading);
        } else if (m.pos == "動詞" || m.pos == "形容詞") {
            // The helping verb (〜ていく, 〜てみる) is kept apart from the verb (行く, 見る):
            // writing one in kana and the other in kanji is the usual care, not a slip.
            m_key = m.pos == "動詞" ? "V" : "A";
            m_key.append(m.pos1);
            m_key.append(m.conjType);
            m_key += '\t';
            if (!baseReading(m, m_key)) continue;
        } else {
            continue;
        }
        if (!isJapaneseWord(m.base)) continue;
        std::vector<Spelling>& spellings = m_words[m_key];
        auto it = std::find_if(spellings.begin(), spellings.end(),
                               [&](const Spelling& s) { return s.base == m.base; });
        if (it == spellings.end()) {
            spellings.push_back({std::string(m.base), 0, {}});
            it = spellings.end() - 1;
        }
        ++it->count;
        if (it->places.size() < kPlacesPerSpelling) {
            const qsizetype first = offset + m.first;
            const qsizetype last = offset + m.last;
            it->places.push_back(
                {section, paragraph.byteOffset(first), paragraph.byteLength(first, last)});
        }
    }
}

void VariantTally::finish(std::vector<Finding>& out) {
    for (const auto& [key, spellings] : m_words) {
        if (spellings.size() < 2) continue;
        // The spelling written most is the writer's choice; the first seen on a tie.
        const Spelling* usual = &spellings.front();
        for (const Spelling& s : spellings)
            if (s.count > usual->count) usual = &s;
        const QString usualText = QString::fromStdString(usual->base);
        QList<msg::Spelling> listed{{usualText, usual->count}};
        std::vector<const Spelling*> slips;
        const bool conjugating = key.front() == 'V' || key.front() == 'A';
        for (const Spelling& s : spellings) {
            if (&s == usual ||
                !spelledAlike(QString::fromStdString(s.base), usualText, conjugating))
                continue;
            slips.push_back(&s);
            listed.append({QString::fromStdString(s.base), s.count});
        }
        for (const Spelling* s : slips) {
            const QString text = QString::fromStdString(s->base);
            const QString message = msg::variants(text, listed);
            for (const Place& p : s->places)
                out.push_back(
                    {p.section, p.offset, p.length, Rule::Variants, text, message, usualText});
        }
    }
}

} // namespace pote::revision
