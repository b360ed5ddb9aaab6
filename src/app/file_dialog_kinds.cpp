#include "app/file_dialog_kinds.h"

#include <QDir>
#include <QFileInfo>

namespace pote {

namespace {

using Filters = QList<QPair<QString, QString>>;

Filters documentFilter() {
    return {{QStringLiteral("ぽてまる文書(*.ptm)"), QStringLiteral("*.ptm")}};
}
Filters textFilter() {
    return {{QStringLiteral("テキストファイル(*.txt)"), QStringLiteral("*.txt")}};
}
Filters linkedTextFilters() {
    return {{QStringLiteral("テキストファイル(*.txt)"), QStringLiteral("*.txt")},
            {QStringLiteral("連結テキストファイル(*.txm)"), QStringLiteral("*.txm")}};
}
Filters allFilesFilter() {
    return {{QStringLiteral("すべてのファイル(*.*)"), QStringLiteral("*.*")}};
}

} // namespace

std::optional<DialogEntry> dialogEntry(DialogKind kind, DialogDirection direction) {
    const bool save = direction == DialogDirection::Save;
    switch (kind) {
    case DialogKind::Document:
        return save ? DialogEntry{QStringLiteral("ぽてまる文書の保存"), documentFilter(),
                                  QStringLiteral("ptm"), ProposedName::DisplayName}
                    : DialogEntry{QStringLiteral("ぽてまる文書の読み込み"), documentFilter(),
                                  QStringLiteral("ptm"), ProposedName::None};
    case DialogKind::Text:
        return save ? DialogEntry{QStringLiteral("テキストファイル形式での保存"),
                                  textFilter(),
                                  {},
                                  ProposedName::SectionName}
                    : DialogEntry{QStringLiteral("テキストファイルの読み込み"),
                                  textFilter(),
                                  {},
                                  ProposedName::None};
    case DialogKind::LinkedText:
        return save ? DialogEntry{QStringLiteral(
                                      "テキストファイル形式での保存（全セクションを連結）"),
                                  linkedTextFilters(),
                                  {},
                                  ProposedName::DisplayName}
                    : DialogEntry{QStringLiteral("連結テキストファイルの読み込み"),
                                  linkedTextFilters(),
                                  {},
                                  ProposedName::None};
    case DialogKind::Epub:
        if (!save) return std::nullopt;
        return DialogEntry{QStringLiteral("EPUBに書き出す"),
                           {{QStringLiteral("EPUBファイル(*.epub)"), QStringLiteral("*.epub")}},
                           QStringLiteral("epub"),
                           ProposedName::DisplayName};
    case DialogKind::FixedText:
        if (save) return std::nullopt;
        return DialogEntry{
            QStringLiteral("挿入用テキストの選択"), textFilter(), {}, ProposedName::None};
    case DialogKind::InsertFileName:
        if (save) return std::nullopt;
        return DialogEntry{QStringLiteral("指定ファイルネーム文字列をテキストに挿入"),
                           allFilesFilter(),
                           {},
                           ProposedName::None};
    case DialogKind::InsertFileSize:
        if (save) return std::nullopt;
        return DialogEntry{QStringLiteral("指定ファイルのファイルサイズをテキストに挿入"),
                           allFilesFilter(),
                           {},
                           ProposedName::None};
    }
    return std::nullopt;
}

FileDialogRequest dialog_setup(DialogKind kind, DialogDirection direction,
                               const QString& workFolder, const QString& displayName,
                               const QString& sectionName) {
    FileDialogRequest request;
    const std::optional<DialogEntry> entry = dialogEntry(kind, direction);
    if (!entry) return request;
    request.title = entry->title;
    request.filters = entry->filters;
    request.defaultSuffix = entry->defaultSuffix;
    request.directory = QFileInfo(workFolder).isDir() ? workFolder : QDir::currentPath();
    switch (entry->proposedName) {
    case ProposedName::None:
        break;
    case ProposedName::DisplayName:
        request.fileName = displayName;
        break;
    case ProposedName::SectionName:
        request.fileName = sectionName;
        break;
    }
    return request;
}

FileDialogRequest pdfSaveRequest(const QString& title, const QString& workFolder,
                                 const QString& displayName) {
    FileDialogRequest request;
    request.title = title;
    request.filters = {{QStringLiteral("PDFファイル(*.pdf)"), QStringLiteral("*.pdf")}};
    request.defaultSuffix = QStringLiteral("pdf");
    request.directory = workFolder;
    request.fileName = displayName + QStringLiteral(".pdf");
    return request;
}

FileDialogRequest coverImageRequest(const QString& workFolder) {
    FileDialogRequest request;
    request.title = QStringLiteral("表紙の画像を選ぶ");
    request.filters = {
        {QStringLiteral("表紙の画像(*.jpg *.jpeg *.png)"), QStringLiteral("*.jpg *.jpeg *.png")}};
    request.directory = workFolder;
    return request;
}

} // namespace pote
