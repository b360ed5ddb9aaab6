#include "app/document_names.h"
#include "app/file_dialog_kinds.h"

#include <QDir>

#include <gtest/gtest.h>

namespace pote {
namespace {

TEST(BaseName, TakesTheNameWithoutItsLastExtension) {
    EXPECT_EQ(base_name(QStringLiteral("/home/u/a.b.ptm")), QStringLiteral("a.b"));
    EXPECT_EQ(base_name(QStringLiteral("/home/u/readme")), QString()) << "no dot: empty";
    EXPECT_EQ(base_name(QStringLiteral("/home/u.d/readme")), QString())
        << "a dot in a folder is not the name's";
    EXPECT_EQ(base_name(QStringLiteral("/home/u/第一章.txt")), QStringLiteral("第一章"));
    EXPECT_EQ(base_name(QStringLiteral("x.ptm")), QStringLiteral("x"));
    EXPECT_EQ(base_name(QStringLiteral("/home/u/.hidden")), QString());
}

TEST(Titles, DocumentAndResetTitlesDifferByOneBlank) {
    EXPECT_EQ(documentTitle(QStringLiteral("新規")), QStringLiteral("ぽてまるエディター [新規]"));
    EXPECT_EQ(resetDocumentTitle(QStringLiteral("新規")),
              QStringLiteral("ぽてまるエディター[新規]"));
}

struct DialogRow {
    const char* name;
    DialogKind kind;
    DialogDirection direction;
    QString title;
    int filterCount;
    QString suffix;
    QString proposed; // with display name "表示" and section name "節"
};

class DialogSetup : public testing::TestWithParam<DialogRow> {};

TEST_P(DialogSetup, PreparesTheDialogForItsPurpose) {
    const DialogRow& row = GetParam();
    const FileDialogRequest request = dialog_setup(row.kind, row.direction, QDir::tempPath(),
                                                   QStringLiteral("表示"), QStringLiteral("節"));
    EXPECT_EQ(request.title, row.title);
    EXPECT_EQ(request.filters.size(), row.filterCount);
    EXPECT_EQ(request.defaultSuffix, row.suffix);
    EXPECT_EQ(request.fileName, row.proposed);
    EXPECT_EQ(request.directory, QDir::tempPath());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DialogSetup,
    testing::Values(DialogRow{"DocumentOpen", DialogKind::Document, DialogDirection::Open,
                              "ぽてまる文書の読み込み", 1, "ptm", ""},
                    DialogRow{"DocumentSave", DialogKind::Document, DialogDirection::Save,
                              "ぽてまる文書の保存", 1, "ptm", "表示"},
                    DialogRow{"TextOpen", DialogKind::Text, DialogDirection::Open,
                              "テキストファイルの読み込み", 1, "", ""},
                    DialogRow{"TextSave", DialogKind::Text, DialogDirection::Save,
                              "テキストファイル形式での保存", 1, "", "節"},
                    DialogRow{"LinkedSave", DialogKind::LinkedText, DialogDirection::Save,
                              "テキストファイル形式での保存（全セクションを連結）", 2, "", "表示"},
                    DialogRow{"LinkedOpen", DialogKind::LinkedText, DialogDirection::Open,
                              "連結テキストファイルの読み込み", 2, "", ""},
                    DialogRow{"FixedText", DialogKind::FixedText, DialogDirection::Open,
                              "挿入用テキストの選択", 1, "", ""},
                    DialogRow{"FileName", DialogKind::InsertFileName, DialogDirection::Open,
                              "指定ファイルネーム文字列をテキストに挿入", 1, "", ""},
                    DialogRow{"FileSize", DialogKind::InsertFileSize, DialogDirection::Open,
                              "指定ファイルのファイルサイズをテキストに挿入", 1, "", ""}),
    [](const testing::TestParamInfo<DialogRow>& row) { return row.param.name; });

TEST(DialogSetupFolder, VanishedWorkFolderFallsBackToTheCurrentFolder) {
    const FileDialogRequest request = dialog_setup(DialogKind::Document, DialogDirection::Open,
                                                   QStringLiteral("/no/such/folder"), {}, {});
    EXPECT_EQ(request.directory, QDir::currentPath());
    EXPECT_EQ(request.filters.first().first, QStringLiteral("ぽてまる文書(*.ptm)"));
    EXPECT_EQ(request.filters.first().second, QStringLiteral("*.ptm"));
}

} // namespace
} // namespace pote
