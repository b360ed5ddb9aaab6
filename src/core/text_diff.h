#pragma once
// The generic half of comparing two texts: equal starts and ends of byte ranges, the lines of a
// text (CR LF, a lone CR or a lone LF ending each), and a longest common subsequence of two
// sequences under a caller's notion of equality. What counts as the same character, and what
// to do with the result, is the caller's.

#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

namespace pote::diff {

using Byte = unsigned char;

constexpr bool isBreak(Byte b) {
    return b == '\r' || b == '\n';
}

// Length of the common start of a and b, n bytes at most.
qsizetype commonPrefix(const Byte* a, const Byte* b, qsizetype n);
// Length of the common end of a[0, na) and b[0, nb).
qsizetype commonSuffix(const Byte* a, qsizetype na, const Byte* b, qsizetype nb);
// The first CR or LF in p[from, n), or n.
qsizetype findBreak(const Byte* p, qsizetype from, qsizetype n);

// A line: its characters [start, end) and its break [end, next); the last line may have none.
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
    bool hasBreak() const { return next > end; }
    qsizetype length() const { return end - start; }
    friend bool operator==(const Line&, const Line&) = default;
};

// A text's bytes; a text still being written may be known only up to n so far (complete false).
struct Bytes {
    const Byte* p = nullptr;
    qsizetype n = 0;
    bool complete = true;

    Line lineFrom(qsizetype start) const;
    // The line that ends where `next` is (a line start or the end), starting no earlier than
    // floor.
    Line lineBefore(qsizetype next, qsizetype floor) const;
    // The start of the line that holds pos (a CR LF belongs to the line it ends).
    qsizetype lineStartAt(qsizetype pos) const;
};

// The lines of [from, to), which starts a line.
std::vector<Line> linesOf(const Bytes& text, qsizetype from, qsizetype to);

// The lines of a text from a start, read as far as they are asked for. Reading stops for good
// when the shared budget of bytes is spent, so that searches far ahead stay linear overall.
// Asking beyond what is known of an incomplete text sets `unknown`.
class LineList {
public:
    LineList(const Bytes& text, qsizetype from, qsizetype& budget, bool& unknown)
        : m_text(text), m_next(from), m_budget(budget), m_unknown(unknown) {}

    // The i-th line; false past the last line read.
    bool get(std::size_t i, Line& line);
    // Whether the text ends right before the i-th line.
    bool endsAt(std::size_t i);
    // Where the i-th line starts: the text's end after the last line.
    qsizetype startOf(std::size_t i);

private:
    const Bytes& m_text;
    qsizetype m_next;
    qsizetype& m_budget;
    bool& m_unknown;
    std::vector<Line> m_lines;
};

// Index pairs (x, y), in order, of the elements a longest common subsequence matches.
using Matches = std::vector<std::pair<qsizetype, qsizetype>>;

// How much a common subsequence may cost before the search gives up: edits beyond the
// difference in length, steps along the diagonals, and the memory of the path (entries).
struct Limits {
    qsizetype maxEdits = 1024;
    qint64 maxSteps = qint64(32) << 20;
    qint64 maxPath = qint64(4) << 20;
};

// The matches of a longest common subsequence of a[0, n) and b[0, m), where same(x, y) tells
// whether a[x] and b[y] may be matched (Myers' O(ND) method); false, and matches untouched, when
// that takes more than the limits.
template <class Same>
bool commonSubsequence(qsizetype n, qsizetype m, const Same& same, Matches& matches,
                       const Limits& limits = {}) {
    const qsizetype maxD = std::min<qsizetype>(std::abs(n - m) + limits.maxEdits, n + m);
    if ((maxD + 2) * (maxD + 2) > limits.maxPath ||
        n + m > std::numeric_limits<std::int32_t>::max())
        return false;
    // v[k + offset]: the furthest x reached on diagonal k = x - y.
    const qsizetype offset = maxD + 1;
    std::vector<qsizetype> v(static_cast<std::size_t>(2 * maxD + 3), 0);
    // trace[d]: v over k in [-d-1, d+1] before round d, to walk the path back.
    std::vector<std::vector<std::int32_t>> trace;
    qint64 steps = 0;
    for (qsizetype d = 0; d <= maxD; ++d) {
        trace.emplace_back(v.begin() + (offset - d - 1), v.begin() + (offset + d + 2));
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x = (k == -d || (k != d && v[k - 1 + offset] < v[k + 1 + offset]))
                              ? v[k + 1 + offset]
                              : v[k - 1 + offset] + 1;
            qsizetype y = x - k;
            const qsizetype snakeStart = x;
            while (x < n && y < m && same(x, y)) {
                ++x;
                ++y;
            }
            steps += x - snakeStart + 1;
            v[k + offset] = x;
            if (x < n || y < m) continue;
            const std::size_t first = matches.size();
            qsizetype px = n;
            qsizetype py = m;
            for (qsizetype e = d; e >= 0; --e) {
                const std::vector<std::int32_t>& t = trace[std::size_t(e)];
                const auto at = [&](qsizetype kk) { return t[std::size_t(kk + e + 1)]; };
                const qsizetype kk = px - py;
                const qsizetype prevK =
                    (kk == -e || (kk != e && at(kk - 1) < at(kk + 1))) ? kk + 1 : kk - 1;
                const qsizetype prevX = at(prevK);
                const qsizetype prevY = prevX - prevK;
                while (px > prevX && py > prevY) {
                    --px;
                    --py;
                    matches.emplace_back(px, py);
                }
                if (e > 0) {
                    px = prevX;
                    py = prevY;
                }
            }
            std::reverse(matches.begin() + std::ptrdiff_t(first), matches.end());
            return true;
        }
        if (steps > limits.maxSteps) return false;
    }
    return false;
}

} // namespace pote::diff
