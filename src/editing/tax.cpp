#include "editing/tax.h"

#include "core/mascot_reactions.h"
#include "editing/search.h"

#include <cmath>

namespace pote {

namespace {

constexpr int kMaxAmountDigits = 9;
constexpr unsigned char kFullWidthDigitLead = 0x82;
constexpr unsigned char kFullWidthZero = 0x4F;
constexpr unsigned char kFullWidthNine = 0x58;

// Sums that fit 32 bits follow the double rule users know; beyond it a double product has too
// few fraction bits to tell a tie, so larger sums are computed exactly in integers.
constexpr qint64 kDoubleRuleLimit = 2147483647;

qint64 sumAfter(QByteArrayView source, QByteArrayView sign) {
    const TextSearcher searcher(sign, CaseMode::Insensitive);
    qint64 total = 0;
    qsizetype from = 0;
    for (qsizetype m = searcher.find(source, from); m >= 0; m = searcher.find(source, from)) {
        const Amount a = read_amount(source, m + sign.size());
        total += a.value;
        from = m + sign.size() + a.consumed;
    }
    return total;
}

} // namespace

Amount read_amount(QByteArrayView text, qsizetype offset) {
    Amount a;
    for (int digits = 0; digits < kMaxAmountDigits; ++digits) {
        const qsizetype at = offset + a.consumed;
        if (at >= text.size()) break;
        const auto b = static_cast<unsigned char>(text[at]);
        int digit;
        if (b == kFullWidthDigitLead && at + 1 < text.size() &&
            static_cast<unsigned char>(text[at + 1]) >= kFullWidthZero &&
            static_cast<unsigned char>(text[at + 1]) <= kFullWidthNine) {
            digit = static_cast<unsigned char>(text[at + 1]) - kFullWidthZero;
            a.consumed += 2;
        } else if (b >= '0' && b <= '9') {
            digit = b - '0';
            a.consumed += 1;
        } else {
            break;
        }
        a.value = a.value * 10 + digit;
    }
    return a;
}

qint64 yen_sum(QByteArrayView source) {
    return sumAfter(source, "\\") + sumAfter(source, "\x81\x8f"); // 0x5C and "￥"
}

qint64 tax_included(qint64 sum, int ctaxPercent) {
    if (sum <= kDoubleRuleLimit) {
        const double rate = (100.0 + ctaxPercent) / 100.0;
        return static_cast<qint64>(std::nearbyint(static_cast<double>(sum) * rate));
    }
    // sum * k / 100 without overflow: sum = 100 * hi + lo.
    const qint64 k = 100 + ctaxPercent;
    const qint64 hi = sum / 100;
    const qint64 lo = sum % 100;
    qint64 q = hi * k + lo * k / 100;
    const qint64 r = lo * k % 100;
    if (r > 50 || (r == 50 && (q & 1) != 0)) ++q;
    return q;
}

TaxReport tax_report(qint64 sum, int ctaxPercent) {
    TaxReport report;
    const qint64 amount = tax_included(sum, ctaxPercent);
    if (amount > 0) {
        report.calculated = true;
        report.amount = amount;
        report.reaction = ReactionHit;
        report.message = QStringLiteral("暗算やっちゃったにゃん。\r") +
                         QStringLiteral("合計金額は、") + QString::number(amount) +
                         QStringLiteral("円だと思うにゃん。") +
                         QStringLiteral("結果は、挿入メニューで使えるにゃ。");
    } else {
        report.reaction = ReactionError;
        report.message = QStringLiteral("あれ？？計算できなかったにゃ～。\r") +
                         QStringLiteral("「\\」記号の次に数字があると計算できるにゃ。");
    }
    return report;
}

QByteArray amount_report_text(qint64 amount) {
    return "\\" + QByteArray::number(amount);
}

int check_number(QStringView text, int min, int max) {
    if (text.isEmpty()) return -1;
    qint64 value = 0;
    bool tooLarge = false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') return -1;
        if (!tooLarge) {
            value = value * 10 + (c.unicode() - u'0');
            tooLarge = value > max;
        }
    }
    return !tooLarge && value >= min ? static_cast<int>(value) : -2;
}

} // namespace pote
