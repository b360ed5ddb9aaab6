#include "vertical/ruby_markup.h"

#include "core/cp932.h"
#include "vertical/notation.h"

namespace pote::vertical {

QByteArray rubyMarkup(QByteArrayView base, QByteArrayView reading) {
    static const QByteArray bar = cp932::encode(QStringLiteral("｜"));
    static const QByteArray open = cp932::encode(QStringLiteral("《"));
    static const QByteArray close = cp932::encode(QStringLiteral("》"));
    QByteArray markup;
    markup.reserve(bar.size() + base.size() + open.size() + reading.size() + close.size());
    return markup.append(bar).append(base).append(open).append(reading).append(close);
}

bool rubyReadsBack(QByteArrayView base, QByteArrayView reading) {
    if (base.isEmpty() || reading.isEmpty()) return false;
    for (const QByteArrayView part : {base, reading})
        if (part.contains('\r') || part.contains('\n')) return false;
    const QList<Paragraph> read = parseLine(rubyMarkup(base, reading), 0);
    if (read.size() != 1) return false;
    const Paragraph& p = read.first();
    const QString baseText = cp932::decode(base);
    return p.ruby.size() == 1 && p.ruby.first().first == 0 &&
           p.ruby.first().last == baseText.size() && p.chars.size() == baseText.size() &&
           p.ruby.first().reading == cp932::decode(reading) && p.emphasis.isEmpty();
}

} // namespace pote::vertical
