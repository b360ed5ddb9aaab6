// The window's fixed controls: where the panels, the section box, the cat, the pane and the
// status bar sit, and how they follow the window's size.
#include "app/ui/main_window.h"

#include "app/ui/section_binding.h"
#include "app/ui/section_number_box.h"
#include "editing/ui/edit_pane.h"
#include "mascot/ui/mascot_view.h"
#include "sections/picker_geometry.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

namespace pote {

namespace {

// Design positions of the window's controls, in pixels of the client area.
constexpr QRect kSelectPanel{0, 0, 497, 89};
constexpr QRect kToolPanel{4, 4, 433, 37};
constexpr QRect kSectionPanel{4, 42, 433, 41};
constexpr QRect kSelectButton{4, 8, 75, 25};
constexpr QRect kSecnoView{84, 8, 51, 25};
constexpr QRect kNameEdit{136, 9, 289, 24};
constexpr QRect kMascot{441, 33, 48, 48};
constexpr QRect kPane{8, 92, 513, 265};

} // namespace

void Tmain_fm::buildPanels() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    central->setMouseTracking(true);
    setCentralWidget(central);

    m_selectPanel = new QFrame(central);
    m_selectPanel->setObjectName(QStringLiteral("select_panel"));
    m_selectPanel->setGeometry(kSelectPanel);

    m_paTool = new QFrame(m_selectPanel);
    m_paTool->setObjectName(QStringLiteral("pa_tool"));
    m_paTool->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_paTool->setGeometry(kToolPanel);

    m_paSection = new QFrame(m_selectPanel);
    m_paSection->setObjectName(QStringLiteral("pa_section"));
    m_paSection->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_paSection->setGeometry(kSectionPanel);

    m_selectButton = new QPushButton(QStringLiteral("選択"), m_paSection);
    m_selectButton->setObjectName(QStringLiteral("select_bitbt"));
    m_selectButton->setGeometry(kSelectButton);

    QFont big(font());
    big.setPixelSize(16);
    m_secnoView = new QLabel(m_paSection);
    m_secnoView->setObjectName(QStringLiteral("secno_view"));
    m_secnoView->setGeometry(kSecnoView);
    m_secnoView->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont italic(big);
    italic.setItalic(true);
    m_secnoView->setFont(italic);
    m_secnoView->setToolTip(QStringLiteral("選択ページナンバー"));

    m_nameEdit = new QLineEdit(m_paSection);
    m_nameEdit->setObjectName(QStringLiteral("sec_name_ed"));
    m_nameEdit->setGeometry(kNameEdit);
    m_nameEdit->setFont(big);
    fitSectionNumberBox(*m_secnoView, *m_nameEdit);

    m_image = new mascot::MascotView(m_selectPanel);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setGeometry(kMascot);

    m_edit = new EditPane(central);
    m_edit->setGeometry(kPane);

    for (int i = 0; i < 3; ++i) {
        m_statusPanels[i] = new QLabel(this);
        m_statusPanels[i]->setObjectName(QStringLiteral("stbar_panel%1").arg(i));
        m_statusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(m_statusPanels[i], i == 0 ? 1 : 0);
    }
    m_stopButton = new QToolButton(this);
    m_stopButton->setObjectName(QStringLiteral("stop_button"));
    m_stopButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_stopButton->setFocusPolicy(Qt::NoFocus);
    m_stopButton->hide();
    statusBar()->insertWidget(1, m_stopButton);
    statusBar()->setObjectName(QStringLiteral("stbar"));
    statusBar()->setSizeGripEnabled(true);
    QFont statusFont(QStringLiteral("MS UI Gothic"));
    statusFont.setPixelSize(13);
    statusBar()->setFont(statusFont);
}

void Tmain_fm::editor_layout() {
    QWidget* client = centralWidget();
    if (!client || !m_edit) return;
    m_edit->setGeometry(kPane.left(), kPane.top(), client->width() - 2 * kPane.left(),
                        client->height() - kPane.top());
    m_binding->secno_refresh();
    status_update();
}

QPoint Tmain_fm::pickerAnchor() const {
    // The client area is what lies below the menu bar, as the panel positions count from there.
    QSize client = size();
    if (menuWidget()) client.rheight() -= menuWidget()->height();
    return pickerPosition(frameGeometry(), client, m_selectPanel->x(), m_paSection->height(),
                          m_selectButton->geometry());
}

void Tmain_fm::stbarResize() {
    const int width = statusBar()->width();
    const int stop = !m_stopButton->isHidden() ? m_stopButton->sizeHint().width() + 4 : 0;
    m_statusPanels[0]->setFixedWidth(qMax(0, width - 240 - 16 - stop));
    m_statusPanels[1]->setFixedWidth(120);
    m_statusPanels[2]->setFixedWidth(120);
}

} // namespace pote
