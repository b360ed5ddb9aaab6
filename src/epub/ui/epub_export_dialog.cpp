#include "epub/ui/epub_export_dialog.h"

#include "epub/book.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pote {

namespace {

QLineEdit* edit(const QString& name, const QString& text, QWidget* parent) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    return e;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// A row of several widgets needs its label told which one the access key goes to.
QLabel* buddyLabel(const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

// How the list of other books names one: the document's file, and where it was.
QString bookEntry(const RememberedBook& book) {
    const QFileInfo file(book.path);
    QString entry = file.fileName() + QStringLiteral("（") +
                    QDir::toNativeSeparators(file.absolutePath()) + QStringLiteral("）");
    if (!file.exists()) entry += QStringLiteral(" ※いまはない文書");
    return entry;
}

} // namespace

EpubExportDialog::EpubExportDialog(const EpubChoices& start,
                                   const QList<RememberedBook>& otherBooks,
                                   std::function<std::optional<QString>()> chooseCover,
                                   QWidget* parent)
    : QDialog(parent), m_others(otherBooks), m_chooseCover(std::move(chooseCover)) {
    setObjectName(QStringLiteral("epub_fm"));
    setWindowTitle(QStringLiteral("EPUBに書き出す"));
    auto* form = new QFormLayout;

    m_title = edit(QStringLiteral("title_ed"), start.title, this);
    form->addRow(QStringLiteral("題名(&T):"), m_title);
    m_author = edit(QStringLiteral("author_ed"), start.author, this);
    form->addRow(QStringLiteral("作者(&A):"), m_author);
    m_authorSort = edit(QStringLiteral("author_sort_ed"), start.authorSort, this);
    m_authorSort->setPlaceholderText(QStringLiteral("例：ぽてまる たろう"));
    form->addRow(QStringLiteral("作者のよみ(&Y):"), m_authorSort);

    m_identifier = edit(QStringLiteral("identifier_ed"), start.identifier, this);
    auto* renew = button(QStringLiteral("renew_bt"), QStringLiteral("新しくする(&N)"), this);
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(m_identifier, 1);
    idRow->addWidget(renew);
    form->addRow(buddyLabel(QStringLiteral("本の番号(&I):"), m_identifier), idRow);
    connect(renew, &QPushButton::clicked, this,
            [this] { m_identifier->setText(epub::newBookIdentifier()); });
    connect(m_identifier, &QLineEdit::textChanged, this, [this] { refreshWrite(); });
    if (!m_others.isEmpty()) {
        m_otherBooks = new QComboBox(this);
        m_otherBooks->setObjectName(QStringLiteral("other_books_list"));
        m_otherBooks->addItem(QStringLiteral("（ほかの文書の本の番号を使うときに選んでにゃ）"));
        for (const RememberedBook& b : m_others)
            m_otherBooks->addItem(bookEntry(b));
        form->addRow(QString(), m_otherBooks);
        connect(m_otherBooks, &QComboBox::activated, this, &EpubExportDialog::takeOtherBook);
    }

    m_cover = edit(QStringLiteral("cover_ed"), start.coverPath, this);
    m_cover->setPlaceholderText(QStringLiteral("JPEG か PNG の画像（なくてもいいにゃ）"));
    auto* choose = button(QStringLiteral("cover_bt"), QStringLiteral("選ぶ(&C)..."), this);
    auto* coverRow = new QHBoxLayout;
    coverRow->addWidget(m_cover, 1);
    coverRow->addWidget(choose);
    form->addRow(buddyLabel(QStringLiteral("表紙の画像(&P):"), m_cover), coverRow);
    connect(choose, &QPushButton::clicked, this, [this] {
        if (const std::optional<QString> file = m_chooseCover ? m_chooseCover() : std::nullopt)
            m_cover->setText(*file);
    });
    m_generatedCover =
        new QCheckBox(QStringLiteral("画像がないときは、題名と作者で表紙を作る(&G)"), this);
    m_generatedCover->setObjectName(QStringLiteral("cb_generated_cover"));
    m_generatedCover->setChecked(start.generatedCover);
    form->addRow(QString(), m_generatedCover);
    m_horizontal = new QCheckBox(QStringLiteral("横書きの本にする(&H)"), this);
    m_horizontal->setObjectName(QStringLiteral("cb_horizontal"));
    m_horizontal->setChecked(start.horizontal);
    form->addRow(QString(), m_horizontal);

    auto* buttons = new QDialogButtonBox(this);
    m_write = buttons->addButton(QStringLiteral("書き出す"), QDialogButtonBox::AcceptRole);
    m_write->setObjectName(QStringLiteral("write_bt"));
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel_bt"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(560);
    refreshWrite();
}

EpubChoices EpubExportDialog::choices() const {
    return {m_title->text().trimmed(),      m_author->text().trimmed(),
            m_authorSort->text().trimmed(), epub::cleanIdentifier(m_identifier->text()),
            m_cover->text().trimmed(),      m_generatedCover->isChecked(),
            m_horizontal->isChecked()};
}

// A book needs a name for itself: the write waits for one.
void EpubExportDialog::refreshWrite() {
    m_write->setEnabled(!epub::cleanIdentifier(m_identifier->text()).isEmpty());
}

void EpubExportDialog::takeOtherBook(int index) {
    if (index <= 0 || index > m_others.size()) return;
    m_identifier->setText(m_others[index - 1].identifier);
}

} // namespace pote
