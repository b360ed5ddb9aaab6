#include "settings/ui/ffont_fm.h"

#include "core/ui/screen_centre.h"
#include "settings/ui/editor_font_qt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontInfo>
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
constexpr int kRadioStep = 24;

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

Tffont_fm::Tffont_fm(EditorFont& editing, const QColor& background,
                     const ffont::OfferedFaces& faces, QWidget* parent)
    : QDialog(parent), m_editing(editing), m_background(background),
      m_faces(ffont::offeredOrFallback(faces)), m_working(editing) {
    setObjectName(QStringLiteral("ffont_fm"));
    // The window's own UI font.
    setAttribute(Qt::WA_WindowPropagation);
    setWindowTitle(QStringLiteral("フォント設定（固定ピッチモード）"));
    QStringList faceNames;
    for (const QStringList& names : m_faces)
        faceNames.append(names.front());
    // More faces than the two rows of the original make the dialog taller below them.
    const int extra = qMax(0, int(faceNames.size()) - 2) * kRadioStep;
    setFixedSize(kClientSize + QSize(0, extra));

    font_name_gp = radioGroup(QStringLiteral("font_name_gp"), QStringLiteral("フォント(&F)"),
                              faceNames, {8, 8, 150, 72 + extra}, font_name);
    style_gp =
        radioGroup(QStringLiteral("style_gp"), QStringLiteral("スタイル(&Y)"),
                   {QStringLiteral("標準"), QStringLiteral("斜体")}, {166, 8, 100, 72}, style);

    GroupBox1 = new QGroupBox(QStringLiteral("飾り(&D)"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 86 + extra, 258, 46);
    cb_under = new QCheckBox(QStringLiteral("下線"), GroupBox1);
    cb_under->setObjectName(QStringLiteral("cb_under"));
    cb_under->move(12, 20);
    cb_out = new QCheckBox(QStringLiteral("打ち消し線"), GroupBox1);
    cb_out->setObjectName(QStringLiteral("cb_out"));
    cb_out->move(108, 20);

    Label2 = new QLabel(QStringLiteral("文字色"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(8, 140 + extra);
    fp_img = new PalettePicture(this);
    fp_img->move(9, 157 + extra);

    test_text = new QLineEdit(this);
    test_text->setObjectName(QStringLiteral("test_text"));
    test_text->setGeometry(8, 206 + extra, 257, 53);
    test_text->setFrame(true);

    Label1 = new QLabel(QStringLiteral("サイズ(&S)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(280, 12);
    size_list = new QListWidget(this);
    size_list->setObjectName(QStringLiteral("size_list"));
    size_list->setGeometry(280, 30, 86, 150);
    size_list->addItems(ffont::sizeItems());
    Label1->setBuddy(size_list);

    Button1 = button(QStringLiteral("Button1"), QStringLiteral("設定(&V)"),
                     {190, 268 + extra, 85, 27}, this);
    Button1->setDefault(true);
    Button2 = button(QStringLiteral("Button2"), QStringLiteral("キャンセル(&C)"),
                     {281, 268 + extra, 85, 27}, this);

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
        radio->move(12, 20 + kRadioStep * i);
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
    // A name this machine has no face for (the "ＭＳ ゴシック" of older settings) shows as
    // the face the pane really draws it with.
    // Only a name the program maps to a face has a stand-in; any other unknown name is drawn
    // with whatever the toolkit falls back on, which is no choice of the writer's.
    const QString standIn = QFont::substitutes(m_editing.face).isEmpty()
                                ? QString()
                                : QFontInfo(qfontOf(m_editing)).family();
    m_shown = ffont::faceShownFor(m_faces, m_editing.face, standIn);
    const ffont::Choice c = ffont::choiceFor(m_editing, m_shown);
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
    m_working = ffont::chosenFont(m_editing, choice(), m_faces, m_shown);
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
