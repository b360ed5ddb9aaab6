#include "settings/remembered_books.h"

#include <QFileInfo>

#include <algorithm>

namespace pote {

QString bookKey(const QString& documentPath) {
    if (documentPath.isEmpty()) return {};
    return QFileInfo(documentPath).canonicalFilePath();
}

QString rememberedIdentifier(const QList<RememberedBook>& books, const QString& documentPath) {
    const QString key = bookKey(documentPath);
    if (key.isEmpty()) return {};
    for (const RememberedBook& b : books)
        if (b.path == key) return b.identifier;
    return {};
}

void rememberBook(QList<RememberedBook>& books, const QString& documentPath,
                  const QString& identifier) {
    const QString key = bookKey(documentPath);
    if (key.isEmpty() || identifier.isEmpty()) return;
    books.removeIf([&key](const RememberedBook& b) { return b.path == key; });
    books.prepend({key, identifier});
    if (books.size() > kMaxRememberedBooks) books.resize(kMaxRememberedBooks);
}

QList<RememberedBook> otherBooks(const QList<RememberedBook>& books, const QString& documentPath) {
    const QString key = bookKey(documentPath);
    QList<RememberedBook> others;
    for (const RememberedBook& b : books)
        if (b.path != key) others.append(b);
    std::stable_partition(others.begin(), others.end(),
                          [](const RememberedBook& b) { return !QFileInfo::exists(b.path); });
    return others;
}

} // namespace pote
