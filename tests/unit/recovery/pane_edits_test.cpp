#include "recovery/pane_edits.h"

#include "core/cp932.h"
#include "support/test_files.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace pote::recovery {
namespace {

// CP932 text with every kind of line break, double-byte characters and stray bytes.
QByteArray mixedBytes(QRandomGenerator& rng, int pieces) {
    const QByteArray parts[] = {test::sjis("吾輩は猫である。"),
                                "\r\n",
                                "\r",
                                "\n",
                                "abc",
                                QByteArray("\x81"),
                                QByteArray("\xA0\xFF", 2),
                                test::sjis("ｶﾀｶﾅ"),
                                QByteArray(1, '\0'),
                                "\t"};
    QByteArray out;
    for (int i = 0; i < pieces; ++i)
        out += parts[rng.bounded(int(std::size(parts)))];
    return out;
}

// The pane as a plain string beside the tracker: each edit goes to both.
struct Pane {
    QByteArray loaded;
    QString text;
    PaneEdits edits;

    explicit Pane(QByteArray bytes) : loaded(std::move(bytes)), text(cp932::decodeForPane(loaded)) {
        edits.reset(text.size());
    }
    void edit(qsizetype at, qsizetype removed, const QString& added) {
        text.replace(at, removed, added);
        edits.change(at, removed, added.size(), text.size());
    }
    PaneCopy copy() const {
        PaneCopy c{loaded, edits.loadedLength(), edits.stretches(), {}};
        for (const EditedStretch& s : c.stretches)
            c.texts.push_back(text.mid(s.start, s.length));
        return c;
    }
};

void expectOrdered(const std::vector<EditedStretch>& stretches, qsizetype length) {
    ASSERT_LE(stretches.size(), PaneEdits::kMaxStretches);
    qsizetype end = -1;
    for (const EditedStretch& s : stretches) {
        EXPECT_GT(s.start, end) << "stretches touch or overlap";
        end = s.start + s.length;
    }
    EXPECT_LE(end, length);
}

TEST(PaneEditsTest, RandomEditsRebuildThePane) {
    QRandomGenerator rng(21);
    const QString inserts[] = {QStringLiteral("ね"), QStringLiteral("\n"), QStringLiteral("x"),
                               QStringLiteral("猫\n\n犬"), QString(40, u'＝')};
    for (int round = 0; round < 200; ++round) {
        Pane pane(mixedBytes(rng, rng.bounded(1, 60)));
        // Some rounds type in one place, others all over the text (past the stretch limit).
        const bool scattered = round % 2 == 1;
        qsizetype caret = pane.text.size() / 2;
        for (int step = 0; step < 80; ++step) {
            const qsizetype size = pane.text.size();
            if (scattered || rng.bounded(10) == 0) caret = rng.bounded(size + 1);
            caret = qMin(caret, size);
            const qsizetype removed = rng.bounded(3) == 0 ? rng.bounded(size - caret + 1) % 7 : 0;
            const QString added =
                rng.bounded(4) == 0 ? QString() : inserts[rng.bounded(int(std::size(inserts)))];
            pane.edit(caret, removed, added);
            caret += added.size();
        }
        ASSERT_TRUE(pane.edits.valid()) << "round " << round;
        expectOrdered(pane.edits.stretches(), pane.text.size());
        const std::optional<QString> rebuilt = rebuildPaneText(pane.copy());
        ASSERT_TRUE(rebuilt) << "round " << round;
        ASSERT_EQ(*rebuilt, pane.text) << "round " << round;
    }
}

TEST(PaneEditsTest, EditsThatUndoEachOtherStillCount) {
    Pane pane(test::sjis("あいう"));
    pane.edit(1, 0, QStringLiteral("x"));
    pane.edit(1, 1, QString());
    ASSERT_EQ(pane.edits.stretches().size(), 1u);
    EXPECT_EQ(pane.edits.stretches()[0], (EditedStretch{1, 0, 0}));
    EXPECT_EQ(rebuildPaneText(pane.copy()), QStringLiteral("あいう"));
}

TEST(PaneEditsTest, ReportsThatOvershootTheEndAreTrimmed) {
    // Replacing the whole text, the toolkit counts the closing separator on both sides.
    Pane pane("abc");
    pane.text = QStringLiteral("de");
    pane.edits.change(0, 4, 3, 2);
    ASSERT_TRUE(pane.edits.valid());
    EXPECT_EQ(rebuildPaneText(pane.copy()), QStringLiteral("de"));
}

TEST(PaneEditsTest, ReportsThatDoNotAddUpStopTheTracking) {
    const struct {
        const char* name;
        qsizetype position, removed, added, newLength;
    } rows[] = {
        {"length disagrees", 1, 0, 1, 5},
        {"starts past the end", 4, 0, 1, 4},
        {"negative count", 0, -1, 0, 3},
    };
    for (const auto& row : rows) {
        PaneEdits edits;
        edits.reset(3);
        edits.change(row.position, row.removed, row.added, row.newLength);
        EXPECT_FALSE(edits.valid()) << row.name;
        edits.reset(3);
        EXPECT_TRUE(edits.valid()) << row.name;
    }
}

TEST(PaneEditsTest, CopyThatDoesNotFitItsLoadedTextIsRefused) {
    Pane pane(test::sjis("あいう\r\nえお"));
    pane.edit(2, 1, QStringLiteral("ん"));
    PaneCopy copy = pane.copy();
    ASSERT_TRUE(rebuildPaneText(copy));
    copy.loaded = test::sjis("あいう\r\nえおか"); // the section changed since the copy was taken
    EXPECT_FALSE(rebuildPaneText(copy));
    copy = pane.copy();
    copy.texts[0] += u'x';
    EXPECT_FALSE(rebuildPaneText(copy));
}

TEST(PaneEditsTest, WholeTextCopyNeedsNothingLoaded) {
    EXPECT_EQ(rebuildPaneText(PaneCopy::wholeText(QStringLiteral("全部\nここに"))),
              QStringLiteral("全部\nここに"));
}

} // namespace
} // namespace pote::recovery
