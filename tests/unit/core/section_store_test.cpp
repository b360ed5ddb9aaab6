#include "core/section_store.h"

#include <gtest/gtest.h>

namespace pote {
namespace {

// A store with n sections named "s1".."sn", texts "t1".."tn" and R values 100+pos etc.
SectionStore storeWith(int n) {
    SectionStore store;
    for (int pos = 0; pos < n; ++pos) {
        if (pos > 0) store.appendEmpty();
        store.section(pos).name = "s" + QByteArray::number(pos + 1);
        store.section(pos).text = "t" + QByteArray::number(pos + 1);
        store.reserved(pos) = {static_cast<quint32>(100 + pos), static_cast<quint32>(200 + pos),
                               static_cast<quint32>(300 + pos)};
    }
    return store;
}

TEST(SectionStore, StartsAsANewDocument) {
    SectionStore store;
    EXPECT_EQ(store.count(), 1);
    EXPECT_EQ(store.current, 0);
    EXPECT_EQ(store.groupCount(), 0);
    EXPECT_EQ(store.displayName, QStringLiteral("新規"));
    EXPECT_FALSE(store.isModified());
    EXPECT_TRUE(store.loading);
    EXPECT_TRUE(store.section(0).text.isEmpty());
}

TEST(SectionStore, AppendStopsAtFiveHundred) {
    SectionStore store = storeWith(499);
    store.reserved(499) = {7, 8, 9};
    EXPECT_EQ(store.appendEmpty(), 499);
    EXPECT_TRUE(store.isFull());
    EXPECT_EQ(store.reserved(499).r1, 0u);
    EXPECT_EQ(store.reserved(499).r2, 0u);
    EXPECT_EQ(store.reserved(499).r3, 9u) << "R3 is only ever set by reading a file";
    EXPECT_EQ(store.appendEmpty(), -1);
    EXPECT_EQ(store.count(), 500);
}

TEST(SectionStore, RemoveMovesSectionsButNotReservedValues) {
    SectionStore store = storeWith(5);
    store.section(3).group = 2;
    const char* textBuffer = store.section(3).text.constData();
    ASSERT_TRUE(store.removeAt(2));
    EXPECT_EQ(store.count(), 4);
    EXPECT_EQ(store.section(2).name, "s4");
    EXPECT_EQ(store.section(2).group, 2);
    EXPECT_EQ(store.section(2).text.constData(), textBuffer) << "the buffer moves, no copy";
    EXPECT_EQ(store.reserved(2).r1, 102u) << "R values stay with the position";
    EXPECT_TRUE(store.section(4).text.isNull()) << "the freed position is released";
}

TEST(SectionStore, RemoveRefusesTheOnlySectionAndOutOfRange) {
    SectionStore store = storeWith(1);
    EXPECT_FALSE(store.removeAt(0));
    store = storeWith(3);
    EXPECT_FALSE(store.removeAt(3));
    EXPECT_FALSE(store.removeAt(-1));
    EXPECT_EQ(store.count(), 3);
}

TEST(SectionStore, SwapExchangesNamesAndTextsOnly) {
    SectionStore store = storeWith(7);
    const int a = store.addGroup("A");
    const int b = store.addGroup("B");
    store.section(1).group = a;
    store.section(6).group = b;
    ASSERT_TRUE(store.swapNamesAndTexts(1, 6));
    EXPECT_EQ(store.section(1).name, "s7");
    EXPECT_EQ(store.section(1).text, "t7");
    EXPECT_EQ(store.section(1).group, a);
    EXPECT_EQ(store.section(6).name, "s2");
    EXPECT_EQ(store.section(6).group, b);
    EXPECT_EQ(store.reserved(1).r3, 301u);
}

TEST(SectionStore, DissolvingAGroupRenumbersLaterGroups) {
    SectionStore store = storeWith(4);
    store.addGroup("A");
    store.addGroup("B");
    store.addGroup("C");
    store.section(0).group = 1;
    store.section(1).group = 2;
    store.section(2).group = 3;
    ASSERT_TRUE(store.dissolveGroup(1));
    EXPECT_EQ(store.groupCount(), 2);
    EXPECT_EQ(store.groupName(1), "B");
    EXPECT_EQ(store.section(0).group, 0);
    EXPECT_EQ(store.section(1).group, 1);
    EXPECT_EQ(store.section(2).group, 2);
    EXPECT_EQ(store.membersOf(0), (std::vector<int>{0, 3}));
}

TEST(SectionStore, GroupTableHoldsFiveHundred) {
    SectionStore store;
    for (int g = 0; g < SectionStore::kMaxGroups; ++g)
        ASSERT_EQ(store.addGroup("g"), g + 1);
    EXPECT_EQ(store.addGroup("one too many"), -1);
}

TEST(SectionStore, ResetKeepsR3AndClearsTheRest) {
    SectionStore store = storeWith(3);
    store.addGroup("A");
    store.setPassword("abcd");
    store.documentPath = "/tmp/x.ptm";
    store.enterPlainTextMode("/tmp/x.txt");
    store.headerReserved = 5;
    store.current = 2;
    store.resetToNew();
    EXPECT_EQ(store.count(), 1);
    EXPECT_EQ(store.groupCount(), 0);
    EXPECT_FALSE(store.hasPassword());
    EXPECT_TRUE(store.password().isEmpty());
    EXPECT_TRUE(store.documentPath.isEmpty());
    EXPECT_FALSE(store.plainTextMode());
    EXPECT_TRUE(store.textPath().isEmpty());
    EXPECT_EQ(store.headerReserved, 0);
    EXPECT_EQ(store.current, 0);
    EXPECT_TRUE(store.section(0).name.isEmpty());
    EXPECT_TRUE(store.section(1).text.isNull());
    EXPECT_EQ(store.reserved(1).r1, 0u);
    EXPECT_EQ(store.reserved(1).r3, 301u);
}

TEST(SectionStore, ReplaceDocumentFromOldFormatKeepsR1AndR3) {
    SectionStore store = storeWith(3);
    DocumentContent content;
    content.sections.push_back({Section{"n", "t", 0}, std::nullopt});
    content.sections.push_back({Section{"m", "u", 0}, std::nullopt});
    store.replaceDocument(std::move(content));
    EXPECT_EQ(store.count(), 2);
    EXPECT_EQ(store.reserved(0).r1, 100u);
    EXPECT_EQ(store.reserved(0).r2, 0u);
    EXPECT_EQ(store.reserved(0).r3, 300u);
    EXPECT_TRUE(store.section(2).text.isNull());
}

TEST(SectionStore, ReplaceDocumentTakesEverything) {
    SectionStore store = storeWith(3);
    store.addGroup("old");
    DocumentContent content;
    content.sections.push_back({Section{"n", "t", 1}, PositionReserved{1, 2, 3}});
    content.groupNames = {"G"};
    content.hasPassword = true;
    content.password = "pass1";
    content.headerReserved = 9;
    store.current = 2;
    store.replaceDocument(std::move(content));
    EXPECT_EQ(store.count(), 1);
    EXPECT_EQ(store.current, 0);
    EXPECT_EQ(store.groupName(1), "G");
    EXPECT_EQ(store.section(0).group, 1);
    EXPECT_EQ(store.reserved(0).r3, 3u);
    EXPECT_TRUE(store.hasPassword());
    EXPECT_EQ(store.password(), "pass1");
    EXPECT_EQ(store.headerReserved, 9);
    EXPECT_EQ(store.totalTextBytes(), 1);
}

TEST(SectionStore, TellsTheObserverOnlyOfRealStateChanges) {
    // The window refreshes its commands on each call: a call per keystroke would be wasted,
    // a missing one would leave a stale menu.
    SectionStore store;
    int calls = 0;
    store.setStateObserver([&calls] { ++calls; });
    store.setModified(true);
    store.setModified(true);
    EXPECT_EQ(calls, 1);
    store.setPassword("abcd");
    store.setPassword("abcd");
    store.clearPassword();
    store.clearPassword();
    EXPECT_EQ(calls, 3);
    store.enterPlainTextMode("/tmp/a.txt");
    store.enterPlainTextMode("/tmp/b.txt");
    EXPECT_EQ(store.textPath(), "/tmp/b.txt");
    store.endPlainTextMode();
    store.endPlainTextMode();
    EXPECT_EQ(calls, 5);
    EXPECT_TRUE(store.textPath().isEmpty()) << "the text path leaves with plain-text mode";
}

TEST(SectionStore, WholeDocumentChangesTellTheObserverWhenThePasswordChanges) {
    SectionStore store;
    int calls = 0;
    store.setStateObserver([&calls] { ++calls; });
    const auto contentWith = [](std::optional<QByteArray> password) {
        DocumentContent content;
        content.sections.push_back({Section{"n", "t", 0}, std::nullopt});
        content.hasPassword = password.has_value();
        content.password = password.value_or(QByteArray());
        return content;
    };
    store.replaceDocument(contentWith(std::nullopt));
    EXPECT_EQ(calls, 0);
    store.replaceDocument(contentWith("abcd"));
    EXPECT_EQ(calls, 1);
    store.replaceDocument(contentWith("abcd"));
    EXPECT_EQ(calls, 1);
    store.replaceDocument(contentWith("wxyz"));
    EXPECT_EQ(calls, 2);
    store.resetToNew();
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(store.hasPassword());
    store.resetToNew();
    EXPECT_EQ(calls, 3);
}

TEST(Document, ACopyIsAValueOfItsOwn) {
    // Recovery snapshots are copies taken while the user goes on editing.
    SectionStore store = storeWith(2);
    store.setPassword("abcd");
    const Document copy = store.document();
    EXPECT_EQ(copy.section(1).text.constData(), store.section(1).text.constData())
        << "a copy shares the buffers";
    store.section(1).text[0] = 'x';
    store.appendEmpty();
    store.clearPassword();
    EXPECT_EQ(copy.section(1).text, "t2");
    EXPECT_EQ(copy.count(), 2);
    EXPECT_EQ(copy.password(), "abcd");
    static_assert(!std::is_copy_constructible_v<SectionStore>,
                  "a copy of the store would carry the window's observer");
}

} // namespace
} // namespace pote
