#pragma once
// The document as JSON for ptmtool: every name and text both as readable UTF-8 and as its exact
// stored bytes in hex, so that a dump packs back into the same bytes.

#include "core/document.h"

#include <QJsonDocument>
#include <QString>

#include <optional>

namespace pote::cli {

// CP932 bytes as UTF-8 text: bytes that are not CP932 show as U+FFFD.
QString readableText(QByteArrayView bytes);

QJsonDocument documentToJson(const DocumentContent& content, int version);

// What a JSON value is, in words: "null", "a number", "an array" ...
QString jsonKind(const QJsonValue& value);
// The value when json is valid JSON holding a single value that is not an object or an array
// (which the document parser refuses as "illegal value").
std::optional<QJsonValue> loneJsonValue(const QByteArray& json);

// Fills document from JSON made by documentToJson or by hand: *_hex wins over the readable field,
// absent fields count as empty or 0. Returns an empty string on success, else what is wrong.
QString documentFromJson(const QJsonDocument& json, Document& document);

} // namespace pote::cli
