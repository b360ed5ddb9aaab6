#pragma once
// The cat's mental arithmetic: summing the yen amounts written in a text, adding consumption
// tax, and the strict number check of the settings dialog.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace pote {

struct Amount {
    qint64 value = 0;
    qsizetype consumed = 0; // bytes of digits read; 0 when no digit starts at the offset
};

// The 1 to 9 digits (half-width 0-9 or full-width ０-９, mixed) that start at offset.
Amount read_amount(QByteArrayView text, qsizetype offset);

// Every amount of the text: a half-width yen sign (byte 0x5C) or a full-width "￥" directly
// followed by digits. A 0x5C that is the second byte of a double-byte character is no sign.
// Summed in 64 bits, so no text can overflow it.
qint64 yen_sum(QByteArrayView source);

// sum with ctaxPercent % tax, rounded to the nearest yen with a tie going to the even one. The
// rate is (100 + ctax) / 100 as one correctly rounded double and the product a double, which
// decides near-ties exactly as people have always seen them (25 at 14 % gives 28); sums beyond
// 32 bits are computed exactly in integers instead. sum >= 0.
qint64 tax_included(qint64 sum, int ctaxPercent);

struct TaxReport {
    bool calculated = false; // true: keep amount and enable the amount report entries
    qint64 amount = 0;
    int reaction = 0; // the cat's reaction to play before the message
    QString message;  // shown with a single Yes button
};
TaxReport tax_report(qint64 sum, int ctaxPercent);

// What the amount report entry inserts: the half-width yen sign and the plain number.
QByteArray amount_report_text(qint64 amount);

// The value of a text made only of half-width digits when it lies within [min, max]; -1 when
// the text is empty or holds anything else (signs, spaces, full-width digits), -2 when it is
// out of range (however many digits it has).
int check_number(QStringView text, int min, int max);

} // namespace pote
