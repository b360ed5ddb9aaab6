#include "core/moved_text.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace pote::keeping {

namespace {

// The characters of stretches cut into pieces at their line breaks, breaks left out.
class Pieces {
public:
    struct Piece {
        const CodedText* text;
        std::size_t begin; // in chars
        std::size_t end;
    };

    // Adds the pieces of s; with onlyWithRareCodes, only those holding a code the encoder would
    // not write (no other piece has a code to give).
    void add(const CodedText& text, const Stretch& s, bool onlyWithRareCodes) {
        std::size_t begin = chars.size();
        bool rare = false;
        const auto close = [&] {
            if (chars.size() > begin && (rare || !onlyWithRareCodes)) {
                pieces.push_back({&text, begin, chars.size()});
                pieceOf.resize(chars.size(), pieces.size() - 1);
            } else {
                chars.resize(begin);
            }
            begin = chars.size();
            rare = false;
        };
        // Read from a character start of the whole text: a stretch may begin inside a pair that
        // a stray lead byte before it formed, and read from there its characters would be out
        // of step with what the text holds.
        qsizetype i = s.from;
        if (i > 0) {
            const auto [start, length] = text.charHolding(i, 0);
            if (start != i) i = start + length;
        }
        while (i < s.to) {
            const Char c = text.charAt(i);
            i += c.length;
            if (c.isBreak()) {
                close();
                continue;
            }
            rare = rare || text.isRareCode(c);
            chars.push_back(c);
        }
        close();
        taken.resize(chars.size(), false);
    }

    bool empty() const { return pieces.empty(); }
    const Piece& pieceHolding(std::size_t c) const { return pieces[pieceOf[c]]; }

    std::uint64_t fingerprint(const Piece& piece) const {
        std::uint64_t h = 0xcbf29ce484222325ULL;
        for (std::size_t c = piece.begin; c < piece.end; ++c)
            h = (h ^ chars[c].key) * 0x100000001b3ULL;
        return h;
    }

    std::vector<Char> chars;
    std::vector<std::size_t> pieceOf;
    std::vector<Piece> pieces;
    std::vector<bool> taken; // matched already
};

class MovedText {
public:
    MovedText(const CodedText& now, Byte* out, Pieces& from, Pieces& to)
        : m_now(now), m_out(out), m_from(from), m_to(to) {}

    // Pieces equal as a whole, the first removed one for the first inserted one.
    void matchWholePieces() {
        std::unordered_multimap<std::uint64_t, std::size_t> byPrint;
        for (std::size_t p = 0; p < m_from.pieces.size(); ++p)
            byPrint.emplace(m_from.fingerprint(m_from.pieces[p]), p);
        for (const Pieces::Piece& target : m_to.pieces) {
            const auto [first, last] = byPrint.equal_range(m_to.fingerprint(target));
            std::size_t best = m_from.pieces.size();
            for (auto it = first; it != last; ++it) {
                const Pieces::Piece& source = m_from.pieces[it->second];
                if (it->second < best && !m_from.taken[source.begin] &&
                    sameKeys(source.begin, target.begin, source.end - source.begin,
                             target.end - target.begin))
                    best = it->second;
            }
            if (best < m_from.pieces.size())
                give(m_from.pieces[best].begin, target.begin, target.end - target.begin);
        }
    }

    // Runs of equal characters around each rare code left, grown as far as both sides go on
    // alike, taken when they make a whole piece on either side. The work is bounded: equal
    // characters by the thousand (a long run of one duplicate) must not make a commit slow.
    void matchRunsInPieces() {
        std::unordered_set<std::uint32_t> wanted;
        for (std::size_t c = 0; c < m_from.chars.size(); ++c) {
            if (!m_from.taken[c] && m_from.pieceHolding(c).text->isRareCode(m_from.chars[c]))
                wanted.insert(m_from.chars[c].key);
        }
        if (wanted.empty()) return;
        std::unordered_map<std::uint32_t, std::vector<std::size_t>> places;
        for (std::size_t c = 0; c < m_to.chars.size(); ++c) {
            if (!m_to.taken[c] && wanted.count(m_to.chars[c].key))
                places[m_to.chars[c].key].push_back(c);
        }
        constexpr int kTriesPerCharacter = 8;
        // A run this long is moved text even where its ends are not those of a piece (typing
        // right beside the paste, a stray lead byte joining the character after it).
        constexpr std::size_t kLongRun = 2;
        qint64 budget = 8 * qint64(m_from.chars.size() + m_to.chars.size()) + 4096;
        for (std::size_t r = 0; r < m_from.chars.size() && budget > 0; ++r) {
            const Pieces::Piece& source = m_from.pieceHolding(r);
            if (m_from.taken[r] || !source.text->isRareCode(m_from.chars[r])) continue;
            const auto it = places.find(m_from.chars[r].key);
            if (it == places.end()) continue;
            int tries = 0;
            for (const std::size_t c : it->second) {
                if (m_to.taken[c]) continue;
                if (++tries > kTriesPerCharacter) break;
                const Pieces::Piece& target = m_to.pieceHolding(c);
                std::size_t before = 0;
                while (r - before > source.begin && c - before > target.begin &&
                       alike(r - before - 1, c - before - 1))
                    ++before;
                std::size_t after = 1;
                while (r + after < source.end && c + after < target.end &&
                       alike(r + after, c + after))
                    ++after;
                budget -= qint64(before + after);
                const bool wholeSource =
                    r - before == source.begin &&
                    (r + after == source.end || (r + after + 1 == source.end &&
                                                 strayLeadJoined(r + after, c + after, target)));
                const bool wholeTarget = c - before == target.begin && c + after == target.end;
                if (wholeSource || wholeTarget || before + after >= kLongRun) {
                    give(r - before, c - before, before + after);
                    break;
                }
            }
        }
    }

private:
    // Whether source character r is a stray lead byte that the new text joined to the character
    // after it, as target character c.
    bool strayLeadJoined(std::size_t r, std::size_t c, const Pieces::Piece& target) const {
        const Char& x = m_from.chars[r];
        const Byte lead = m_from.pieceHolding(r).text->p[x.at];
        return x.length == 1 && cp932::isLeadByte(lead) && c < target.end &&
               m_to.chars[c].isPair() && m_now.p[m_to.chars[c].at] == lead;
    }

    bool alike(std::size_t r, std::size_t c) const {
        return !m_from.taken[r] && !m_to.taken[c] && m_from.chars[r].key == m_to.chars[c].key;
    }

    bool sameKeys(std::size_t r, std::size_t c, std::size_t length, std::size_t otherLength) const {
        if (length != otherLength) return false;
        for (std::size_t k = 0; k < length; ++k) {
            if (!alike(r + k, c + k)) return false;
        }
        return true;
    }

    // The length characters from r take the codes of those from c.
    void give(std::size_t r, std::size_t c, std::size_t length) {
        const CodedText& source = *m_from.pieceHolding(r).text;
        for (std::size_t k = 0; k < length; ++k) {
            m_from.taken[r + k] = true;
            m_to.taken[c + k] = true;
            const Char& x = m_from.chars[r + k];
            if (!x.isPair()) continue;
            const qsizetype at = m_to.chars[c + k].at;
            const Byte* stored = source.p + x.at;
            // Within the run the neighbours are as they were where it came from; only the first
            // character has a new one before it, and a stray lead byte there must not take the
            // stored code's first byte as its pair.
            if (k == 0 && m_now.strayLeadEndsAt(at) && pairUnit(m_out[at - 1], stored[0])) continue;
            m_out[at] = stored[0];
            m_out[at + 1] = stored[1];
        }
    }

    const CodedText& m_now;
    Byte* m_out;
    Pieces& m_from;
    Pieces& m_to;
};

} // namespace

void restoreMovedText(const CodedText& old, const std::vector<Stretch>& removed,
                      const std::vector<QByteArrayView>& carried, const CodedText& now, Byte* out,
                      const std::vector<Stretch>& inserted) {
    if (inserted.empty()) return;
    std::vector<CodedText> carriedTexts;
    carriedTexts.reserve(carried.size()); // the pieces point into it
    Pieces from;
    for (const QByteArrayView bytes : carried) {
        carriedTexts.push_back(
            CodedText{{reinterpret_cast<const Byte*>(bytes.data()), bytes.size(), true}});
        from.add(carriedTexts.back(), {0, bytes.size()}, true);
    }
    for (const Stretch& s : removed)
        from.add(old, s, true);
    if (from.empty()) return;
    Pieces to;
    for (const Stretch& s : inserted)
        to.add(now, s, false);
    MovedText moved(now, out, from, to);
    moved.matchWholePieces();
    moved.matchRunsInPieces();
}

} // namespace pote::keeping
