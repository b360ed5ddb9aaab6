// The cat's tax calculation through the window: what it sums (the selection, a stored or an
// edited pane), its message and reaction, and the amount report entries it enables.

#include "gui_fixture.h"

#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/mascot_reactions.h"
#include "editing/ui/edit_pane.h"
#include "support/test_files.h"

#include <QAction>

namespace pote::test {
namespace {

QString calculatedMessage(const char* amount) {
    return QStringLiteral("暗算やっちゃったにゃん。\r合計金額は、") + QString::fromLatin1(amount) +
           QStringLiteral("円だと思うにゃん。結果は、挿入メニューで使えるにゃ。");
}

class Tax : public WindowTest {
protected:
    void load(const QByteArray& bytes) {
        store().section(store().current).text = bytes;
        window->binding().section_load(store().current);
    }
    void caretAtEnd() { select(int(paneText().size()), int(paneText().size())); }
    // Asks the cat and returns the text of its message.
    QString askTheCat(const char* item = "sp_tax") {
        prompter->clear();
        prompter->answer(Answer::Yes);
        window->trigger(QString::fromLatin1(item));
        EXPECT_EQ(prompter->asked().size(), 1u);
        if (prompter->asked().empty()) return {};
        EXPECT_EQ(prompter->last().kind, MessageKind::Confirmation);
        EXPECT_EQ(prompter->last().buttons, Answers(Answer::Yes));
        return prompter->last().text;
    }
};

TEST_F(Tax, TheCatAnnouncesTheTotalAndTheAmountReportWritesIt) {
    window->settings().CTax = 5;
    load(sjis("りんご\\100円、みかん￥２００円、表100") + "\r\n");
    EXPECT_FALSE(enabled("nx_hexp_ins"));
    EXPECT_FALSE(enabled("pop_hexp_ins")) << "no amount to report before a calculation";

    EXPECT_EQ(askTheCat(), calculatedMessage("315")) << "the second byte of 表 is no yen sign";
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionHit);
    EXPECT_TRUE(enabled("nx_hexp_ins"));
    EXPECT_TRUE(enabled("pop_hexp_ins"));

    caretAtEnd();
    const QString before = paneText();
    window->trigger(QStringLiteral("nx_hexp_ins"));
    EXPECT_EQ(paneText(), before + QStringLiteral("\\315"));
    window->trigger(QStringLiteral("pop_edit_undo"));
    EXPECT_EQ(paneText(), before);
    window->trigger(QStringLiteral("pop_hexp_ins"));
    EXPECT_EQ(paneText(), before + QStringLiteral("\\315"));
}

TEST_F(Tax, NothingToSumIsAnErrorThatKeepsTheLastAmount) {
    load("no amounts \\ here");
    EXPECT_EQ(askTheCat("nx_hexp"),
              QStringLiteral("あれ？？計算できなかったにゃ～。\r") +
                  QStringLiteral("「\\」記号の次に数字があると計算できるにゃ。"));
    EXPECT_EQ(window->mascotView()->currentReaction(), ReactionError);
    EXPECT_FALSE(enabled("nx_hexp_ins"));
    EXPECT_FALSE(enabled("pop_hexp_ins"));

    load("\\300");
    askTheCat();
    load("\\0");
    askTheCat();
    EXPECT_TRUE(enabled("nx_hexp_ins"));
    window->trigger(QStringLiteral("nx_hexp_ins"));
    EXPECT_EQ(paneText(), QStringLiteral("\\315\\0")) << "the failed calculation kept 315";
}

TEST_F(Tax, ASelectionLimitsTheSumAndTheReportWaitsForAnEmptySelection) {
    window->settings().CTax = 10;
    load("\\100 \\1000 \\10000");
    select(5, 10); // "\1000"
    EXPECT_EQ(askTheCat(), calculatedMessage("1100"));
    pane()->selectAll();
    EXPECT_EQ(askTheCat(), calculatedMessage("12210"));
    select(0, 4);
    window->trigger(QStringLiteral("pop_hexp_ins"));
    EXPECT_EQ(paneText(), QStringLiteral("\\100 \\1000 \\10000"))
        << "nothing goes over a selection";
}

TEST_F(Tax, WhatWasTypedCountsAndSumsBeyondThirtyTwoBitsAreRight) {
    window->settings().CTax = 5;
    load("\\999999999");
    caretAtEnd();
    typeInPane(QStringLiteral(" \\999999999 ￥999999999"));
    EXPECT_EQ(askTheCat(), calculatedMessage("3149999997"));
    window->trigger(QStringLiteral("nx_hexp_ins"));
    EXPECT_TRUE(paneText().endsWith(QStringLiteral("￥999999999\\3149999997")));
}

} // namespace
} // namespace pote::test
