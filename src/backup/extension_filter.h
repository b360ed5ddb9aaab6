#pragma once
// Which files the backup takes: those whose extension is on the user's comma-separated list.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace pote::backup {

// The index-th (from 0) comma-separated item of list, exactly as written between the commas
// (spaces included); empty when there is no such item.
QString ext_item(const QString& list, int index);

// The list prepared once for a whole scan.
class ExtensionFilter {
public:
    explicit ExtensionFilter(const QString& list);
    // True when the name's extension (after its last ".", any letter case) is on the list, or
    // the list holds "*". A name without an extension matches only "*".
    bool matches(QByteArrayView fileName) const;

private:
    bool m_any = false;
    QStringList m_items; // lower case, empty items left out
};

bool ext_match(const QString& fileName, const QString& list);

// The scan keeps a file when its name passes the list and is not "RECYCLED", the name the old
// recycle bins gave their marker file.
bool isBackupCandidate(QByteArrayView fileName, const ExtensionFilter& filter);

} // namespace pote::backup
