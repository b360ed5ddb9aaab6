#pragma once
// Writing numbers for people: thousands grouping, shared by the free-space message, the insert
// commands and the backup progress.

#include <QString>

namespace pote {

// "1234567" -> "1,234,567"; negative numbers keep their sign in front.
QString group_digits(qint64 n);

// The "#,##0.0" form of tenths / 10 (tenths >= 0): grouped whole part, at least one digit, one
// decimal, with the given separators ("1,234.5").
QString group_digits_tenths(qint64 tenths, QChar groupSeparator = u',', QChar decimalPoint = u'.');

} // namespace pote
