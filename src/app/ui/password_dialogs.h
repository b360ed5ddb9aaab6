#pragma once
// The two password dialogs: setting a password, and entering it to read a protected document.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace pote {

class Prompter;

// What both dialogs are made of: their labels, the masked edit `mask_ed` (at most 8
// characters), its "入力文字のマスク" box, the confirm button `set_bt` and `Button2` "キャンセル".
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    void cb_maskClick();

    QLineEdit* mask_ed = nullptr;
    QCheckBox* cb_mask = nullptr;
    QPushButton* set_bt = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    PasswordDialog(Prompter& prompter, const char* objectName, const QString& caption,
                   const QStringList& labels, const QString& confirmCaption, QWidget* parent);
    void showEvent(QShowEvent* event) override;

    Prompter& m_prompter;
};

class Tpass_set_fm : public PasswordDialog {
    Q_OBJECT
public:
    Tpass_set_fm(Prompter& prompter, QWidget* parent = nullptr);
    // The accepted password, once the dialog was confirmed with a valid entry.
    const QString& password() const { return m_password; }

    void set_btClick();

private:
    QString m_password;
};

class Tread_pass_fm : public PasswordDialog {
    Q_OBJECT
public:
    Tread_pass_fm(Prompter& prompter, QWidget* parent = nullptr);
    // Prepares a showing for a file whose stored password is candidate; clears the accepted flag.
    void prepare(const QByteArray& candidate);
    bool accepted() const { return m_accepted; }
    const QString& entered() const { return m_entered; }

    void set_btClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QByteArray m_candidate;
    QString m_entered;
    bool m_accepted = false;
};

} // namespace pote
