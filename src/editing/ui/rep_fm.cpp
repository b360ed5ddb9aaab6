#include "editing/ui/rep_fm.h"

#include "core/ui/screen_centre.h"
#include "editing/replace.h"
#include "editing/ui/search_box.h"

#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pote {

namespace {

QPushButton* button(const char* name, const QString& caption, int top, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(318, top, 153, 25);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(const char* name, const QString& caption, QWidget* buddy, int top, QWidget* parent) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setBuddy(buddy);
    l->setGeometry(8, top, 300, 16);
    return l;
}

} // namespace

Trep_fm::Trep_fm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("rep_fm"));
    setAttribute(Qt::WA_WindowPropagation);
    setWindowTitle(QStringLiteral("検索"));
    setFixedSize(479, 193);

    m_findEdit = makeSearchBox(QStringLiteral("rep_find_ed"), this);
    m_findEdit->setGeometry(8, 26, 297, 22);
    label("Label1", QStringLiteral("置換前の文字列(&N)"), m_findEdit, 8, this);
    m_replacementEdit = makeSearchBox(QStringLiteral("rep_str_ed"), this);
    m_replacementEdit->setGeometry(8, 76, 297, 22);
    label("Label2", QStringLiteral("置換後の文字列(&P)"), m_replacementEdit, 58, this);

    m_matchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
    m_matchCase->setObjectName(QStringLiteral("cb_find_real"));
    m_matchCase->setGeometry(8, 116, 297, 22);

    QPushButton* find = button("find_bt", QStringLiteral("次を検索(&F)"), 8, this);
    QPushButton* replace = button("rep_bt", QStringLiteral("置換して次へ(&R)"), 38, this);
    QPushButton* all = button("all_rep_bt", QStringLiteral("すべての行を置換(&A)"), 68, this);
    QPushButton* selection =
        button("sel_rep_bt", QStringLiteral("選択範囲をすべて置換(&S)"), 98, this);
    QPushButton* cancel = button("Button5", QStringLiteral("キャンセル"), 138, this);
    // Enter in either box searches, as in the find dialog; it never replaces.
    find->setDefault(true);

    m_bar = new QLabel(this);
    m_bar->setObjectName(QStringLiteral("rep_bar"));
    m_bar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_bar->setGeometry(0, 172, 479, 21);
    m_bar->setIndent(4);

    connect(m_findEdit, &QLineEdit::textChanged, this,
            [this] { setNote(replaceNote(ReplaceNote::TypingPattern)); });
    connect(m_replacementEdit, &QLineEdit::textChanged, this,
            [this] { setNote(replaceNote(ReplaceNote::TypingReplacement)); });
    connect(find, &QPushButton::clicked, this, &Trep_fm::findNext);
    connect(replace, &QPushButton::clicked, this, &Trep_fm::replaceNext);
    connect(all, &QPushButton::clicked, this, &Trep_fm::replaceAll);
    connect(selection, &QPushButton::clicked, this, &Trep_fm::replaceSelection);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString Trep_fm::findText() const {
    return m_findEdit->text();
}

QString Trep_fm::replacementText() const {
    return m_replacementEdit->text();
}

bool Trep_fm::matchCase() const {
    return m_matchCase->isChecked();
}

void Trep_fm::setFindText(const QString& text) {
    m_findEdit->setText(searchBoxText(text));
}

void Trep_fm::setReplacementText(const QString& text) {
    m_replacementEdit->setText(searchBoxText(text));
}

void Trep_fm::setMatchCase(bool on) {
    m_matchCase->setChecked(on);
}

void Trep_fm::setNote(const QString& note) {
    m_bar->setText(note);
}

QString Trep_fm::note() const {
    return m_bar->text();
}

void Trep_fm::FormActivate() {
    setNote(QString());
}

bool Trep_fm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(event);
}

void Trep_fm::showEvent(QShowEvent* event) {
    // Centred on the desktop, not over the window.
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

} // namespace pote
