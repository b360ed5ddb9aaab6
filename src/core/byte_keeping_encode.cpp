#include "core/byte_keeping_encode.h"

#include "core/coded_text.h"
#include "core/cp932.h"
#include "core/moved_text.h"
#include "core/text_diff.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pote {

namespace {

using cp932::isLeadByte;
using diff::Byte;
using keeping::Char;
using keeping::kBreakKey;
using keeping::pairUnit;
using keeping::Stretch;
using Text = keeping::CodedText;
using diff::commonPrefix;
using diff::commonSuffix;
using diff::Line;
using diff::LineList;
using diff::Matches;

// How far around a difference to look for a line where both texts meet again, in lines removed
// plus lines inserted.
constexpr std::size_t kNearbyReach = 40;
// A line this long (in bytes, without its break) is taken as the place where the texts meet
// again on its own; shorter ones (blank lines, a lone closing bracket) repeat too often, and the
// lines after them must agree as well, up to a long one or kMeetingLines in all.
constexpr qsizetype kDistinctiveLine = 8;
constexpr std::size_t kMeetingLines = 16;
// Limits of the comparisons of changed lines, by lines and by characters.
constexpr diff::Limits kLimits{
    .maxEdits = 1024, .maxSteps = qint64(32) << 20, .maxPath = qint64(4) << 20};
// Longest middle of a changed stretch, between its common start and end, compared by characters
// (bytes on each side).
constexpr qsizetype kMaxMiddle = qsizetype(2) << 20;
// New text wanted after a difference before looking for where the texts meet again, while the
// encoder is still at work (bytes).
constexpr qsizetype kLookahead = 16 * 1024;

// Puts stored codes back into the new text as the encoder writes it, part by part.
class Merger {
public:
    Merger(QByteArrayView stored, qsizetype newSizeAtMost, std::vector<QByteArrayView> carried)
        : m_old{{reinterpret_cast<const Byte*>(stored.data()), stored.size()}},
          m_carried(std::move(carried)),
          m_lineBudget(4 * (stored.size() + newSizeAtMost) + (qsizetype(1) << 20)) {}

    // Goes on with the new text, now known up to size (all of it when complete).
    void extend(char* data, qsizetype size, bool complete) {
        m_out = reinterpret_cast<Byte*>(data);
        m_new = Text{{m_out, size, complete}};
        while (!m_done) {
            if (walkEqual(m_o, m_n, m_old.n, m_new.n)) {
                m_done = true;
                keeping::restoreMovedText(m_old, m_deleted, m_carried, m_new, m_out, m_inserted);
                return;
            }
            // A difference: looking for where the texts meet again needs some text after it.
            if (!complete && m_new.n - m_n < kLookahead) return;
            const auto next = realign(m_old.lineStartAt(m_o), m_new.lineStartAt(m_n));
            if (!next) return;
            m_o = next->first;
            m_n = next->second;
        }
    }

private:
    // From o and n, character starts where the texts are in step, walks on while both hold the
    // same characters, giving stored codes back as it goes, up to oEnd and nEnd (line starts or
    // the ends). Stops at the start of the first character that differs; true when both ends
    // were reached together.
    bool walkEqual(qsizetype& o, qsizetype& n, qsizetype oEnd, qsizetype nEnd) {
        // A character start in both texts, with equal bytes from there to o and n.
        qsizetype mark = o;
        for (;;) {
            const qsizetype k =
                commonPrefix(m_old.p + o, m_new.p + n, std::min(oEnd - o, nEnd - n));
            o += k;
            n += k;
            // The encoder's text ends here for now: the walk goes on from here when it has more.
            const bool waiting = n == m_new.n && !m_new.complete;
            if (!waiting && o == oEnd && n == nEnd) return true;
            // A lone LF or CR in the store, where the encoder writes CR LF.
            if (!waiting && o < oEnd && m_old.p[o] == '\n' && (o == 0 || m_old.p[o - 1] != '\r') &&
                n + 1 < nEnd && m_new.p[n] == '\r' && m_new.p[n + 1] == '\n') {
                o += 1;
                n += 2;
                mark = o;
                continue;
            }
            if (!waiting && o > 0 && n > 0 && m_old.p[o - 1] == '\r' && m_new.p[n - 1] == '\r' &&
                n < nEnd && m_new.p[n] == '\n' && (o == m_old.n || m_old.p[o] != '\n')) {
                n += 1;
                mark = o;
                continue;
            }
            // The character holding the first differing byte, or, where one side's range ended,
            // the one that byte would begin: the walk stops on a character start of both texts.
            // (Stopping in the middle of one would let the rest of the comparison take a stray
            // lead byte of one text for the first byte of a character of the other.) A byte
            // that cannot lead a pair ends a character, so a character starts after the last
            // such byte.
            qsizetype c = o;
            while (c > mark && isLeadByte(m_old.p[c - 1]))
                --c;
            bool afterStrayLead = false;
            int oldLength = m_old.charLength(c);
            while (c + oldLength <= o) {
                afterStrayLead = oldLength == 1 && isLeadByte(m_old.p[c]);
                c += oldLength;
                oldLength = m_old.charLength(c);
            }
            const qsizetype cn = c + (n - o);
            o = c;
            n = cn;
            // In the new text a stray lead byte before here may join what now follows it (or,
            // while the encoder's text ends here, what comes next): then the difference starts
            // at that byte.
            if (afterStrayLead &&
                (waiting || (cn < m_new.n && pairUnit(m_new.p[cn - 1], m_new.p[cn])))) {
                --o;
                --n;
                return false;
            }
            if (waiting) return false;
            if (o == oEnd || n == nEnd) return false;
            if (oldLength != 2 || m_new.charLength(cn) != 2 ||
                pairUnit(m_old.p[c], m_old.p[c + 1]) != pairUnit(m_new.p[cn], m_new.p[cn + 1]))
                return false;
            // The same character under another code: the stored one goes back.
            std::memcpy(m_out + cn, m_old.p + c, 2);
            o += 2;
            n += 2;
            mark = o;
        }
    }

    bool linesEqual(const Line& x, const Line& y) const {
        if (x.hasBreak() != y.hasBreak() || x.length() != y.length()) return false;
        const qsizetype same = commonPrefix(m_old.p + x.start, m_new.p + y.start, x.length());
        if (same == x.length()) return true;
        // Codes of the same character keep the length; compare characters from a start at or
        // before the first difference.
        qsizetype c = same;
        while (c > 0 && isLeadByte(m_old.p[x.start + c - 1]))
            --c;
        for (qsizetype i = x.start + c, j = y.start + c; i < x.end;) {
            const Char a = m_old.charAt(i);
            const Char b = m_new.charAt(j);
            if (a.key != b.key) return false;
            i += a.length;
            j += b.length;
        }
        return true;
    }

    // Whether the texts meet again at line i of a and line j of b: the lines agree up to a
    // distinctive one, or up to both ends.
    bool meetAt(LineList& a, LineList& b, std::size_t i, std::size_t j) const {
        for (std::size_t r = 0; r < kMeetingLines; ++r) {
            Line x, y;
            const bool hasX = a.get(i + r, x);
            const bool hasY = b.get(j + r, y);
            if (!hasX || !hasY) return !hasX && !hasY && a.endsAt(i + r) && b.endsAt(j + r);
            if (!linesEqual(x, y)) return false;
            if (x.length() >= kDistinctiveLine) return true;
        }
        return true;
    }

    // The texts differ in the lines starting at lo and ln: finds where they meet again, settles
    // the lines between and returns where the walk goes on; nothing when that depends on new
    // text not known yet.
    std::optional<std::pair<qsizetype, qsizetype>> realign(qsizetype lo, qsizetype ln) {
        bool unknown = false;
        LineList a(m_old, lo, m_lineBudget, unknown);
        LineList b(m_new, ln, m_lineBudget, unknown);
        const auto meet = [&](std::size_t i, std::size_t j) {
            const qsizetype o1 = a.startOf(i);
            const qsizetype n1 = b.startOf(j);
            settle(lo, o1, ln, n1);
            return std::optional{std::pair{o1, n1}};
        };
        // Nearby, fewest lines first; as many removed as inserted first (a line changed in place).
        for (std::size_t d = 1; d <= kNearbyReach; ++d) {
            for (std::size_t step = 0; step <= 2 * d + 1; ++step) {
                const qsizetype shift = step % 2 ? qsizetype(step + 1) / 2 : -qsizetype(step / 2);
                const qsizetype removed = qsizetype(d / 2) + shift;
                if (removed < 0 || removed > qsizetype(d)) continue;
                const auto i = static_cast<std::size_t>(removed);
                const bool meets = meetAt(a, b, i, d - i);
                if (unknown) return std::nullopt;
                if (meets) return meet(i, d - i);
            }
        }
        if (!m_new.complete) return std::nullopt;
        // Far: a long run of lines removed or inserted, give or take two lines on the other side.
        for (std::size_t k = kNearbyReach - 1; m_lineBudget > 0; ++k) {
            Line unused;
            if (!a.get(k, unused) && !b.get(k, unused) && !a.endsAt(k) && !b.endsAt(k)) break;
            for (std::size_t s = 0; s <= 2; ++s) {
                if (meetAt(a, b, k, s)) return meet(k, s);
                if (meetAt(a, b, s, k)) return meet(s, k);
            }
        }
        return realignAtCommonEnd(lo, ln);
    }

    // Last resort: everything up to the lines the texts end with in common is one change.
    std::pair<qsizetype, qsizetype> realignAtCommonEnd(qsizetype lo, qsizetype ln) {
        qsizetype eo = m_old.n;
        qsizetype en = m_new.n;
        while (eo > lo && en > ln) {
            const Line x = m_old.lineBefore(eo, lo);
            const Line y = m_new.lineBefore(en, ln);
            if (!linesEqual(x, y)) break;
            eo = x.start;
            en = y.start;
        }
        if (eo == lo && en == ln) {
            // Nothing differs by lines, only in ways the walk does not take as equal: move on.
            eo = m_old.n;
            en = m_new.n;
        }
        settle(lo, eo, ln, en);
        return {eo, en};
    }

    // Lines of a range, with a key per line for the comparison by lines.
    struct Lines {
        std::vector<Line> lines;
        std::vector<std::uint64_t> keys;
        std::size_t size() const { return lines.size(); }
    };

    // Lines [o0, o1) of the stored text became lines [n0, n1) of the new one.
    void settle(qsizetype o0, qsizetype o1, qsizetype n0, qsizetype n1) {
        if (o0 == o1 || n0 == n1) {
            record(o0, o1, n0, n1);
            return;
        }
        Lines a{diff::linesOf(m_old, o0, o1), {}};
        Lines b{diff::linesOf(m_new, n0, n1), {}};
        // One line on a side (typing in a line, joining or splitting lines): by characters.
        if ((a.size() == 1 || b.size() == 1) && compareCharacters(o0, o1, n0, n1, false)) return;
        a.keys = lineKeys(m_old, a.lines);
        b.keys = lineKeys(m_new, b.lines);
        matchLines(a, 0, a.size(), b, 0, b.size(), true);
    }

    // By lines first: lines that are still there give their codes back, the runs of changed
    // lines between them are compared by characters. At first only long lines are matched:
    // blank lines and the like repeat, and matching one could cost the match of a line with
    // codes to keep; within a run that does not compare by characters, all lines are.
    void matchLines(const Lines& a, std::size_t i0, std::size_t i1, const Lines& b, std::size_t j0,
                    std::size_t j1, bool longOnly) {
        Matches matches;
        const auto same = [&](qsizetype x, qsizetype y) {
            return a.keys[i0 + std::size_t(x)] == b.keys[j0 + std::size_t(y)] &&
                   (!longOnly || a.lines[i0 + std::size_t(x)].length() >= kDistinctiveLine);
        };
        if (!diff::commonSubsequence(qsizetype(i1 - i0), qsizetype(j1 - j0), same, matches,
                                     kLimits)) {
            settleRun(a, i0, i1, b, j0, j1, false);
            return;
        }
        std::size_t i = i0;
        std::size_t j = j0;
        matches.emplace_back(i1 - i0, j1 - j0);
        for (const auto& [x, y] : matches) {
            const std::size_t mi = i0 + std::size_t(x);
            const std::size_t mj = j0 + std::size_t(y);
            settleRun(a, i, mi, b, j, mj, longOnly);
            if (mi < i1) {
                compareCharacters(a.lines[mi].start, a.lines[mi].next, b.lines[mj].start,
                                  b.lines[mj].next, true);
            }
            i = mi + 1;
            j = mj + 1;
        }
    }

    // Changed lines a[i0, i1) became b[j0, j1): by characters; past that comparison's limits,
    // by lines again (all of them, when only long ones were matched so far), else line by line
    // when both sides have as many (a change made to every line, such as an indent). What is
    // left takes the encoder's codes.
    void settleRun(const Lines& a, std::size_t i0, std::size_t i1, const Lines& b, std::size_t j0,
                   std::size_t j1, bool byLinesAgain) {
        if (i0 == i1 && j0 == j1) return;
        const qsizetype o0 = i0 < i1 ? a.lines[i0].start : 0;
        const qsizetype o1 = i0 < i1 ? a.lines[i1 - 1].next : 0;
        const qsizetype n0 = j0 < j1 ? b.lines[j0].start : 0;
        const qsizetype n1 = j0 < j1 ? b.lines[j1 - 1].next : 0;
        if (i0 == i1 || j0 == j1) {
            record(o0, o1, n0, n1);
            return;
        }
        if (compareCharacters(o0, o1, n0, n1, false)) return;
        if (byLinesAgain && (i1 - i0 > 1 || j1 - j0 > 1)) {
            matchLines(a, i0, i1, b, j0, j1, false);
            return;
        }
        pairLines(a, i0, i1, b, j0, j1);
    }

    // The last resort for a run of changed lines: line by line in order when both sides have as
    // many (a change made to every line, such as an indent), otherwise lines alike at their
    // start or end are paired, passing over a line on one side where that makes the next pair
    // alike. Pairs alike at their start or end are compared by characters.
    void pairLines(const Lines& a, std::size_t i0, std::size_t i1, const Lines& b, std::size_t j0,
                   std::size_t j1) {
        const std::vector<Ends> oldEnds = endsOf(m_old, a.lines, i0, i1);
        const std::vector<Ends> newEnds = endsOf(m_new, b.lines, j0, j1);
        const auto alike = [&](std::size_t i, std::size_t j) {
            const Ends& x = oldEnds[i - i0];
            const Ends& y = newEnds[j - j0];
            return x.head == y.head || x.tail == y.tail;
        };
        // Lines alike nowhere are not worth a comparison: they were rewritten.
        const auto compare = [&](std::size_t i, std::size_t j) {
            if (alike(i, j))
                compareCharacters(a.lines[i].start, a.lines[i].next, b.lines[j].start,
                                  b.lines[j].next, true);
            else
                record(a.lines[i].start, a.lines[i].next, b.lines[j].start, b.lines[j].next);
        };
        if (i1 - i0 == j1 - j0) {
            for (std::size_t i = i0, j = j0; i < i1; ++i, ++j)
                compare(i, j);
            return;
        }
        std::size_t i = i0;
        std::size_t j = j0;
        while (i < i1 && j < j1) {
            if (!alike(i, j) && j + 1 < j1 && alike(i, j + 1)) {
                record(0, 0, b.lines[j].start, b.lines[j].next);
                ++j;
            } else if (!alike(i, j) && i + 1 < i1 && alike(i + 1, j)) {
                record(a.lines[i].start, a.lines[i].next, 0, 0);
                ++i;
            } else {
                compare(i++, j++);
            }
        }
        record(i < i1 ? a.lines[i].start : 0, i < i1 ? a.lines[i1 - 1].next : 0,
               j < j1 ? b.lines[j].start : 0, j < j1 ? b.lines[j1 - 1].next : 0);
    }

    // Keys of the first and the last few characters of a line.
    struct Ends {
        std::uint64_t head;
        std::uint64_t tail;
    };

    static std::vector<Ends> endsOf(const Text& text, const std::vector<Line>& lines,
                                    std::size_t from, std::size_t to) {
        constexpr int kFew = 2;
        std::vector<Ends> ends;
        ends.reserve(to - from);
        for (std::size_t l = from; l < to; ++l) {
            std::uint64_t head = 0;
            std::uint64_t last[kFew] = {};
            int count = 0;
            for (qsizetype i = lines[l].start; i < lines[l].end; ++count) {
                const Char c = text.charAt(i);
                if (count < kFew) head = head * 0x100000001b3ULL + c.key + 1;
                last[count % kFew] = c.key + 1;
                i += c.length;
            }
            std::uint64_t tail = 0;
            for (int k = 0; k < kFew; ++k)
                tail = tail * 0x100000001b3ULL + last[(count + k) % kFew];
            ends.push_back({head, tail});
        }
        return ends;
    }

    void record(qsizetype o0, qsizetype o1, qsizetype n0, qsizetype n1) {
        add(m_deleted, o0, o1);
        add(m_inserted, n0, n1);
    }

    // Adds a stretch, joined to the last one when it goes on from there.
    static void add(std::vector<Stretch>& stretches, qsizetype from, qsizetype to) {
        if (from >= to) return;
        if (!stretches.empty() && stretches.back().to == from)
            stretches.back().to = to;
        else
            stretches.push_back({from, to});
    }

    // A key per line: equal lines (codes of the same character counting as equal) have equal
    // keys, and unequal ones almost never do; a false match only costs a character comparison.
    static std::vector<std::uint64_t> lineKeys(const Text& text, const std::vector<Line>& lines) {
        std::vector<std::uint64_t> keys;
        keys.reserve(lines.size());
        for (const Line& line : lines) {
            std::uint64_t h = line.hasBreak() ? 0x84222325cbf29ce4ULL : 0xcbf29ce484222325ULL;
            for (qsizetype i = line.start; i < line.end;) {
                const Char c = text.charAt(i);
                h = (h ^ c.key) * 0x100000001b3ULL;
                i += c.length;
            }
            keys.push_back(h);
        }
        return keys;
    }

    // Characters [o0, o1) of the stored text became [n0, n1) of the new one (both start lines):
    // the common ones get their stored codes back; the rest are recorded as removed or
    // inserted. The common start and end are read in place; only the middle between them is
    // compared, and past that comparison's limits its characters are recorded as they are when
    // `partly`, and left alone (false) otherwise.
    bool compareCharacters(qsizetype o0, qsizetype o1, qsizetype n0, qsizetype n1, bool partly) {
        if (o1 - o0 == n1 - n0 && commonPrefix(m_old.p + o0, m_new.p + n0, o1 - o0) == o1 - o0)
            return true;
        qsizetype i = o0;
        qsizetype j = n0;
        if (walkEqual(i, j, o1, n1)) return true;
        const auto [ti, tj] = keepCommonEnd(i, o1, j, n1);
        if (ti - i > kMaxMiddle || tj - j > kMaxMiddle) {
            if (!partly) return false;
            record(i, ti, j, tj);
            return true;
        }
        // The middle, line breaks left out of the matching: they have no code to keep, and
        // matching one could cost a character that has.
        const std::vector<Char> oc = m_old.charsOf(i, ti);
        const std::vector<Char> nc = m_new.charsOf(j, tj);
        const qsizetype om = qsizetype(oc.size());
        const qsizetype nm = qsizetype(nc.size());
        Matches matches;
        const auto same = [&](qsizetype x, qsizetype y) {
            const std::uint32_t key = oc[std::size_t(x)].key;
            return key == nc[std::size_t(y)].key && key != kBreakKey;
        };
        if (om > 0 && nm > 0 && !diff::commonSubsequence(om, nm, same, matches, kLimits)) {
            if (!partly) return false;
            matches.clear();
        }
        // Walks the matches, with one past the end of both middles as the last.
        qsizetype x = 0;
        qsizetype y = 0;
        matches.emplace_back(om, nm);
        for (const auto& [mx, my] : matches) {
            if (mx > x)
                add(m_deleted, oc[std::size_t(x)].at,
                    oc[std::size_t(mx - 1)].at + oc[std::size_t(mx - 1)].length);
            if (my > y)
                add(m_inserted, nc[std::size_t(y)].at,
                    nc[std::size_t(my - 1)].at + nc[std::size_t(my - 1)].length);
            if (mx < om) {
                const bool strayBefore = my > 0
                                             ? nc[std::size_t(my - 1)].length == 1 &&
                                                   isLeadByte(m_new.p[nc[std::size_t(my - 1)].at])
                                             : m_new.strayLeadEndsAt(j);
                keep(oc[std::size_t(mx)], nc[std::size_t(my)], strayBefore);
            }
            x = mx + 1;
            y = my + 1;
        }
        return true;
    }

    // The common end of [i, o1) and [j, n1) (i and j character starts, o1 and n1 line starts),
    // read backwards: the stored codes of its characters go back. Returns where it starts.
    std::pair<qsizetype, qsizetype> keepCommonEnd(qsizetype i, qsizetype o1, qsizetype j,
                                                  qsizetype n1) {
        // eo and en: character starts in both texts, with the same characters from there on.
        qsizetype eo = o1;
        qsizetype en = n1;
        for (;;) {
            const qsizetype same = commonSuffix(m_old.p + i, eo - i, m_new.p + j, en - j);
            const qsizetype po = eo - same;
            const qsizetype pn = en - same;
            if (po == i || pn == j) return alignedStart(i, po, eo, j, pn);
            // A line break the store holds as a lone LF or CR, and the encoder as CR LF.
            if (pn - 2 >= j && m_new.p[pn - 1] == '\n' && m_new.p[pn - 2] == '\r' &&
                ((m_old.p[po - 1] == '\n' && (po - 2 < i || m_old.p[po - 2] != '\r')) ||
                 (m_old.p[po - 1] == '\r' && (po == m_old.n || m_old.p[po] != '\n')))) {
                eo = po - 1;
                en = pn - 2;
                continue;
            }
            const auto [co, lo] = m_old.charHolding(po - 1, i);
            const auto [cn, ln] = m_new.charHolding(pn - 1, j);
            if (lo != 2 || ln != 2 || eo - co != en - cn ||
                pairUnit(m_old.p[co], m_old.p[co + 1]) != pairUnit(m_new.p[cn], m_new.p[cn + 1]))
                return alignedStart(i, po, eo, j, pn);
            keep(Char{0, 2, co}, Char{0, 2, cn}, m_new.strayLeadEndsAt(cn));
            eo = co;
            en = cn;
        }
    }

    // The first place in the equal bytes [po, eo) and [pn, ...) that starts a character in both
    // texts (i and j: character starts before them): po itself, or after the first byte that
    // cannot lead a pair, or eo.
    std::pair<qsizetype, qsizetype> alignedStart(qsizetype i, qsizetype po, qsizetype eo,
                                                 qsizetype j, qsizetype pn) const {
        const auto startsAt = [](const Text& text, qsizetype floor, qsizetype pos) {
            if (pos == floor) return true;
            const auto [c, length] = text.charHolding(pos - 1, floor);
            return c + length == pos;
        };
        if (startsAt(m_old, i, po) && startsAt(m_new, j, pn)) return {po, pn};
        for (qsizetype q = po + 1; q < eo; ++q) {
            if (!isLeadByte(m_old.p[q - 1])) return {q, pn + (q - po)};
        }
        return {eo, pn + (eo - po)};
    }

    // Gives stored character x its code back in place of the equal new character y, unless a
    // stray lead byte right before y would read the stored code's first byte as its pair.
    void keep(const Char& x, const Char& y, bool afterStrayLead) {
        if (!x.isPair()) return;
        Byte* at = m_out + y.at;
        const Byte* stored = m_old.p + x.at;
        if (at[0] == stored[0] && at[1] == stored[1]) return;
        if (afterStrayLead && pairUnit(at[-1], stored[0])) return;
        at[0] = stored[0];
        at[1] = stored[1];
    }

    const Text m_old;
    const std::vector<QByteArrayView> m_carried;
    Byte* m_out = nullptr;
    Text m_new{{nullptr, 0, false}};
    qsizetype m_lineBudget;
    // Where the walk goes on: character starts in step in both texts.
    qsizetype m_o = 0;
    qsizetype m_n = 0;
    bool m_done = false;
    std::vector<Stretch> m_deleted;
    std::vector<Stretch> m_inserted;
};

} // namespace

QByteArray encodeKeepingStoredBytes(QByteArrayView stored, QStringView paneText,
                                    const std::vector<QByteArray>& carried, bool* lossy) {
    if (stored.isEmpty() && carried.empty()) return cp932::encodeFromPane(paneText, lossy);
    // Part by part, so that the comparison reads what the encoder wrote while it is still in
    // the processor's cache.
    Merger merger(stored, 2 * paneText.size(), {carried.begin(), carried.end()});
    return cp932::encodeFromPaneByParts(
        paneText,
        [&](char* data, qsizetype size, bool complete) { merger.extend(data, size, complete); },
        lossy);
}

} // namespace pote
