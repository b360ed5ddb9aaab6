#include "app/ui/qt_prompter.h"

#include "textio/text_messages.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>

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

// With their keyboard letters: a plain N answers No, as in the toolkit's own boxes.
constexpr ButtonSpec kButtons[] = {
    {Answer::Yes, QMessageBox::YesRole, u"はい(&Y)"},
    // Before No: closing a box counts as its last button, and throwing away must never be the
    // answer to a closed box.
    {Answer::Discard, QMessageBox::DestructiveRole, u"捨てる(&D)"},
    {Answer::No, QMessageBox::NoRole, u"いいえ(&N)"},
    {Answer::Ok, QMessageBox::AcceptRole, u"OK"},
    {Answer::Abort, QMessageBox::RejectRole, u"中止(&A)"},
    {Answer::Retry, QMessageBox::AcceptRole, u"再試行(&R)"},
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
    if (!pattern.startsWith(QStringLiteral("*."))) return {};
    const QString suffix = pattern.mid(2);
    return suffix.contains(u'*') || suffix.contains(u'?') ? QString() : suffix;
}

// The file list's sizes and dates in the program's own (Japanese) formats: the toolkit's list
// follows the system's locale, which may be English or plain C.
class FileDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QFileInfo info = files->fileInfo(source);
        if (index.column() == 3)
            return QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        if (info.isDir()) return QIdentityProxyModel::data(index, role);
        return QLocale().formattedDataSize(info.size(), 1, QLocale::DataSizeTraditionalFormat);
    }
};

// Large enough that the file list shows every column whole.
constexpr QSize kFileDialogSize(800, 480);

void showWholeColumns(QFileDialog& dialog) {
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!list) return;
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < list->header()->count(); ++column)
        list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

void prepare(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setProxyModel(new FileDetails(&dialog));
    dialog.resize(kFileDialogSize);
    showWholeColumns(dialog);
    dialog.setWindowTitle(request.title);
    dialog.setNameFilters(qtFilters(request));
    dialog.setDirectory(request.directory);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (!request.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(request.defaultSuffix);
    } else if (!request.filters.isEmpty()) {
        // A name typed without extension gets the extension of the filter in use.
        dialog.setDefaultSuffix(suffixOf(request.filters.first().second));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, request](const QString& f) {
                             const QStringList filters = qtFilters(request);
                             const qsizetype i = filters.indexOf(f);
                             if (i >= 0)
                                 dialog.setDefaultSuffix(suffixOf(request.filters.at(i).second));
                         });
    }
}

// Qt's folder chooser takes only folders that exist. This one also takes the name of a folder
// still to be made: its choose button stays usable for such a name, and choosing it ends the
// dialog where Qt's would warn that the folder is missing.
class FolderChooser : public QFileDialog {
public:
    FolderChooser(QWidget* parent, const QString& caption, const QString& start, bool allowCreate)
        : QFileDialog(parent, caption, start), m_allowCreate(allowCreate) {
        setOption(QFileDialog::DontUseNativeDialog, true);
        setOption(QFileDialog::ShowDirsOnly, true);
        setFileMode(QFileDialog::Directory);
        auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QPushButton* choose = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
        if (!allowCreate || !name || !choose) return;
        // Connected after the dialog's own check of the name, so this has the last word.
        connect(name, &QLineEdit::textChanged, this, [this, choose](const QString& text) {
            if (!text.trimmed().isEmpty() && namesNewFolder()) choose->setEnabled(true);
        });
    }

    void accept() override {
        if (m_allowCreate && namesNewFolder())
            QDialog::accept();
        else
            QFileDialog::accept();
    }

private:
    bool namesNewFolder() const {
        const QStringList chosen = selectedFiles();
        return !chosen.isEmpty() && !QFileInfo::exists(chosen.first());
    }

    bool m_allowCreate;
};

} // namespace

QWidget* QtPrompter::owner() const {
    // Over the dialog that asked, when one is open, rather than over the main window behind it.
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : m_parent;
}

Answer QtPrompter::message(MessageKind kind, Answers buttons, const QString& text) {
    QMessageBox box(iconFor(kind), messageCaption(kind), displayText(text), QMessageBox::NoButton,
                    owner());
    QAbstractButton* escape = nullptr;
    QList<QPair<QAbstractButton*, Answer>> added;
    for (const ButtonSpec& b : kButtons) {
        if (!buttons.testFlag(b.answer)) continue;
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
        if (box.clickedButton() == button) return answer;
    return added.last().second;
}

std::optional<QString> QtPrompter::inputText(const QString& caption, const QString& prompt,
                                             const QString& value) {
    QInputDialog dialog(owner());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtPrompter::openFile(const FileDialogRequest& request) {
    QFileDialog dialog(owner());
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtPrompter::saveFile(const FileDialogRequest& request) {
    QFileDialog dialog(owner());
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtPrompter::chooseFolder(const QString& caption, const QString& start,
                                                bool allowCreate) {
    FolderChooser dialog(owner(), caption, start, allowCreate);
    dialog.setProxyModel(new FileDetails(&dialog));
    dialog.resize(kFileDialogSize);
    showWholeColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString folder = dialog.selectedFiles().first();
    if (!QFileInfo(folder).isDir()) {
        if (!allowCreate) return std::nullopt;
        if (message(MessageKind::Confirmation, Answer::Yes | Answer::No,
                    textmsg::createFolderQuestion()) != Answer::Yes)
            return std::nullopt;
        if (!QDir().mkpath(folder)) {
            message(MessageKind::Error, Answer::Ok,
                    QStringLiteral("フォルダを作れなかったにゃ。\r\n") +
                        QDir::toNativeSeparators(folder));
            return std::nullopt;
        }
    }
    return folder;
}

} // namespace pote
