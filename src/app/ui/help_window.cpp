#include "app/ui/help_window.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace pote {

HelpWindow::HelpWindow(const QString& helpFolder, QWidget* parent)
    : QDialog(parent), m_folder(helpFolder), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("help_fm"));
    setWindowTitle(QStringLiteral("ぽてまるエディター ヘルプ"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(640, 560);
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({helpFolder});

    auto* back = new QPushButton(QStringLiteral("戻る(&B)"), this);
    auto* contents = new QPushButton(QStringLiteral("目次(&T)"), this);
    auto* closeButton = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(contents, &QPushButton::clicked, this, &HelpWindow::showContents);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    back->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addLayout(buttons);
}

void HelpWindow::showContents() {
    const QString index = m_folder + QStringLiteral("/index.html");
    if (QFileInfo::exists(index))
        m_browser->setSource(QUrl::fromLocalFile(index));
    else
        m_browser->setHtml(QStringLiteral("<p>マニュアルが見つからないにゃ。<br>%1</p>")
                               .arg(index.toHtmlEscaped()));
    show();
    raise();
    activateWindow();
}

} // namespace pote
