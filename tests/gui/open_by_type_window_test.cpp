// Files that reach the window without a dialog: dropped onto it (simulated with Qt's drag and
// drop events, as a file manager's drop arrives), or named on the command line.

#include "gui_fixture.h"

#include "app/document_names.h"
#include "app/ui/document_commands.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "editing/ui/edit_pane.h"
#include "support/test_files.h"
#include "textio/text_messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pote::test {
namespace {

class OpenByTypeWindow : public WindowTest {
protected:
    // Drags the files over target and drops them there; true when the drag was accepted.
    bool drop(QWidget* target, const QStringList& files) {
        QList<QUrl> urls;
        for (const QString& f : files)
            urls << QUrl::fromLocalFile(f);
        QMimeData data;
        data.setUrls(urls);
        // File managers offer the addresses as text too, which a text field would paste.
        data.setText(files.join(u'\n'));
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &dropped);
        QCoreApplication::processEvents(); // the open runs once the drop has ended
        return dropped.isAccepted();
    }
    bool drop(const QStringList& files) { return drop(window.get(), files); }

    void twoSections() {
        store().appendEmpty();
        store().section(0).name = "one";
        store().section(0).text = "first\r\n";
        store().section(1).name = "two";
        store().section(1).text = "second\r\n";
        window->binding().section_switch(0, 1);
        store().setModified(false);
    }
    void showAndActivate() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QString text(const char* name, const QByteArray& bytes) {
        const QString file = path(QString::fromUtf8(name));
        writeAll(file, bytes);
        return file;
    }
};

TEST_F(OpenByTypeWindow, ATextDroppedOnANewDocumentBecomesIt) {
    const QString file = text("メモ.txt", sjis("落とした\r\n"));
    const QString other = text("other.txt", "second file");
    EXPECT_TRUE(drop({file, other}));
    EXPECT_TRUE(prompter->asked().empty());
    EXPECT_EQ(paneText(), QStringLiteral("落とした\n")) << "only the first file counts";
    EXPECT_TRUE(store().plainTextMode());
    EXPECT_EQ(store().textPath(), file);
    EXPECT_FALSE(store().isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [メモ]"));
}

TEST_F(OpenByTypeWindow, ATextDroppedOnTwoSectionsOnlyReplacesTheCurrentOne) {
    twoSections();
    const QString file = text("CAPS.TXT", "upper");
    EXPECT_TRUE(drop({file}));
    EXPECT_EQ(paneText(), QStringLiteral("upper\n"));
    EXPECT_EQ(store().section(1).name, "CAPS");
    EXPECT_EQ(store().section(0).text, "first\r\n");
    EXPECT_FALSE(store().plainTextMode());
    EXPECT_TRUE(store().textPath().isEmpty()) << "a drop leaves the text path alone";
    EXPECT_TRUE(store().isModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [新規]"));
}

TEST_F(OpenByTypeWindow, FilesDroppedOnThePaneOrTheNameAreOpenedNotPastedAsText) {
    twoSections();
    const QString file = text("pane.txt", "from the pane drop");
    EXPECT_TRUE(drop(window->pane()->viewport(), {file}));
    EXPECT_EQ(paneText(), QStringLiteral("from the pane drop\n"));
    const QString named = text("name.txt", "from the name drop");
    auto* nameEdit = window->findChild<QLineEdit*>(QStringLiteral("sec_name_ed"));
    prompter->answer(Answer::No); // the first drop's text is unsaved work now
    EXPECT_TRUE(drop(nameEdit, {named}));
    EXPECT_EQ(nameEdit->text(), QStringLiteral("name"));
    EXPECT_EQ(paneText(), QStringLiteral("from the name drop\n"));
}

TEST_F(OpenByTypeWindow, UnknownFilesAreNotTakenAndChangeNothing) {
    twoSections();
    const QString noDot = text("README", "readme");
    QDir().mkpath(path(QStringLiteral("folder.d")));
    const QString dotInFolder = path(QStringLiteral("folder.d/plain"));
    writeAll(dotInFolder, "x");
    const QString picture = text("cat.jpg", "jpeg");
    for (const QString& f : {noDot, dotInFolder, picture}) {
        EXPECT_FALSE(drop({f})) << f.toStdString();
        EXPECT_FALSE(drop(window->pane()->viewport(), {f})) << f.toStdString();
    }
    EXPECT_EQ(paneText(), QStringLiteral("second\n")) << "nothing pasted, nothing loaded";
    EXPECT_FALSE(store().isModified());
    EXPECT_TRUE(prompter->asked().empty());
}

TEST_F(OpenByTypeWindow, ALinkedTextOrDocumentDroppedOnAModifiedDocumentOffersToSaveFirst) {
    const QString linked = text("連結.txm", "*section x\r\nX\r\n*section y\r\nY\r\n");
    twoSections();
    typeInPane(QStringLiteral("未保存"));
    prompter->answer(Answer::Cancel);
    EXPECT_TRUE(drop({linked}));
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().buttons, Answer::Yes | Answer::No | Answer::Cancel);
    EXPECT_EQ(paneText(), QStringLiteral("未保存second\n")) << "Cancel keeps the work";
    EXPECT_EQ(store().section(1).text, cp932::encode(u"未保存second\r\n"));

    prompter->answer(Answer::No);
    EXPECT_TRUE(drop({linked}));
    ASSERT_EQ(store().count(), 2);
    EXPECT_EQ(store().section(0).name, "x");
    EXPECT_EQ(paneText(), QStringLiteral("X\n"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [連結]"));
    EXPECT_FALSE(store().isModified());

    const QString document = path(QStringLiteral("文書.ptm"));
    ASSERT_TRUE(window->controllers().documents().document_write(document));
    twoSections();
    prompter->clear();
    EXPECT_TRUE(drop({document}));
    EXPECT_TRUE(prompter->asked().empty()) << "an unmodified document is replaced at once";
    EXPECT_EQ(store().documentPath, QFileInfo(document).absoluteFilePath());
    EXPECT_EQ(store().section(1).name, "y");
}

TEST_F(OpenByTypeWindow, ATextDroppedOnUnsavedWorkOffersToSaveItFirst) {
    const QString file = text("落とす.txt", sjis("落とした\r\n"));
    typeInPane(QStringLiteral("メモ書き"));
    prompter->answer(Answer::Cancel);
    EXPECT_TRUE(drop({file}));
    ASSERT_EQ(prompter->asked().size(), 1u);
    EXPECT_EQ(prompter->last().text, saveQuestionText());
    EXPECT_EQ(paneText(), QStringLiteral("メモ書き")) << "Cancel keeps the work";
    EXPECT_TRUE(store().isModified());

    // Yes keeps the notes in a document file; the text then opens as a document of its own
    // rather than over the one just saved.
    const QString document = path(QStringLiteral("メモ.ptm"));
    prompter->clear();
    prompter->answer(Answer::Yes).answerFile(document);
    EXPECT_TRUE(drop({file}));
    ASSERT_TRUE(QFileInfo::exists(document));
    EXPECT_EQ(paneText(), QStringLiteral("落とした\n"));
    EXPECT_TRUE(store().plainTextMode());
    EXPECT_TRUE(store().documentPath.isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [落とす]"));
    window->controllers().documents().document_read(document);
    EXPECT_EQ(paneText(), QStringLiteral("メモ書き"));

    // Onto one of several sections, No replaces that section only.
    twoSections();
    typeInPane(QStringLiteral("未保存"));
    prompter->clear();
    prompter->answer(Answer::No);
    EXPECT_TRUE(drop({file}));
    EXPECT_EQ(paneText(), QStringLiteral("落とした\n"));
    EXPECT_EQ(store().section(0).text, "first\r\n");
    EXPECT_FALSE(store().plainTextMode());
}

// --- the command line -------------------------------------------------------------------------

TEST_F(OpenByTypeWindow, ATextOnTheCommandLineOpensWithItsFullPathInTheTitle) {
    const QString file = text("起動 時.txt", sjis("はじめ\r\n"));
    // Relative, and split at the space as a shell would when the path is not quoted.
    const QString started = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    restart({QStringLiteral("起動"), QStringLiteral("時.txt")});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [新規]"))
        << "nothing opens before the window is activated";
    showAndActivate();
    EXPECT_EQ(window->windowTitle(), documentTitle(QFileInfo(file).absoluteFilePath()));
    EXPECT_EQ(paneText(), QStringLiteral("はじめ\n"));
    EXPECT_TRUE(store().plainTextMode());
    EXPECT_EQ(store().displayName, QStringLiteral("起動 時"));
    EXPECT_FALSE(store().isModified());

    // Only the first activation opens it, and the fallback for a withheld activation never
    // opens it a second time.
    typeInPane(QStringLiteral("追記"));
    window->activateWindow();
    QTest::qWait(700);
    EXPECT_EQ(paneText(), QStringLiteral("追記はじめ\n"));
    QDir::setCurrent(started);
}

TEST_F(OpenByTypeWindow, ACommandLineNamingNoFileToOpenSaysSoAndTheTitleStaysTheDocuments) {
    const QString rtf = text("メモ.rtf", "{\\rtf1}");
    const QString txt = text("t.txt", "t");
    QDir().mkpath(path(QStringLiteral("下書き.txt")));
    const struct {
        QStringList arguments;
        QString message; // empty: nothing said
    } cases[] = {
        {{path(QStringLiteral("ない.txt"))},
         textmsg::commandLineFileMissing(path(QStringLiteral("ない.txt")))},
        {{QStringLiteral("/d"), txt}, textmsg::commandLineFileMissing(QStringLiteral("/d ") + txt)},
        {{rtf}, textmsg::commandLineCannotOpen(rtf)},
        {{path(QStringLiteral("下書き.txt"))},
         textmsg::commandLineCannotOpen(path(QStringLiteral("下書き.txt")))},
        {{QStringLiteral("/d")}, {}},
    };
    for (const auto& c : cases) {
        restart(c.arguments);
        if (!c.message.isEmpty()) prompter->answer(Answer::Yes);
        showAndActivate();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(prompter->asked().empty());
        } else {
            ASSERT_EQ(prompter->asked().size(), 1u) << c.message.toStdString();
            EXPECT_EQ(prompter->last().kind, MessageKind::Error);
            EXPECT_EQ(prompter->last().text, c.message);
        }
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [新規]"));
        EXPECT_EQ(paneText(), QString());
        EXPECT_FALSE(store().plainTextMode());
    }
}

TEST_F(OpenByTypeWindow, ALinkedTextOnTheCommandLineIsReadAsADropReadsIt) {
    const QString linked = text("連結.txm", "*section x\r\nX\r\n*section y\r\nY\r\n");
    restart({linked});
    showAndActivate();
    EXPECT_TRUE(prompter->asked().empty());
    EXPECT_EQ(store().count(), 2);
    EXPECT_EQ(paneText(), QStringLiteral("X\n"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [連結]"));
    EXPECT_FALSE(store().isModified());
}

TEST_F(OpenByTypeWindow, OncePlainTextModeEndsTheTitleNamesTheDocumentNotTheFile) {
    const QString file = text("始め.txt", sjis("はじめ\r\n"));
    const QString added = text("足す.txt", sjis("たす\r\n"));
    for (const char* command : {"sp_add", "nx_text_add_load"}) {
        restart({file});
        showAndActivate();
        ASSERT_EQ(window->windowTitle(), documentTitle(file));
        const QString name = QString::fromLatin1(command);
        if (name == QStringLiteral("nx_text_add_load")) prompter->answerFile(added);
        window->trigger(name);
        EXPECT_FALSE(store().plainTextMode()) << command;
        EXPECT_EQ(store().count(), 2) << command;
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [始め]")) << command;
    }
}

TEST_F(OpenByTypeWindow, ADocumentOnTheCommandLineIsRead) {
    store().section(0).text = "saved";
    const QString document = path(QStringLiteral("開く.ptm"));
    ASSERT_TRUE(window->controllers().documents().document_write(document));
    restart({document});
    showAndActivate();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ぽてまるエディター [開く]"));
    EXPECT_EQ(paneText(), QStringLiteral("saved"));
    EXPECT_EQ(store().documentPath, document);
}

} // namespace
} // namespace pote::test
