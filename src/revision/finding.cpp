#include "revision/finding.h"

#include <QCryptographicHash>

namespace pote::revision {

QString ignoreKey(const Finding& finding) {
    constexpr qsizetype kKeptCharacters = 40;
    QString text = finding.text;
    if (text.size() > kKeptCharacters) {
        const QByteArray hash =
            QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
        text = text.left(kKeptCharacters / 2) + QStringLiteral("…") + QString::fromLatin1(hash);
    }
    return ruleId(finding.rule) + QLatin1Char('\t') + text;
}

} // namespace pote::revision
