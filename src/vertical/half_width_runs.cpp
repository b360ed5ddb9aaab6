#include "vertical/half_width_runs.h"

namespace pote::vertical {

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

void markEdges(const Paragraph& p, std::vector<bool>& edges) {
    edges.clear();
    if (p.ruby.isEmpty() && p.emphasis.isEmpty()) return;
    const size_t n = size_t(p.chars.size());
    edges.assign(n + 1, false);
    const auto mark = [&](qsizetype first, qsizetype last) {
        // Marks come from the parser in range; a hand-made paragraph may not.
        if (first >= 0 && size_t(first) <= n) edges[size_t(first)] = true;
        if (last >= 0 && size_t(last) <= n) edges[size_t(last)] = true;
    };
    for (const RubySpan& r : p.ruby)
        mark(r.first, r.last);
    for (const EmphasisSpan& e : p.emphasis)
        mark(e.first, e.last);
}

qsizetype halfWidthRunEnd(const QList<TextChar>& chars, qsizetype first,
                          const std::vector<bool>& edges) {
    const qsizetype n = chars.size();
    const auto open = [&](qsizetype k) { return edges.empty() || !edges[size_t(k)]; };
    const auto inRun = [&](qsizetype k) {
        return k < n && isHalfWidthGraphic(chars[k].ch) && open(k);
    };
    qsizetype end = first + 1;
    for (;;) {
        if (inRun(end))
            ++end;
        else if (end < n && chars[end].ch == u' ' && open(end) && inRun(end + 1))
            end += 2;
        else
            return end;
    }
}

bool standsUpright(const QList<TextChar>& chars, qsizetype first, qsizetype last) {
    switch (last - first) {
    case 1:
        return isDigit(chars[first].ch);
    case 2: {
        const char16_t a = chars[first].ch, b = chars[first + 1].ch;
        return (isDigit(a) && isDigit(b)) || (a == u'!' && (b == u'!' || b == u'?'));
    }
    default:
        return false;
    }
}

} // namespace pote::vertical
