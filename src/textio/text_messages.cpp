#include "textio/text_messages.h"

namespace pote::textmsg {

QString notLinkedText() {
    return QStringLiteral("このテキストは、連結テキストの書式と違うみたいだにゃ。\r") +
           QStringLiteral("コンバート失敗しちゃったにゃ。ゴメンニャ。");
}

QString tooManyLinkedSections(int headers) {
    return QStringLiteral("セクションが多すぎて、読めないにゃ！！\r\n") +
           QStringLiteral("発見したセクション数＝") + QString::number(headers) +
           QStringLiteral("\r\n") + QStringLiteral("ひとつの文書には500個までしか入らないにゃん。");
}

namespace {

// "No.2、No.3": a long list would not fit on the screen; the first ones tell the user where
// to look.
QString sectionList(const std::vector<int>& numbers) {
    constexpr size_t kShown = 20;
    QStringList shown;
    for (size_t k = 0; k < numbers.size() && k < kShown; ++k)
        shown.append(QStringLiteral("No.") + QString::number(numbers[k]));
    QString list = shown.join(QStringLiteral("、"));
    if (numbers.size() > kShown)
        list += QStringLiteral(" ほか") + QString::number(numbers.size() - kShown) +
                QStringLiteral("個");
    return list;
}

} // namespace

QString headerInsideSections(const std::vector<int>& numbers) {
    return QStringLiteral("セクション ") + sectionList(numbers) +
           QStringLiteral(" の名前かテキストに「*section」が入ってるにゃ。\r\n") +
           QStringLiteral("読み込み直すと、そこでセクションが分かれちゃうにゃん。\r\n") +
           QStringLiteral("このまま保存するにゃん？");
}

QString nulInsideSections(const std::vector<int>& numbers) {
    return QStringLiteral("セクション ") + sectionList(numbers) +
           QStringLiteral(" の名前かテキストに NUL（コード0）が入ってるにゃ。\r\n") +
           QStringLiteral("読み込み直すと、そこから後ろはみんな消えちゃうにゃん。\r\n") +
           QStringLiteral("このまま保存するにゃん？");
}

QString noTextFiles() {
    return QStringLiteral("テキストファイルが発見できなかったよ。");
}

QString tooManyTextFiles(int found) {
    return QStringLiteral("テキストが多すぎて、読めないにゃ！！\r\n") +
           QStringLiteral("発見したテキスト数＝") + QString::number(found);
}

QString skippedFolderEntries(const QStringList& names) {
    return QStringLiteral("読めないものがあったから、飛ばしたにゃ。\r\n") +
           names.join(QStringLiteral("\r\n"));
}

QString textFileTooLarge() {
    return QStringLiteral("このテキストは大きすぎて、読めないにゃ！！\r\n") +
           QStringLiteral("1ファイル1073741824byteまでだにゃん。");
}

QString folderChooserCaption() {
    return QStringLiteral("ディレクトリの選択");
}

QString createFolderQuestion() {
    return QStringLiteral("指定されたディレクトリが存在しません。作成しますか？");
}

QString folderSaveFailed(const QString& fileName, const QString& error, int written) {
    return QStringLiteral("「") + fileName + QStringLiteral("」が書けなかったにゃ。\r\n") + error +
           QStringLiteral("\r\n") + QStringLiteral("それまでに書いた") + QString::number(written) +
           QStringLiteral("個のファイルは、ちゃんと残ってるにゃん。");
}

QString commandLineFileMissing(const QString& named) {
    return QStringLiteral("「") + named +
           QStringLiteral("」っていうファイルが見つからないにゃ。\r\n") +
           QStringLiteral("何も開かないでおくにゃん。");
}

QString commandLineCannotOpen(const QString& named) {
    return QStringLiteral("「") + named +
           QStringLiteral("」は、僕には開けない種類のファイルだにゃ。\r\n") +
           QStringLiteral("開けるのは ptm、txt、txm のファイルだにゃん。");
}

QString utf8OverwriteQuestion(const QString& fileName) {
    return QStringLiteral("「") + fileName +
           QStringLiteral("」は UTF-8 のファイルだったにゃ。\r\n") +
           QStringLiteral("UTF-8 のファイルを Shift_JIS で上書きするにゃ？\r\n") +
           QStringLiteral("「いいえ」なら、別のファイルに保存するにゃん。");
}

QString utf8Question() {
    return QStringLiteral("UTF-8 のテキストみたいだにゃ。シフトJISに変換して読み込むにゃん？");
}

QString utf8Unmappable(qsizetype count) {
    return QStringLiteral("シフトJISにできない文字が") + QString::number(count) +
           QStringLiteral("個あったから、「?」にしたにゃ。");
}

QString rewriteCaption() {
    return QStringLiteral("上書き確認");
}
QString rewriteLine1() {
    return QStringLiteral("このファイルは既にあるみたいだにゃん！");
}
QString rewriteLine2() {
    return QStringLiteral("上書きしていいかにゃ？？");
}
QString rewriteFileName(const QString& fileName) {
    return QStringLiteral("ファイル名：") + fileName;
}
QString rewriteYes() {
    return QStringLiteral("はい(&Y)");
}
QString rewriteNo() {
    return QStringLiteral("いいえ(&N)");
}
QString rewriteAll() {
    return QStringLiteral("全部上書き(&A)");
}

} // namespace pote::textmsg
