#include "editing/replace.h"

#include <algorithm>
#include <vector>

namespace pote {

ReplaceAllResult replace_all(const QByteArray& text, QByteArrayView pattern,
                             QByteArrayView replacement, CaseMode mode) {
    // Searching the growing result right after the inserted replacement sees the same bytes as
    // searching the original right after the replaced occurrence, so the original is searched.
    // The occurrences are found first, so that the result is allocated once at its final size.
    const TextSearcher searcher(pattern, mode);
    std::vector<qsizetype> matches;
    for (qsizetype m = searcher.find(text, 0);
         m >= 0 && static_cast<int>(matches.size()) < kReplaceAllLimit;
         m = searcher.find(text, m + pattern.size()))
        matches.push_back(m);

    ReplaceAllResult result;
    result.count = static_cast<int>(matches.size());
    if (matches.empty()) {
        result.text = text;
        return result;
    }
    const qsizetype size = text.size() + static_cast<qsizetype>(matches.size()) *
                                             (replacement.size() - pattern.size());
    result.text.resize(size);
    char* out = result.text.data();
    qsizetype copied = 0;
    for (const qsizetype m : matches) {
        out = std::copy(text.constData() + copied, text.constData() + m, out);
        out = std::copy(replacement.begin(), replacement.end(), out);
        copied = m + pattern.size();
    }
    std::copy(text.constData() + copied, text.constData() + text.size(), out);
    return result;
}

ReplaceNextResult replace_next(QByteArrayView text, qsizetype from, QByteArrayView pattern,
                               qsizetype replacementSize, CaseMode mode) {
    ReplaceNextResult result;
    const TextSearcher searcher(pattern, mode);
    result.match = searcher.find(text, from);
    if (result.match < 0) return result;
    // The text after the replacement holds from match + replacementSize on what the unchanged
    // text holds from match + pattern size on.
    const qsizetype next = searcher.find(text, result.match + pattern.size());
    if (next >= 0) result.nextMatch = next + replacementSize - pattern.size();
    return result;
}

QString replaceNote(ReplaceNote note) {
    switch (note) {
    case ReplaceNote::TypingPattern:
        return QStringLiteral("なんか入力してるにゃ～～？？");
    case ReplaceNote::TypingReplacement:
        return QStringLiteral("その文字に変換したいにゃん？？");
    case ReplaceNote::NotFound:
        return QStringLiteral("発見できなかったにゃ！！");
    case ReplaceNote::NoMore:
        return QStringLiteral("もう無いみたいだにゃ！！");
    case ReplaceNote::NoneToReplace:
        return QStringLiteral("文字列ぜんぜん無いみたいだにゃん。");
    }
    return {};
}

QString replacedCountNote(int count) {
    return QString::number(count) + QStringLiteral("個の文字列を置換しちゃったにゃん。");
}

} // namespace pote
