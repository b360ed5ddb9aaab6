#include "settings/ui/ffont_fm.h"

#include "core/ui/screen_centre.h"
#include "settings/ui/editor_font_qt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace pote {

namespace {

constexpr QSize kClientSize{374, 303};
constexpr QSize kPaletteSize{256, 40};

QPushButton* button(const QString& name, const QString& text, const QRect& at, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(at);
    return b;
}

} // namespace

PalettePicture::PalettePicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("fp_img"));
    setFixedSize(kPaletteSize);
    setCursor(Qt::PointingHandCursor);
}

void PalettePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int cellWidth = width() / ffont::kPaletteColumns;
    const int rowHeight = height() / ffont::kPaletteRows;
    for (int row = 0; row < ffont::kPaletteRows; ++row)
        for (int column = 0; column < ffont::kPaletteColumns; ++column)
            painter.fillRect(cellWidth * column, rowHeight * row, cellWidth, rowHeight,
                             colorOf(ffont::paletteColor(column + ffont::kPaletteColumns * row)));
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

void PalettePicture::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->position().toPoint());
}

Tffont_fm::Tffont_fm(EditorFont& editing, const QColor& background, QWidget* parent)
    : QDialog(parent), m_editing(editing), m_background(background), m_working(editing) {
    setObjectName(QStringLiteral("ffont_fm"));
    // The window's own UI font.
    setAttribute(Qt::WA_WindowPropagation);
    setWindowTitle(QStringLiteral("フォント設定（固定ピッチモード）"));
    setFixedSize(kClientSize);

    font_name_gp = radioGroup(QStringLiteral("font_name_gp"), QStringLiteral("フォント(&F)"),
                              {ffont::kGothic, ffont::kMincho}, {8, 8, 150, 72}, font_name);
    style_gp =
        radioGroup(QStringLiteral("style_gp"), QStringLiteral("スタイル(&Y)"),
                   {QStringLiteral("標準"), QStringLiteral("斜体")}, {166, 8, 100, 72}, style);

    GroupBox1 = new QGroupBox(QStringLiteral("飾り(&D)"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 86, 258, 46);
    cb_under = new QCheckBox(QStringLiteral("下線"), GroupBox1);
    cb_under->setObjectName(QStringLiteral("cb_under"));
    cb_under->move(12, 20);
    cb_out = new QCheckBox(QStringLiteral("打ち消し線"), GroupBox1);
    cb_out->setObjectName(QStringLiteral("cb_out"));
    cb_out->move(108, 20);

    Label2 = new QLabel(QStringLiteral("文字色"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(8, 140);
    fp_img = new PalettePicture(this);
    fp_img->move(9, 157);

    test_text = new QLineEdit(this);
    test_text->setObjectName(QStringLiteral("test_text"));
    test_text->setGeometry(8, 206, 257, 53);
    test_text->setFrame(true);

    Label1 = new QLabel(QStringLiteral("サイズ(&S)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(280, 12);
    size_list = new QListWidget(this);
    size_list->setObjectName(QStringLiteral("size_list"));
    size_list->setGeometry(280, 30, 86, 150);
    size_list->addItems(ffont::sizeItems());
    Label1->setBuddy(size_list);

    Button1 =
        button(QStringLiteral("Button1"), QStringLiteral("設定(&V)"), {190, 268, 85, 27}, this);
    Button1->setDefault(true);
    Button2 = button(QStringLiteral("Button2"), QStringLiteral("キャンセル(&C)"),
                     {281, 268, 85, 27}, this);

    connect(font_name, &QButtonGroup::idClicked, this, [this] { font_preview(); });
    connect(style, &QButtonGroup::idClicked, this, [this] { font_preview(); });
    connect(cb_under, &QCheckBox::clicked, this, [this] { font_preview(); });
    connect(cb_out, &QCheckBox::clicked, this, [this] { font_preview(); });
    connect(size_list, &QListWidget::currentRowChanged, this, [this] { font_preview(); });
    connect(fp_img, &PalettePicture::pressed, this, &Tffont_fm::fp_imgMouseDown);
    connect(Button1, &QPushButton::clicked, this, &Tffont_fm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tffont_fm::Button2Click);
}

QGroupBox* Tffont_fm::radioGroup(const QString& name, const QString& caption,
                                 const QStringList& items, const QRect& at, QButtonGroup*& group) {
    auto* box = new QGroupBox(caption, this);
    box->setObjectName(name);
    box->setGeometry(at);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items.at(i), box);
        radio->move(12, 20 + 24 * i);
        group->addButton(radio, i);
    }
    return box;
}

void Tffont_fm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    centreOnScreen(*this);
    act();
}

void Tffont_fm::act() {
    const ffont::Choice c = ffont::choiceFor(m_editing);
    m_chosenColor = c.color;
    font_name->button(c.face)->setChecked(true);
    style->button(c.italic ? 1 : 0)->setChecked(true);
    cb_under->setChecked(c.underline);
    cb_out->setChecked(c.strikeOut);
    size_list->setCurrentRow(c.sizeItem);
    fp_img->update();
    font_preview();
}

ffont::Choice Tffont_fm::choice() const {
    ffont::Choice c;
    c.face = font_name->checkedId();
    c.italic = style->checkedId() == 1;
    c.underline = cb_under->isChecked();
    c.strikeOut = cb_out->isChecked();
    c.sizeItem = size_list->currentRow();
    c.color = m_chosenColor;
    return c;
}

void Tffont_fm::font_preview() {
    m_working = ffont::chosenFont(m_editing, choice());
    QPalette colours = test_text->palette();
    colours.setColor(QPalette::Base, m_background);
    colours.setColor(QPalette::Text, colorOf(m_working.color));
    test_text->setPalette(colours);
    test_text->setFont(qfontOf(m_working));
    test_text->setText(ffont::kPreviewText);
}

void Tffont_fm::fp_imgMouseDown(QPoint at) {
    m_chosenColor = ffont::paletteColor(
        ffont::paletteIndexAt(at.x(), at.y(), fp_img->width(), fp_img->height()));
    font_preview();
}

void Tffont_fm::Button1Click() {
    m_editing = m_working;
    accept();
}

void Tffont_fm::Button2Click() {
    reject();
}

} // namespace pote
