#pragma once
// The overwrite question of the folder save `Trewrite_fm`: a file of that name is already in the
// folder; write over it, leave it, or write over every file from here on.

#include "textio/text_folder.h"

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPushButton;

namespace pote {

class Trewrite_fm : public QDialog {
    Q_OBJECT
public:
    // fileName: the file's name without its folder.
    explicit Trewrite_fm(const QString& fileName, QWidget* parent = nullptr);

    // The button pressed; Closed when the dialog was shut by its title bar.
    OverwriteAnswer answer() const { return m_answer; }

    // Shows the file's name; runs at every activation.
    void act();
    void yes_btClick();
    void no_btClick();
    void all_btClick();

    QLabel* st_filename = nullptr;
    QPushButton* yes_bt = nullptr;
    QPushButton* no_bt = nullptr;
    QPushButton* all_bt = nullptr;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void close(OverwriteAnswer answer);

    QString m_fileName;
    OverwriteAnswer m_answer = OverwriteAnswer::Closed;
};

} // namespace pote
