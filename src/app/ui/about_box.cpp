#include "app/ui/about_box.h"

#include "core/program_info.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace pote {

QString versionText() {
    return QStringLiteral("Version ") + programVersion();
}

AboutBox::AboutBox(const QString& homePage, QWidget* parent)
    : QDialog(parent), m_picture(new QLabel(this)) {
    setObjectName(QStringLiteral("about_fm"));
    setWindowTitle(QStringLiteral("アプリケーション情報"));
    m_picture->setObjectName(QStringLiteral("about_picture"));
    m_picture->setFixedSize(96, 96);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setPixmap(QIcon(QStringLiteral(":/icons/poteedit.svg")).pixmap(80, 80));

    auto* product = new QLabel(QStringLiteral("ぽてまるエディター"), this);
    QFont big = product->font();
    big.setPixelSize(20);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel(versionText(), this);
    version->setObjectName(QStringLiteral("version_label"));
    auto* link =
        new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(homePage.toHtmlEscaped()), this);
    link->setObjectName(QStringLiteral("homepage_link"));
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    link->setOpenExternalLinks(true);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(product);
    text->addWidget(version);
    text->addWidget(link);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(m_picture);
    top->addLayout(text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

void AboutBox::setPicture(const QPixmap& picture) {
    m_picture->setPixmap(picture.scaled(96, 96, Qt::KeepAspectRatio, Qt::FastTransformation));
}

} // namespace pote
