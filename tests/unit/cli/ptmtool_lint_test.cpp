// ptmtool lint: findings by section, line and byte column, as JSON, the rules chosen, the exit
// codes, and the rules that need no dictionary running without one.
#include "support/run_program.h"
#include "support/test_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pote {
namespace {

using Outcome = test::ProgramRun;

Outcome ptmtool(const QStringList& args, const QByteArray& dictionary = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!dictionary.isEmpty()) env.insert(QStringLiteral("POTE_MECAB_DICDIR"), dictionary);
    return test::runProgram(QStringLiteral(PTMTOOL_PATH), args, env);
}

class PtmtoolLint : public testing::Test {
protected:
    QString document(const QByteArray& sectionsJson, const QString& extra = {}) {
        const QString json = m_dir.filePath(QStringLiteral("原稿.json"));
        test::writeAll(json, "{" + extra.toUtf8() + "\"sections\": " + sectionsJson + "}");
        const QString file = m_dir.filePath(QStringLiteral("原稿.ptm"));
        const Outcome r = ptmtool({"pack", json, file, "--seed", "1"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return file;
    }
    QTemporaryDir m_dir;
};

const QByteArray kSlips = R"([{"text": "彼は歩いた。\r\n"},
    {"text": "雨。\r\n「待って\r\nああ、駅のの前。"}])";

TEST_F(PtmtoolLint, LinesColumnsRulesAndExitCodes) {
    const QString file = document(kSlips);
    Outcome r = ptmtool({"lint", file});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out),
              QStringLiteral("2:2:1: brackets: 「「」が閉じてないにゃ。\n"
                             "2:3:9: particles: 「の」が二つ重なってるにゃ。\n"));

    r = ptmtool({"lint", file, "--rules", "particles", "--json"});
    EXPECT_EQ(r.exitCode, 1);
    const QJsonArray items = QJsonDocument::fromJson(r.out).array();
    ASSERT_EQ(items.size(), 1);
    const QJsonObject f = items[0].toObject();
    EXPECT_EQ(f["section"].toInt(), 2);
    EXPECT_EQ(f["offset"].toInt(), 24); // 雨。CR LF 「待って CR LF ああ、駅
    EXPECT_EQ(f["length"].toInt(), 4);
    EXPECT_EQ(f["text"].toString(), QStringLiteral("のの"));
    EXPECT_EQ(f["suggestion"].toString(), QStringLiteral("の"));

    EXPECT_EQ(ptmtool({"lint", document(R"([{"text": "静かな朝。"}])")}).exitCode, 0);
    EXPECT_EQ(ptmtool({"lint", file, "--rules", "nonsense"}).exitCode, 2);
    EXPECT_EQ(ptmtool({"lint", file, "--length", "3"}).exitCode, 2);
    EXPECT_EQ(ptmtool({"lint", m_dir.filePath(QStringLiteral("ない.ptm"))}).exitCode, 2);
    EXPECT_EQ(
        ptmtool({"lint", document(kSlips, QStringLiteral("\"password\": \"neko12\","))}).exitCode,
        3);
}

TEST_F(PtmtoolLint, WithoutTheDictionaryTheOtherRulesStillRun) {
    const Outcome r = ptmtool({"lint", document(kSlips)}, "/nonexistent/dic");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("/nonexistent/dic")) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out),
              QStringLiteral("2:2:1: brackets: 「「」が閉じてないにゃ。\n"));
}

} // namespace
} // namespace pote
