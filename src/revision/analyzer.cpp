#include "revision/analyzer.h"

#include "revision/revision_messages.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <mecab.h>

namespace pote::revision {

struct Analyzer::Tagger {
    mecab_t* mecab = nullptr;
    ~Tagger() {
        if (mecab) mecab_destroy(mecab);
    }
};

namespace {

// The field-th comma-separated field of a MeCab feature string.
void splitFeatures(std::string_view feature, Morpheme& m) {
    std::string_view fields[8];
    int count = 0;
    size_t from = 0;
    while (count < 8) {
        const size_t comma = feature.find(',', from);
        fields[count++] =
            feature.substr(from, comma == std::string_view::npos ? comma : comma - from);
        if (comma == std::string_view::npos) break;
        from = comma + 1;
    }
    const auto field = [&](int i) {
        return i < count && fields[i] != "*" ? fields[i] : std::string_view();
    };
    m.pos = field(0);
    m.pos1 = field(1);
    m.conjType = field(4);
    m.conjForm = field(5);
    m.base = field(6);
    m.reading = field(7);
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

QString defaultDictionaryDir() {
    return qEnvironmentVariable("POTE_MECAB_DICDIR");
}

Result<std::unique_ptr<Analyzer>> Analyzer::open(const QString& dictionaryDir) {
    const QString dir = dictionaryDir.isEmpty() ? defaultDictionaryDir() : dictionaryDir;
    QByteArray arguments = "mecab";
    if (!dir.isEmpty()) {
        // MeCab would take a folder without a dictionary in it for a broken one; say it plainly.
        if (!QFileInfo(dir + QStringLiteral("/sys.dic")).isReadable())
            return Error::refused(msg::dictionaryMissing(dir));
        arguments += " -r /dev/null -d " + QFile::encodeName(dir);
    }
    auto tagger = std::make_unique<Tagger>();
    tagger->mecab = mecab_new2(arguments.constData());
    if (!tagger->mecab)
        return Error::refused(
            msg::dictionaryUnusable(QString::fromLocal8Bit(mecab_strerror(nullptr))));
    const mecab_dictionary_info_t* info = mecab_dictionary_info(tagger->mecab);
    const QByteArray charset = info && info->charset ? QByteArray(info->charset).toLower() : "";
    if (charset != "utf8" && charset != "utf-8")
        return Error::refused(msg::dictionaryNotUtf8(QString::fromLatin1(charset)));
    return std::unique_ptr<Analyzer>(new Analyzer(std::move(tagger)));
}

Analyzer::Analyzer(std::unique_ptr<Tagger> tagger) : m_tagger(std::move(tagger)) {}
Analyzer::~Analyzer() = default;

const std::vector<Morpheme>& Analyzer::analyze(QStringView text) {
    m_words.clear();
    m_utf8.clear();
    m_charAt.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        // Stray bytes (lone surrogates), NULs and controls are no words: MeCab sees a space.
        if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) c = u' ';
        const size_t before = m_utf8.size();
        appendUtf8(m_utf8, c);
        m_charAt.insert(m_charAt.end(), m_utf8.size() - before, i);
    }
    m_charAt.push_back(text.size());
    if (m_utf8.empty()) return m_words;
    const mecab_node_t* node = mecab_sparse_tonode2(m_tagger->mecab, m_utf8.data(), m_utf8.size());
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE || node->length == 0)
            continue;
        const size_t start = size_t(node->surface - m_utf8.data());
        if (start + node->length > m_utf8.size()) continue;
        Morpheme m;
        m.first = m_charAt[start];
        m.last = m_charAt[start + node->length];
        m.surface = std::string_view(node->surface, node->length);
        splitFeatures(node->feature ? std::string_view(node->feature) : std::string_view(), m);
        m_words.push_back(m);
    }
    return m_words;
}

} // namespace pote::revision
