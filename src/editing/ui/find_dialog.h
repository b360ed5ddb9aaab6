#pragma once
// The find dialog `FindDialog1`: a modeless dialog with the look of the desktop's standard find
// dialog (no direction, no whole-word box) that stays open across searches, and a button that
// searches every section at once.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace pote {

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent);

    QString findText() const;
    bool matchCase() const;
    void setFindText(const QString& text);
    // Brings the dialog up with its text ready to be typed over.
    void present();

signals:
    // Fd_find: "次を検索(&F)" or Enter.
    void findNext();
    void searchAllSections();

private:
    void buttonState();

    QLineEdit* m_findEdit = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QPushButton* m_findButton = nullptr;
    QPushButton* m_allButton = nullptr;
};

} // namespace pote
