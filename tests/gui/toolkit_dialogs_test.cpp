// The toolkit's own dialogs as a Japanese writer meets them: no English caption, button, column
// or tip is left where Qt's catalogues are silent, and the font dialog starts on Japanese.

#include "core/toolkit_texts.h"
#include "settings/ui/japanese_font_dialog.h"
#include "support/test_files.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace pote {
namespace {

// A text made only of Latin words (a file type such as "PDF" or a size such as "A4" is fine
// inside Japanese, alone it is English the writer has to read).
bool english(const QString& text) {
    static const QRegularExpression words(QStringLiteral("^[A-Za-z&][A-Za-z&' .:,()<>-]*$"));
    QString plain = text;
    plain.remove(u'&');
    return plain.size() > 2 && words.match(text.trimmed()).hasMatch() &&
           plain != QStringLiteral("PDF") && plain != QStringLiteral("OK");
}

// Every caption, button, group, tab, tip and list detail the dialog shows in English. A list's
// first column holds names (of files, faces), which are the user's, not the toolkit's.
QStringList englishTexts(QWidget& dialog) {
    QStringList found;
    const auto note = [&](const QString& text) {
        if (english(text)) found.append(text);
    };
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&dialog)) continue;
        note(w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w)) note(label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) note(button->text());
        if (auto* group = qobject_cast<QGroupBox*>(w)) note(group->title());
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                note(tabs->tabText(i));
        if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
            QAbstractItemModel* model = view->model();
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < model->rowCount(root); ++row)
                for (int column = 1; column < model->columnCount(root); ++column) {
                    const QModelIndex at = model->index(row, column, root);
                    const auto* shown =
                        qobject_cast<QStyledItemDelegate*>(view->itemDelegateForIndex(at));
                    note(shown ? shown->displayText(model->data(at), QLocale())
                               : model->data(at).toString());
                }
        }
    }
    return found;
}

void settle(QWidget& dialog) {
    dialog.show();
    // The file dialog lists its folder from another thread.
    for (int i = 0; i < 50; ++i)
        QTest::qWait(20);
}

TEST(ToolkitDialogs, TheFileAndPrintDialogsLeaveNoEnglish) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("下書き")));
    test::writeAll(dir.filePath(QStringLiteral("猫.txt")), "neko");
    QFileDialog files(nullptr, QStringLiteral("開く"), dir.path());
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setViewMode(QFileDialog::Detail);
    settle(files);
    const auto* model = files.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QModelIndex folder = model->index(dir.filePath(QStringLiteral("下書き")), 2);
    EXPECT_EQ(model->data(folder).toString(), QStringLiteral("フォルダ"));
    EXPECT_EQ(englishTexts(files), QStringList());

    QPrinter printer;
    QPrintDialog print(&printer);
    settle(print);
    // The options that open under "オプション(&O) >>" too.
    for (QAbstractButton* b : print.findChildren<QAbstractButton*>())
        if (b->text().startsWith(QStringLiteral("オプション")) && b->text().endsWith(u'>'))
            b->click();
    settle(print);
    EXPECT_EQ(englishTexts(print), QStringList());
}

TEST(ToolkitDialogs, TheFontDialogOpensOnJapaneseFacesWithAJapaneseSample) {
    QFontDialog dialog(QFont(QStringLiteral("IPAGothic"), 12));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    openOnJapaneseText(dialog);
    settle(dialog);
    EXPECT_EQ(englishTexts(dialog), QStringList());
    bool sampleIsJapanese = false;
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        if (edit->text() == QFontDatabase::writingSystemSample(QFontDatabase::Japanese))
            sampleIsJapanese = true;
    EXPECT_TRUE(sampleIsJapanese);
    // Only faces that write Japanese are offered, and the one it opened on is still chosen.
    const QStringList japaneseFaces = QFontDatabase::families(QFontDatabase::Japanese);
    const QListView* faces = dialog.findChildren<QListView*>(Qt::FindDirectChildrenOnly).value(0);
    ASSERT_NE(faces, nullptr);
    for (int row = 0; row < faces->model()->rowCount(); ++row)
        EXPECT_TRUE(japaneseFaces.contains(faces->model()->index(row, 0).data().toString()));
    EXPECT_EQ(dialog.currentFont().family(), QStringLiteral("IPAGothic"));
    const QListView* styles = dialog.findChildren<QListView*>(Qt::FindDirectChildrenOnly).value(1);
    const auto* shown = qobject_cast<QStyledItemDelegate*>(styles->itemDelegate());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->displayText(styles->currentIndex().data(), QLocale()), QStringLiteral("標準"));
    QStringList edits;
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
        edits.append(edit->text());
    EXPECT_TRUE(edits.contains(QStringLiteral("標準"))) << edits.join(u'|').toStdString();
    // The style shows in Japanese, but the font is still found by the name it carries.
    EXPECT_EQ(QFontDatabase::styleString(dialog.currentFont()), QStringLiteral("Regular"));
}

TEST(ToolkitDialogs, StyleNamesInJapanese) {
    const std::pair<const char*, QString> rows[] = {
        {"Regular", QStringLiteral("標準")},
        {"Bold Italic", QStringLiteral("太字 斜体")},
        {"Regular Italic", QStringLiteral("斜体")},
        {"Italic Oblique", QStringLiteral("斜体")},
        {"W3", QStringLiteral("W3")},               // a weight by number stays
        {"Bold Wide", QStringLiteral("Bold Wide")}, // one unknown word: all stays
        {"", QString()},
    };
    for (const auto& [english, japanese] : rows)
        EXPECT_EQ(japaneseStyleName(QString::fromLatin1(english)), japanese) << english;
}

} // namespace
} // namespace pote
