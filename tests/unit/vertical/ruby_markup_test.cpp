// The ruby the insert command writes reads back as that ruby, and what would not is refused.

#include "vertical/ruby_markup.h"

#include "core/cp932.h"
#include "vertical/notation.h"

#include <gtest/gtest.h>

namespace pote::vertical {
namespace {

QByteArray sjis(const QString& text) {
    return cp932::encode(text);
}

struct RubyRow {
    const char* name;
    QString base;
    QString reading;
    bool readsBack;
};

TEST(RubyMarkup, ReadsBackOverTheWholeBaseOrIsRefused) {
    const std::vector<RubyRow> rows = {
        {"kanji", QStringLiteral("薔薇"), QStringLiteral("ばら"), true},
        {"kana base, which needs the bar", QStringLiteral("ぽてまる"), QStringLiteral("POTE"),
         true},
        {"mixed base", QStringLiteral("猫の手"), QStringLiteral("ねこのて"), true},
        {"reading of fifty", QStringLiteral("長"), QString(50, QChar(u'あ')), true},
        {"reading of fifty-one", QStringLiteral("長"), QString(51, QChar(u'あ')), false},
        {"empty reading", QStringLiteral("猫"), QString(), false},
        {"empty base", QString(), QStringLiteral("ねこ"), false},
        {"markup in the reading", QStringLiteral("猫"), QStringLiteral("ね》こ"), false},
        {"opening mark in the reading", QStringLiteral("猫"), QStringLiteral("ね《こ"), false},
        {"line break in the base", QStringLiteral("猫\r\n犬"), QStringLiteral("ねこ"), false},
        {"emphasis markup as base", QStringLiteral("《《強調》》"), QStringLiteral("きょう"),
         false},
    };
    for (const RubyRow& row : rows) {
        const QByteArray base = sjis(row.base);
        const QByteArray reading = sjis(row.reading);
        EXPECT_EQ(rubyReadsBack(base, reading), row.readsBack) << row.name;
        if (!row.readsBack) continue;
        const QByteArray markup = rubyMarkup(base, reading);
        EXPECT_EQ(cp932::decode(markup),
                  QStringLiteral("｜") + row.base + u'《' + row.reading + u'》');
        const QList<Paragraph> read = parseLine(markup, 0);
        ASSERT_EQ(read.size(), 1) << row.name;
        ASSERT_EQ(read[0].ruby.size(), 1) << row.name;
        EXPECT_EQ(read[0].ruby[0].reading, row.reading) << row.name;
    }
}

} // namespace
} // namespace pote::vertical
