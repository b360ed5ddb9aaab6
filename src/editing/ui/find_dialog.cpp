#include "editing/ui/find_dialog.h"

#include "editing/ui/search_box.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace pote {

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FindDialog1"));
    // The window's own face and size, as every dialog of the program has.
    setAttribute(Qt::WA_WindowPropagation);
    setWindowTitle(QStringLiteral("検索"));
    setFixedSize(446, 102);
    setModal(false);

    m_findEdit = makeSearchBox(QStringLiteral("find_ed"), this);
    m_findEdit->setGeometry(118, 10, 154, 22);
    auto* label = new QLabel(QStringLiteral("検索する文字列(&N)"), this);
    label->setObjectName(QStringLiteral("lb_find"));
    label->setBuddy(m_findEdit);
    label->setGeometry(8, 10, 108, 22);

    m_matchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
    m_matchCase->setObjectName(QStringLiteral("cb_match_case"));
    m_matchCase->setGeometry(8, 70, 240, 22);

    m_findButton = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    m_findButton->setObjectName(QStringLiteral("find_next_bt"));
    m_findButton->setGeometry(282, 8, 156, 25);
    m_findButton->setDefault(true);
    m_allButton = new QPushButton(QStringLiteral("すべてのセクションを検索"), this);
    m_allButton->setObjectName(QStringLiteral("search_all_bt"));
    m_allButton->setGeometry(282, 38, 156, 25);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel_bt"));
    cancel->setGeometry(282, 68, 156, 25);

    connect(m_findEdit, &QLineEdit::textChanged, this, &FindDialog::buttonState);
    connect(m_findButton, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(m_allButton, &QPushButton::clicked, this, &FindDialog::searchAllSections);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // F3 searches again here as it does in the window.
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, m_findButton,
            &QPushButton::click);
    buttonState();
}

QString FindDialog::findText() const {
    return m_findEdit->text();
}

bool FindDialog::matchCase() const {
    return m_matchCase->isChecked();
}

void FindDialog::setFindText(const QString& text) {
    m_findEdit->setText(searchBoxText(text));
}

void FindDialog::present() {
    show();
    raise();
    activateWindow();
    m_findEdit->setFocus();
    m_findEdit->selectAll();
}

void FindDialog::buttonState() {
    // As in the standard dialog: nothing to find, nothing to press.
    const bool any = !m_findEdit->text().isEmpty();
    m_findButton->setEnabled(any);
    m_allButton->setEnabled(any);
}

} // namespace pote
