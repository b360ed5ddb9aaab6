#include "editing/ui/search_box.h"

#include "core/cp932.h"

#include <QLineEdit>

namespace pote {

QString searchBoxText(const QString& text) {
    qsizetype end = text.size();
    for (const QChar stop : {QChar(u'\r'), QChar(u'\n'), QChar(QChar::ParagraphSeparator),
                             QChar(QChar::LineSeparator)})
        if (const qsizetype at = text.indexOf(stop); at >= 0) end = qMin(end, at);
    return cp932::toEncodable(QStringView(text).first(end));
}

QLineEdit* makeSearchBox(const QString& objectName, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& text) {
        const QString kept = searchBoxText(text);
        if (kept == text) return;
        const int caret = box->cursorPosition();
        box->setText(kept);
        box->setCursorPosition(qMin(caret, static_cast<int>(kept.size())));
    });
    return box;
}

} // namespace pote
