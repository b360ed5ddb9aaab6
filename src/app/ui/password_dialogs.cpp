#include "app/ui/password_dialogs.h"

#include "core/cp932.h"
#include "core/password_rules.h"
#include "core/prompter.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace pote {

namespace {

QLineEdit* makeMaskedEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("mask_ed"));
    edit->setMaxLength(kPasswordMaxLength);
    // Password echo also keeps the entry off the clipboard (copy and cut do nothing) and out
    // of the input method's history.
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // "*"
    edit->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
    return edit;
}

QCheckBox* makeMaskBox(QWidget* parent, QLineEdit* edit) {
    auto* box = new QCheckBox(QStringLiteral("入力文字のマスク"), parent);
    box->setObjectName(QStringLiteral("cb_mask"));
    box->setChecked(true);
    QObject::connect(box, &QCheckBox::toggled, edit, [edit](bool masked) {
        edit->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    });
    return box;
}

QVBoxLayout* layOut(QDialog* dialog, const QStringList& labels, QLineEdit* edit, QCheckBox* mask,
                    QPushButton* ok, QPushButton* cancel) {
    auto* layout = new QVBoxLayout(dialog);
    int n = 1;
    for (const QString& text : labels) {
        auto* label = new QLabel(text, dialog);
        label->setObjectName(QStringLiteral("Label%1").arg(n++));
        layout->addWidget(label);
    }
    layout->addWidget(edit);
    layout->addWidget(mask);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return layout;
}

QPushButton* button(QDialog* dialog, const QString& caption, const char* name) {
    auto* b = new QPushButton(caption, dialog);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

Tpass_set_fm::Tpass_set_fm(Prompter& prompter, QWidget* parent) : QDialog(parent), m_prompter(prompter) {
    setObjectName(QStringLiteral("pass_set_fm"));
    setWindowTitle(QStringLiteral("パスワード設定"));
    mask_ed = makeMaskedEdit(this);
    cb_mask = makeMaskBox(this, mask_ed);
    set_bt = button(this, QStringLiteral("設定"), "set_bt");
    set_bt->setDefault(true);
    Button2 = button(this, QStringLiteral("キャンセル"), "Button2");
    layOut(this,
           {QStringLiteral("パスワードを設定するにゃ。"),
            QStringLiteral("（半角のアルファベットか数字で４文字以上８文字までにゃん）")},
           mask_ed, cb_mask, set_bt, Button2);
    connect(set_bt, &QPushButton::clicked, this, &Tpass_set_fm::set_btClick);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void Tpass_set_fm::set_btClick() {
    const QString text = mask_ed->text();
    const PasswordProblem problem = checkPassword(text);
    if (problem != PasswordProblem::None) {
        m_prompter.message(MessageKind::Error, Answer::Yes, passwordProblemMessage(problem));
        mask_ed->clear();
        return;
    }
    m_password = text;
    accept();
}

void Tpass_set_fm::cb_maskClick() { cb_mask->toggle(); }

Tread_pass_fm::Tread_pass_fm(Prompter& prompter, QWidget* parent) : QDialog(parent), m_prompter(prompter) {
    setObjectName(QStringLiteral("read_pass_fm"));
    setWindowTitle(QStringLiteral("パスワード入力"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    mask_ed = makeMaskedEdit(this);
    cb_mask = makeMaskBox(this, mask_ed);
    set_bt = button(this, QStringLiteral("照合"), "set_bt");
    set_bt->setDefault(true);
    Button2 = button(this, QStringLiteral("キャンセル"), "Button2");
    layOut(this, {QStringLiteral("この文書を読むには、パスワード入力が必要にゃん。")}, mask_ed, cb_mask,
           set_bt, Button2);
    connect(set_bt, &QPushButton::clicked, this, &Tread_pass_fm::set_btClick);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void Tread_pass_fm::prepare(const QByteArray& candidate) {
    m_candidate = candidate;
    m_accepted = false;
    m_entered.clear();
}

void Tread_pass_fm::showEvent(QShowEvent* event) {
    // Centred on the desktop: the document being opened may not be the one in the window.
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void Tread_pass_fm::set_btClick() {
    if (cp932::encode(mask_ed->text()) != m_candidate) {
        m_prompter.message(MessageKind::Warning, Answer::Yes, wrongPasswordMessage());
        return;
    }
    m_accepted = true;
    m_entered = mask_ed->text();
    accept();
}

void Tread_pass_fm::cb_maskClick() { cb_mask->toggle(); }

} // namespace pote
