#include "app/ui/qt_prompter.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace pote {

QString displayText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

namespace {

QMessageBox::Icon iconFor(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSpec {
    Answer answer;
    QMessageBox::ButtonRole role;
    const char16_t* caption;
};

constexpr ButtonSpec kButtons[] = {
    {Answer::Yes, QMessageBox::YesRole, u"はい"},
    // Before No: closing a box counts as its last button, and throwing away must never be the
    // answer to a closed box.
    {Answer::Discard, QMessageBox::DestructiveRole, u"捨てる"},
    {Answer::No, QMessageBox::NoRole, u"いいえ"},
    {Answer::Ok, QMessageBox::AcceptRole, u"OK"},
    {Answer::Abort, QMessageBox::RejectRole, u"中止"},
    {Answer::Retry, QMessageBox::AcceptRole, u"再試行"},
    {Answer::Cancel, QMessageBox::RejectRole, u"キャンセル"},
};

QStringList qtFilters(const FileDialogRequest& request) {
    QStringList out;
    for (const auto& [description, pattern] : request.filters)
        out << (description.contains(u'(') ? description : description + " (" + pattern + ')');
    return out;
}

QString suffixOf(const QString& pattern) {
    // "*.txm" -> "txm"; "*.*" and other wild patterns give nothing.
    if (!pattern.startsWith(QStringLiteral("*.")))
        return {};
    const QString suffix = pattern.mid(2);
    return suffix.contains(u'*') || suffix.contains(u'?') ? QString() : suffix;
}

void prepare(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(request.title);
    dialog.setNameFilters(qtFilters(request));
    dialog.setDirectory(request.directory);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (!request.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(request.defaultSuffix);
    } else if (!request.filters.isEmpty()) {
        // A name typed without extension gets the extension of the filter in use.
        dialog.setDefaultSuffix(suffixOf(request.filters.first().second));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, request](const QString& f) {
            const QStringList filters = qtFilters(request);
            const qsizetype i = filters.indexOf(f);
            if (i >= 0)
                dialog.setDefaultSuffix(suffixOf(request.filters.at(i).second));
        });
    }
}

} // namespace

Answer QtPrompter::message(MessageKind kind, Answers buttons, const QString& text) {
    QMessageBox box(iconFor(kind), messageCaption(kind), displayText(text), QMessageBox::NoButton,
                    m_parent);
    QAbstractButton* escape = nullptr;
    QList<QPair<QAbstractButton*, Answer>> added;
    for (const ButtonSpec& b : kButtons) {
        if (!buttons.testFlag(b.answer))
            continue;
        QPushButton* button = box.addButton(QString::fromUtf16(b.caption), b.role);
        added.append({button, b.answer});
        escape = button;
    }
    if (added.isEmpty())
        added.append({box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), Answer::Ok});
    box.setDefaultButton(qobject_cast<QPushButton*>(added.first().first));
    box.setEscapeButton(escape ? escape : added.last().first);
    box.exec();
    for (const auto& [button, answer] : added)
        if (box.clickedButton() == button)
            return answer;
    return added.last().second;
}

std::optional<QString> QtPrompter::inputText(const QString& caption, const QString& prompt,
                                              const QString& value) {
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtPrompter::openFile(const FileDialogRequest& request) {
    QFileDialog dialog(m_parent);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtPrompter::saveFile(const FileDialogRequest& request) {
    QFileDialog dialog(m_parent);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtPrompter::chooseFolder(const QString& caption, const QString& start,
                                                 bool allowCreate) {
    QFileDialog dialog(m_parent, caption, start);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setFileMode(allowCreate ? QFileDialog::AnyFile : QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    QString folder = dialog.selectedFiles().first();
    if (!QFileInfo(folder).isDir()) {
        if (!allowCreate)
            return std::nullopt;
        if (message(MessageKind::Confirmation, Answer::Yes | Answer::No,
                    QStringLiteral("指定されたディレクトリが存在しません。作成しますか？")) != Answer::Yes)
            return std::nullopt;
        if (!QDir().mkpath(folder)) {
            message(MessageKind::Error, Answer::Ok,
                    QStringLiteral("フォルダを作れなかったにゃ。\r\n") + QDir::toNativeSeparators(folder));
            return std::nullopt;
        }
    }
    return folder;
}

} // namespace pote
