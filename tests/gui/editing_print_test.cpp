// Printing the pane: every page of a long text, the section name as the title, and a PDF file
// instead when there is no printer.

#include "gui_fixture.h"

#include "app/ui/print_commands.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/text_printer.h"
#include "support/test_files.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace pote::test {
namespace {

const QString kNoPrinter =
    QStringLiteral("プリンターが見つからないにゃ。\r\nかわりにPDFファイルに保存するにゃん？");

int pdfPages(const QString& file) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return static_cast<int>(QString::fromLatin1(readAll(file)).count(page));
}

// The text of the PDF (pages first to last, 1-based; 0 for all), or nothing without pdftotext.
std::optional<QString> pdfText(const QString& file, int first = 0, int last = 0) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) return std::nullopt;
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (first > 0)
        args << QStringLiteral("-f") << QString::number(first) << QStringLiteral("-l")
             << QString::number(last);
    args << file << QStringLiteral("-");
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString numberedLines(int count) {
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("行%1 吾輩は猫である。\n").arg(i, 4, 10, QLatin1Char('0'));
    return text;
}

class Printing : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->controllers().printing().setPrinterLookup([] { return QPrinterInfo(); });
    }
    void load(const QString& text) {
        store().section(0).text = cp932::encodeFromPane(text);
        window->binding().section_load(0);
    }
};

TEST_F(Printing, WithoutAPrinterTheCatOffersAPdf) {
    store().section(0).name = cp932::encode(u"第一章");
    load(numberedLines(3));
    const QString file = path(QStringLiteral("印刷.pdf"));
    prompter->answer(Answer::Yes).answerFile(file);
    window->trigger(QStringLiteral("Print1"));
    ASSERT_EQ(prompter->asked().size(), 2u);
    EXPECT_EQ(prompter->asked()[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(prompter->asked()[0].buttons, Answer::Yes | Answer::No);
    EXPECT_EQ(prompter->asked()[0].text, kNoPrinter);
    EXPECT_EQ(prompter->asked()[1].type, Asked::Type::SaveFile);
    EXPECT_EQ(prompter->asked()[1].dialog.defaultSuffix, QStringLiteral("pdf"));
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(pdfPages(file), 1);
    EXPECT_TRUE(readAll(file).startsWith("%PDF"));
    if (const auto text = pdfText(file)) {
        EXPECT_TRUE(text->contains(QStringLiteral("行0001 吾輩は猫である。")))
            << text->toStdString();
        EXPECT_TRUE(text->contains(QStringLiteral("行0003")));
    }
}

TEST_F(Printing, NoMeansNoFile) {
    load(QStringLiteral("abc"));
    prompter->answer(Answer::No);
    window->trigger(QStringLiteral("Print1"));
    EXPECT_EQ(prompter->asked().size(), 1u);
    EXPECT_TRUE(QDir(path(QString())).entryList({QStringLiteral("*.pdf")}, QDir::Files).isEmpty());
}

TEST_F(Printing, ALongTextPrintsEveryPage) {
    load(numberedLines(400));
    const QString file = path(QStringLiteral("長い.pdf"));
    prompter->answer(Answer::Yes).answerFile(file);
    window->trigger(QStringLiteral("Print1"));
    const int pages = pdfPages(file);
    EXPECT_GE(pages, 5) << "400 lines do not fit a few pages";
    const auto all = pdfText(file);
    if (!all) GTEST_SKIP() << "pdftotext is not installed";
    for (int i = 1; i <= 400; ++i)
        ASSERT_TRUE(all->contains(QStringLiteral("行%1").arg(i, 4, 10, QLatin1Char('0'))))
            << "line " << i;
    EXPECT_TRUE(pdfText(file, 1, 1)->contains(QStringLiteral("行0001")));
    EXPECT_TRUE(pdfText(file, pages, pages)->contains(QStringLiteral("行0400")));
    EXPECT_FALSE(pdfText(file, pages, pages)->contains(QStringLiteral("行0001")));
}

TEST_F(Printing, LongLinesWrapToThePageWidth) {
    load(QString(2000, u'猫') + QStringLiteral("終わり"));
    const QString file = path(QStringLiteral("折り返し.pdf"));
    prompter->answer(Answer::Yes).answerFile(file);
    window->trigger(QStringLiteral("Print1"));
    const auto text = pdfText(file);
    if (!text) GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_GT(text->count(u'\n'), 20) << "one line of 2000 characters takes many rows";
    EXPECT_EQ(text->count(u'猫'), 2000) << "nothing is cut off at the right edge";
    EXPECT_TRUE(text->contains(QStringLiteral("終わり")));
}

TEST_F(Printing, APdfThatCannotBeWrittenIsReported) {
    load(QStringLiteral("abc"));
    const QString file = path(QStringLiteral("無い/フォルダ/印刷.pdf"));
    prompter->answer(Answer::Yes).answerFile(file).answer(Answer::Ok);
    window->trigger(QStringLiteral("Print1"));
    ASSERT_EQ(prompter->asked().size(), 3u);
    EXPECT_EQ(prompter->last().kind, MessageKind::Error);
    EXPECT_TRUE(prompter->last().text.startsWith(QDir::toNativeSeparators(file)));
    EXPECT_FALSE(QFile::exists(file));
}

TEST(TextPrinter, PrinterJobCarriesTheTitleAndEveryPage) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("printer.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setDocName(QStringLiteral("第二章"));
    const int pages =
        printText(printer, numberedLines(300), QFont(QStringLiteral("IPAGothic"), 12));
    EXPECT_GT(pages, 1);
    EXPECT_EQ(pdfPages(file), pages);
    const QString info = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (info.isEmpty()) GTEST_SKIP() << "pdfinfo is not installed";
    QProcess process;
    process.start(info, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_TRUE(
        QString::fromUtf8(process.readAllStandardOutput()).contains(QStringLiteral("第二章")));
}

TEST(TextPrinter, AnEmptyTextIsOneBlankPage) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("empty.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    EXPECT_EQ(printText(printer, QString(), QFont()), 1);
    EXPECT_EQ(pdfPages(file), 1);
}

} // namespace
} // namespace pote::test
