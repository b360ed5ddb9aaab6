#include "revision/sentences.h"

namespace pote::revision {

namespace {

// Pairs of brackets: opener, closer.
constexpr char16_t kPairs[][2] = {
    {u'「', u'」'}, {u'『', u'』'}, {u'（', u'）'}, {u'(', u')'},
    {u'【', u'】'}, {u'〔', u'〕'}, {u'“', u'”'},   {u'《', u'》'},
};

} // namespace

bool isOpeningBracket(char16_t ch) {
    for (const auto& pair : kPairs)
        if (pair[0] == ch) return true;
    return false;
}

bool isClosingBracket(char16_t ch) {
    return openerOf(ch) != 0;
}

char16_t openerOf(char16_t closer) {
    for (const auto& pair : kPairs)
        if (pair[1] == closer) return pair[0];
    return 0;
}

bool isTerminator(char16_t ch) {
    return ch == u'。' || ch == u'！' || ch == u'？' || ch == u'!' || ch == u'?' || ch == u'．';
}

void splitSentences(QStringView paragraph, std::vector<Sentence>& out, std::vector<quint8>& depth) {
    out.clear();
    depth.resize(size_t(paragraph.size()));
    const qsizetype n = paragraph.size();
    int open = 0;
    qsizetype first = 0;
    for (qsizetype i = 0; i < n;) {
        const char16_t ch = paragraph[i].unicode();
        depth[size_t(i)] = quint8(qMin(open, 255));
        if (isOpeningBracket(ch)) {
            ++open;
            ++i;
            continue;
        }
        if (isClosingBracket(ch)) {
            if (open > 0) --open;
            ++i;
            continue;
        }
        if (!isTerminator(ch)) {
            ++i;
            continue;
        }
        Sentence s;
        s.first = first;
        s.ending = i;
        s.terminated = true;
        s.spoken = open > 0;
        // ！？ and 。」 belong to the sentence they end.
        while (i < n && isTerminator(paragraph[i].unicode())) {
            depth[size_t(i)] = quint8(qMin(open, 255));
            ++i;
        }
        while (i < n && isClosingBracket(paragraph[i].unicode())) {
            depth[size_t(i)] = quint8(qMin(open, 255));
            if (open > 0) --open;
            ++i;
        }
        s.last = i;
        out.push_back(s);
        first = i;
    }
    if (first < n) {
        Sentence s;
        s.first = first;
        s.last = n;
        s.ending = n;
        s.spoken = open > 0 || isClosingBracket(paragraph[n - 1].unicode());
        out.push_back(s);
    }
}

} // namespace pote::revision
