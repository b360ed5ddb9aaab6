#pragma once
// The replace dialog `Trep_fm` ("検索"): the text to find, its replacement, the case box, four
// buttons and the status line `rep_bar`. It is created for each use and shown modally; what the
// buttons do to the pane is the business of whoever opened it (the signals below).

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pote {

class Trep_fm : public QDialog {
    Q_OBJECT
public:
    explicit Trep_fm(QWidget* parent);

    QString findText() const;
    QString replacementText() const;
    bool matchCase() const;
    void setFindText(const QString& text);
    void setReplacementText(const QString& text);
    void setMatchCase(bool on);

    // rep_bar
    void setNote(const QString& note);
    QString note() const;

    // FormActivate: runs each time the dialog becomes the active window.
    void FormActivate();

signals:
    void findNext();         // find_bt "次を検索(&F)"
    void replaceNext();      // rep_bt "置換して次へ(&R)"
    void replaceAll();       // all_rep_bt "すべての行を置換(&A)"
    void replaceSelection(); // sel_rep_bt "選択範囲をすべて置換(&S)"

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_findEdit = nullptr;
    QLineEdit* m_replacementEdit = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QLabel* m_bar = nullptr;
};

} // namespace pote
