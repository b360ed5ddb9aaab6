#include "textio/ui/rewrite_fm.h"

#include "textio/text_messages.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>

namespace pote {

namespace {

QLabel* label(const char* name, const QString& text, const QFont& font, QPoint at,
              QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(font);
    l->move(at);
    l->adjustSize();
    return l;
}

QPushButton* button(const char* name, const QString& caption, QRect at, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(at);
    return b;
}

} // namespace

Trewrite_fm::Trewrite_fm(const QString& fileName, QWidget* parent)
    : QDialog(parent), m_fileName(fileName) {
    setObjectName(QStringLiteral("rewrite_fm"));
    setWindowTitle(textmsg::rewriteCaption());
    QFont uiFont(QStringLiteral("ＭＳ Ｐゴシック"));
    uiFont.setPixelSize(12);
    setFont(uiFont);
    setFixedSize(337, 217);

    QFont big(uiFont);
    big.setPixelSize(16);
    label("Label1", textmsg::rewriteLine1(), big, {32, 20}, this);
    label("Label2", textmsg::rewriteLine2(), big, {32, 48}, this);
    st_filename = new QLabel(this);
    st_filename->setObjectName(QStringLiteral("st_filename"));
    st_filename->setFrameStyle(QFrame::NoFrame);
    // A long name is cut at the dialog's edge rather than widening it.
    st_filename->setGeometry(32, 76, 337 - 32 - 8, 20);

    yes_bt = button("yes_bt", textmsg::rewriteYes(), {88, 136, 75, 25}, this);
    no_bt = button("no_bt", textmsg::rewriteNo(), {176, 136, 75, 25}, this);
    all_bt = button("all_bt", textmsg::rewriteAll(), {120, 176, 105, 25}, this);
    yes_bt->setDefault(true);
    connect(yes_bt, &QPushButton::clicked, this, &Trewrite_fm::yes_btClick);
    connect(no_bt, &QPushButton::clicked, this, &Trewrite_fm::no_btClick);
    connect(all_bt, &QPushButton::clicked, this, &Trewrite_fm::all_btClick);
    act();
}

bool Trewrite_fm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) act();
    return QDialog::event(event);
}

void Trewrite_fm::keyPressEvent(QKeyEvent* event) {
    // Like every other question box, a button's letter alone answers it.
    if (event->modifiers() == Qt::NoModifier) {
        for (QPushButton* b : {yes_bt, no_bt, all_bt}) {
            if (QKeySequence::mnemonic(b->text())[0].key() == event->key()) {
                b->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

void Trewrite_fm::act() {
    st_filename->setText(textmsg::rewriteFileName(m_fileName));
}

void Trewrite_fm::yes_btClick() {
    close(OverwriteAnswer::Yes);
}
void Trewrite_fm::no_btClick() {
    close(OverwriteAnswer::No);
}
void Trewrite_fm::all_btClick() {
    close(OverwriteAnswer::All);
}

void Trewrite_fm::close(OverwriteAnswer answer) {
    m_answer = answer;
    accept();
}

} // namespace pote
