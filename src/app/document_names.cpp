#include "app/document_names.h"

namespace pote {

QString base_name(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.left(dot);
}

QString applicationTitle() {
    return QStringLiteral("ぽてまるエディター");
}

QString documentTitle(const QString& displayName) {
    return applicationTitle() + QStringLiteral(" [") + displayName + u']';
}

QString resetDocumentTitle(const QString& displayName) {
    return applicationTitle() + u'[' + displayName + u']';
}

} // namespace pote
