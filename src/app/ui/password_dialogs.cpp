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

PasswordDialog::PasswordDialog(Prompter& prompter, const char* objectName, const QString& caption,
                               const QStringList& labels, const QString& confirmCaption,
                               QWidget* parent)
    : QDialog(parent), m_prompter(prompter) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);

    mask_ed = new QLineEdit(this);
    mask_ed->setObjectName(QStringLiteral("mask_ed"));
    mask_ed->setMaxLength(kPasswordMaxLength);
    // Password echo also keeps the entry off the clipboard (copy and cut do nothing) and out
    // of the input method's history.
    mask_ed->setEchoMode(QLineEdit::Password);
    mask_ed->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // "*"
    mask_ed->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                 Qt::ImhNoPredictiveText);

    cb_mask = new QCheckBox(QStringLiteral("入力文字のマスク"), this);
    cb_mask->setObjectName(QStringLiteral("cb_mask"));
    cb_mask->setChecked(true);
    connect(cb_mask, &QCheckBox::toggled, mask_ed, [this](bool masked) {
        mask_ed->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    });

    set_bt = new QPushButton(confirmCaption, this);
    set_bt->setObjectName(QStringLiteral("set_bt"));
    set_bt->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    int n = 1;
    for (const QString& text : labels) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("Label%1").arg(n++));
        layout->addWidget(label);
    }
    layout->addWidget(mask_ed);
    layout->addWidget(cb_mask);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(set_bt);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PasswordDialog::cb_maskClick() {
    cb_mask->toggle();
}

void PasswordDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // At every showing typing goes into the field and replaces what it still holds, whatever
    // had the focus when the dialog last closed (a button clicked to cancel would otherwise
    // take the keys, and Enter would press it).
    mask_ed->setFocus(Qt::OtherFocusReason);
    mask_ed->selectAll();
}

Tpass_set_fm::Tpass_set_fm(Prompter& prompter, QWidget* parent)
    : PasswordDialog(prompter, "pass_set_fm", QStringLiteral("パスワード設定"),
                     {QStringLiteral("パスワードを設定するにゃ。"),
                      QStringLiteral("（半角のアルファベットか数字で４文字以上８文字までにゃん）")},
                     QStringLiteral("設定"), parent) {
    connect(set_bt, &QPushButton::clicked, this, &Tpass_set_fm::set_btClick);
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

Tread_pass_fm::Tread_pass_fm(Prompter& prompter, QWidget* parent)
    : PasswordDialog(prompter, "read_pass_fm", QStringLiteral("パスワード入力"),
                     {QStringLiteral("この文書を読むには、パスワード入力が必要にゃん。")},
                     QStringLiteral("照合"), parent) {
    setWindowFlag(Qt::WindowStaysOnTopHint);
    connect(set_bt, &QPushButton::clicked, this, &Tread_pass_fm::set_btClick);
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
    PasswordDialog::showEvent(event);
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

} // namespace pote
