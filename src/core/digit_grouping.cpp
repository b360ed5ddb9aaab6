#include "core/digit_grouping.h"

namespace pote {

QString group_digits(qint64 n) {
    const bool negative = n < 0;
    QString digits = QString::number(n);
    if (negative) digits.remove(0, 1);
    QString out;
    out.reserve(digits.size() + digits.size() / 3 + 1);
    const qsizetype lead = digits.size() % 3;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i != 0 && (i - lead) % 3 == 0) out.append(u',');
        out.append(digits.at(i));
    }
    return negative ? u'-' + out : out;
}

QString group_digits_tenths(qint64 tenths, QChar groupSeparator, QChar decimalPoint) {
    QString whole = group_digits(tenths / 10);
    if (groupSeparator != u',') whole.replace(u',', groupSeparator);
    return whole + decimalPoint + QChar(u'0' + static_cast<char16_t>(tenths % 10));
}

} // namespace pote
