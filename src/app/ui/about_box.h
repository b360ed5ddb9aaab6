#pragma once
// The about box: product name, version and a link to the home page.

#include <QDialog>

class QLabel;

namespace pote {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const QString& homePage, QWidget* parent = nullptr);
    // The picture at the left; the cat once it is loaded, a placeholder before.
    void setPicture(const QPixmap& picture);

private:
    QLabel* m_picture;
};

QString versionText(); // "Version 0.10"

} // namespace pote
