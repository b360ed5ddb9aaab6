#include "backup/extension_filter.h"

namespace pote::backup {

namespace {
// Only this many items of the list are looked at.
constexpr int kMaxItems = 101;
} // namespace

QString ext_item(const QString& list, int index) {
    if (index < 0) return {};
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype comma = list.indexOf(u',', start);
        if (comma < 0) return {};
        start = comma + 1;
    }
    const qsizetype end = list.indexOf(u',', start);
    return list.mid(start, end < 0 ? -1 : end - start);
}

ExtensionFilter::ExtensionFilter(const QString& list) {
    for (int i = 0; i < kMaxItems; ++i) {
        const QString item = ext_item(list, i).toLower();
        if (item.isEmpty()) continue;
        if (item == u"*") m_any = true;
        m_items.append(item);
    }
}

bool ExtensionFilter::matches(QByteArrayView fileName) const {
    if (m_any) return true;
    const qsizetype dot = fileName.lastIndexOf('.');
    if (dot < 0) return false;
    const QString extension = QString::fromUtf8(fileName.sliced(dot + 1)).toLower();
    return !extension.isEmpty() && m_items.contains(extension);
}

bool ext_match(const QString& fileName, const QString& list) {
    return ExtensionFilter(list).matches(fileName.toUtf8());
}

bool isBackupCandidate(QByteArrayView fileName, const ExtensionFilter& filter) {
    return fileName != QByteArrayView("RECYCLED") && filter.matches(fileName);
}

} // namespace pote::backup
