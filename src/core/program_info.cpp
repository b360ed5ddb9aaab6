#include "core/program_info.h"

namespace pote {

QString programVersion() {
    return QStringLiteral(POTE_VERSION);
}

ProgramOption programOption(const QStringList& arguments) {
    if (arguments.isEmpty()) return ProgramOption::Run;
    const QString& first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return ProgramOption::Help;
    if (first == QLatin1String("--version")) return ProgramOption::Version;
    return ProgramOption::Run;
}

QString commandLineHelp(const QString& manualFolder) {
    return QStringLiteral(
               "使い方: poteedit [ファイル]\n"
               "        poteedit /d\n"
               "\n"
               "ぽてまるエディター: セクションに分けて書く、ねこのいるテキストエディター。\n"
               "\n"
               "  ファイル     開く文書(.ptm)か、そのまま編集するテキスト(.txt)にゃ。\n"
               "               空白で分かれても、ひとつのパスとしてつなぎ直すにゃん。\n"
               "  /d           ウィンドウを最初の位置と大きさで開くにゃ。\n"
               "  --help, -h   この説明を出して終わるにゃ。\n"
               "  --version    ヴァージョンを出して終わるにゃん。\n"
               "\n"
               "マニュアル: ") +
           manualFolder + QStringLiteral("/index.html\n");
}

QString versionLine() {
    return QStringLiteral("ぽてまるエディター (poteedit) Version ") + programVersion();
}

} // namespace pote
