#include "editing/replace.h"

#include <algorithm>

namespace pote {

ReplaceAllResult replace_all(const QByteArray& text, QByteArrayView pattern,
                             QByteArrayView replacement, CaseMode mode) {
    ReplaceAllResult result;
    const TextSearcher searcher(pattern, mode);
    // Searching the growing result right after the inserted replacement sees the same bytes as
    // searching the original right after the replaced occurrence, so the original is searched
    // and the result only ever appended to.
    qsizetype copied = 0;
    while (result.count < kReplaceAllLimit) {
        const qsizetype m = searcher.find(text, copied);
        if (m < 0) break;
        if (result.count == 0)
            result.text.reserve(text.size() +
                                std::max<qsizetype>(0, replacement.size() - pattern.size()));
        result.text.append(QByteArrayView(text).sliced(copied, m - copied));
        result.text.append(replacement);
        copied = m + pattern.size();
        ++result.count;
    }
    if (result.count == 0) {
        result.text = text;
        return result;
    }
    result.text.append(QByteArrayView(text).sliced(copied));
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
