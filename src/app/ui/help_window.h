#pragma once
// The manual, shown in the program's own help window from the help/ folder beside the program.

#include <QDialog>

class QTextBrowser;

namespace pote {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(const QString& helpFolder, QWidget* parent = nullptr);
    // Shows the contents page (again) and brings the window to the front.
    void showContents();

private:
    QString m_folder;
    QTextBrowser* m_browser;
};

} // namespace pote
