#pragma once
// Text files written on this desktop are mostly UTF-8; read as CP932 they would be garbage. A
// reader that meets one asks, once per command, whether to convert it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

namespace pote {

// True when bytes start with a UTF-8 byte-order mark, or are valid UTF-8 holding at least one
// character beyond ASCII. Like every reader, it looks no further than the first NUL. CP932 text
// almost always fails within its first few double-byte characters, so only ASCII and true UTF-8 are
// scanned to the end.
bool looks_like_utf8(QByteArrayView bytes);

struct Utf8Conversion {
    QByteArray bytes;         // CP932, without the byte-order mark
    qsizetype unmappable = 0; // characters CP932 cannot hold, each written as "?"
};

// UTF-8 (assumed valid) to CP932.
Utf8Conversion utf8_to_cp932(QByteArrayView bytes);

// The user's answer for one command: asked at the first file that looks like UTF-8, then kept
// for every further file of the same command. Counts what the conversions could not hold.
class Utf8Choice {
public:
    using Question = std::function<bool()>; // true: convert
    // Without a question nothing is ever converted.
    explicit Utf8Choice(Question ask = {}) : m_ask(std::move(ask)) {}

    // The converted bytes when bytes look like UTF-8 and the user wants them converted;
    // nullopt when bytes are to be read as they are.
    std::optional<QByteArray> convert(QByteArrayView bytes);

    // Whether convert could still convert a file: there is a question not yet answered no.
    bool mayConvert() const { return m_ask && m_answer != false; }
    bool asked() const { return m_answer.has_value(); }
    bool converting() const { return m_answer.value_or(false); }
    qsizetype unmappable() const { return m_unmappable; }

private:
    Question m_ask;
    std::optional<bool> m_answer;
    qsizetype m_unmappable = 0;
};

} // namespace pote
