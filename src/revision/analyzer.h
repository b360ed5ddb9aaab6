#pragma once
// Morphological analysis with MeCab and its IPA dictionary (UTF-8). One Analyzer per thread:
// a tagger is not to be shared.

#include "core/result.h"

#include <QStringView>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pote::revision {

// One word as MeCab sees it. The views point into the analyzer's buffers: valid until its
// next analyze.
struct Morpheme {
    qsizetype first = 0; // characters of the analysed text: [first, last)
    qsizetype last = 0;
    std::string_view surface;
    std::string_view pos;      // 品詞: 名詞, 動詞, 助詞 ...
    std::string_view pos1;     // 品詞細分類1: 自立, 接尾, 非自立 ...
    std::string_view conjType; // 活用型: 一段, 五段・ラ行 ...
    std::string_view conjForm; // 活用形: 未然形 ...
    std::string_view base;     // 原形
    std::string_view reading;  // 読み (katakana); empty for unknown words
};

class Analyzer {
public:
    // The dictionary MeCab's own configuration names, or the folder dictionaryDir. A missing or
    // unreadable dictionary, or one that is not UTF-8, is refused with the cat's message.
    static Result<std::unique_ptr<Analyzer>> open(const QString& dictionaryDir = {});
    ~Analyzer();
    Analyzer(const Analyzer&) = delete;
    Analyzer& operator=(const Analyzer&) = delete;

    // The words of text (one sentence or a piece of one), in order.
    const std::vector<Morpheme>& analyze(QStringView text);

private:
    struct Tagger;
    explicit Analyzer(std::unique_ptr<Tagger> tagger);

    std::unique_ptr<Tagger> m_tagger;
    std::string m_utf8;
    std::vector<qsizetype> m_charAt; // for each UTF-8 byte of m_utf8, its character
    std::vector<Morpheme> m_words;
};

// Where MeCab looks for the dictionary unless told: POTE_MECAB_DICDIR when set (tests use it
// to stand for a missing dictionary), else MeCab's own configuration.
QString defaultDictionaryDir();

} // namespace pote::revision
