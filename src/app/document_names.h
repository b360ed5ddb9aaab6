#pragma once
// Names and titles derived from paths.

#include <QString>

namespace pote {

// The name part of a path without its extension; empty when the name has no ".".
QString base_name(const QString& path);

// "ぽてまるエディター [" + name + "]", the title of every document but a reset one.
QString documentTitle(const QString& displayName);
// The title a new document gets from document_reset: no blank before the bracket.
QString resetDocumentTitle(const QString& displayName);

QString applicationTitle(); // "ぽてまるエディター"

} // namespace pote
