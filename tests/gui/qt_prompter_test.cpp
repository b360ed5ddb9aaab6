// The program's own message boxes and file dialogs as the user meets them: captions, buttons with
// their keyboard letters, the keys that answer, and where a box opens while a dialog is showing.

#include "app/ui/qt_prompter.h"
#include "support/test_files.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>

namespace pote {
namespace {

// Asks through the prompter and plays the user's part once the box is up: act gets the box.
// A box the act leaves open is closed after a while, so that a key that does nothing fails
// the test instead of hanging it.
Answer ask(QtPrompter& prompter, MessageKind kind, Answers buttons,
           const std::function<void(QMessageBox&)>& act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        QTimer::singleShot(5000, box, [box] { box->close(); });
        act(*box);
    });
    return prompter.message(kind, buttons, QStringLiteral("にゃ？"));
}

QStringList captions(const QMessageBox& box) {
    QStringList out;
    for (QAbstractButton* b : box.buttons())
        out << b->text();
    out.sort();
    return out;
}

// Keys go where the keyboard sends them: to the box's focus widget.
void press(QMessageBox& box, Qt::Key key) {
    QWidget* target = box.focusWidget() ? box.focusWidget() : &box;
    QTest::keyClick(target, key);
}

class QtDialogs : public testing::Test {
protected:
    QWidget window;
    QtPrompter prompter{&window};
};

TEST_F(QtDialogs, ButtonsCarryTheirKeyboardLetters) {
    const struct {
        Answers buttons;
        QStringList captions; // sorted
    } rows[] = {
        {Answer::Yes | Answer::No | Answer::Cancel, {"いいえ(&N)", "はい(&Y)", "キャンセル"}},
        {Answer::Yes, {"はい(&Y)"}},
        {Answer::Ok, {"OK"}},
        {Answer::Abort | Answer::Retry, {"中止(&A)", "再試行(&R)"}},
    };
    for (const auto& row : rows) {
        QStringList shown;
        QString caption;
        ask(prompter, MessageKind::Warning, row.buttons, [&](QMessageBox& box) {
            shown = captions(box);
            caption = box.windowTitle();
            box.close();
        });
        QStringList expected = row.captions;
        expected.sort();
        EXPECT_EQ(shown.join(u'|').toStdString(), expected.join(u'|').toStdString());
        EXPECT_EQ(caption.toStdString(), "警告");
    }
}

TEST_F(QtDialogs, TheSaveQuestionAnswersToItsKeys) {
    const Answers yesNoCancel = Answer::Yes | Answer::No | Answer::Cancel;
    const struct {
        const char* name;
        Qt::Key key;
        Answer answer;
    } rows[] = {
        {"N", Qt::Key_N, Answer::No},
        {"Y", Qt::Key_Y, Answer::Yes},
        {"Enter", Qt::Key_Return, Answer::Yes},
        {"Escape", Qt::Key_Escape, Answer::Cancel},
    };
    for (const auto& row : rows) {
        const Answer answer = ask(prompter, MessageKind::Confirmation, yesNoCancel,
                                  [&row](QMessageBox& box) { press(box, row.key); });
        EXPECT_EQ(answer, row.answer) << row.name;
    }
    EXPECT_EQ(ask(prompter, MessageKind::Warning, Answer::Abort | Answer::Retry,
                  [](QMessageBox& box) { press(box, Qt::Key_R); }),
              Answer::Retry);
}

TEST_F(QtDialogs, OpenOverTheDialogThatIsShowing) {
    window.show();
    QDialog dialog(&window);
    dialog.open();
    QWidget* parent = nullptr;
    ask(prompter, MessageKind::Warning, Answer::Yes, [&parent](QMessageBox& box) {
        parent = box.parentWidget();
        box.close();
    });
    EXPECT_EQ(parent, &dialog);
    dialog.close();
    ask(prompter, MessageKind::Warning, Answer::Yes, [&parent](QMessageBox& box) {
        parent = box.parentWidget();
        box.close();
    });
    EXPECT_EQ(parent, &window) << "with no dialog open, over the window";
}

// The width a list column's contents need.
struct ContentWidth : QTreeView {
    using QTreeView::sizeHintForColumn;
};
constexpr int (QTreeView::*contentWidth)(int) const = &ContentWidth::sizeHintForColumn;

TEST_F(QtDialogs, FileListsShowSizesAndDatesInJapaneseAndEveryColumnWhole) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("大きめの文書ファイルの名前.ptm"));
    test::writeAll(file, QByteArray(150000, 'x'));
    FileDialogRequest request;
    request.title = QStringLiteral("ぽてまる文書の読み込み");
    request.filters = {{QStringLiteral("ぽてまる文書(*.ptm)"), QStringLiteral("*.ptm")}};
    request.directory = folder.path();

    QString size;
    QString date;
    bool whole = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        // The folder is read in the background.
        if (list &&
            QTest::qWaitFor([list] { return list->model()->rowCount(list->rootIndex()) > 0; })) {
            const QModelIndex row = list->model()->index(0, 0, list->rootIndex());
            size = row.siblingAtColumn(1).data().toString();
            date = row.siblingAtColumn(3).data().toString();
            QHeaderView* header = list->header();
            whole = header->length() <= list->viewport()->width();
            for (int column = 0; column < header->count(); ++column)
                whole = whole && header->sectionSize(column) >= (list->*contentWidth)(column);
        }
        dialog->reject();
    });
    prompter.openFile(request);
    EXPECT_EQ(size.toStdString(), "146.5 KB");
    EXPECT_EQ(date.toStdString(),
              QLocale(QLocale::Japanese, QLocale::Japan)
                  .toString(QFileInfo(file).lastModified(), QLocale::ShortFormat)
                  .toStdString());
    EXPECT_TRUE(whole) << "every column shows its contents whole";
}

} // namespace
} // namespace pote
