#include "cli/document_json.h"

#include "core/cp932.h"
#include "core/document_file.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>
#include <optional>

namespace pote::cli {

QString readableText(QByteArrayView bytes) {
    QString text = cp932::decode(bytes);
    for (QChar& c : text)
        if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF) c = QChar::ReplacementCharacter;
    return text;
}

namespace {

QString hexOf(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex());
}

QJsonObject nameObject(const QByteArray& name) {
    return {{"name", readableText(name)}, {"name_hex", hexOf(name)}};
}

} // namespace

QJsonDocument documentToJson(const DocumentContent& content, int version) {
    QJsonArray groups;
    for (const QByteArray& name : content.groupNames)
        groups.append(nameObject(name));
    QJsonArray sections;
    for (const DocumentContent::Entry& entry : content.sections) {
        QJsonObject s = nameObject(entry.section.name);
        s.insert("text", readableText(entry.section.text));
        s.insert("text_hex", hexOf(entry.section.text));
        s.insert("group", entry.section.group);
        const PositionReserved r = entry.reserved.value_or(PositionReserved{});
        s.insert("r1", static_cast<qint64>(r.r1));
        s.insert("r2", static_cast<qint64>(r.r2));
        s.insert("r3", static_cast<qint64>(r.r3));
        sections.append(s);
    }
    QJsonObject root{
        {"version", version},
        {"header_reserved", content.headerReserved},
        {"password", content.hasPassword ? QJsonValue(QString::fromLatin1(content.password))
                                         : QJsonValue(QJsonValue::Null)},
        {"groups", groups},
        {"sections", sections},
    };
    return QJsonDocument(root);
}

namespace {

// Reads the fields of one JSON object, remembering the first problem with its place.
class FieldReader {
public:
    FieldReader(const QJsonObject& object, QString where)
        : m_object(object), m_where(std::move(where)) {}

    const QString& error() const { return m_error; }

    // A whole number from min to max; absent or null means 0.
    qint64 integer(const char* key, qint64 min, qint64 max) {
        const QJsonValue v = m_object.value(QLatin1String(key));
        if (v.isUndefined() || v.isNull()) return 0;
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || d != std::floor(d) || d < static_cast<double>(min) ||
            d > static_cast<double>(max)) {
            fail(key, QStringLiteral("must be a whole number from %1 to %2").arg(min).arg(max));
            return 0;
        }
        return static_cast<qint64>(d);
    }

    // The bytes of `key`_hex when present, else `key` encoded as CP932; absent means empty.
    QByteArray bytes(const char* key) {
        const QString hexKey = QLatin1String(key) + QLatin1String("_hex");
        const QJsonValue hex = m_object.value(hexKey);
        if (!hex.isUndefined() && !hex.isNull()) {
            const QString digits = hex.toString();
            if (!hex.isString() || digits.size() % 2 != 0 || !isHex(digits)) {
                fail(hexKey,
                     QStringLiteral("must be a string of hex digits (0-9, a-f), two per byte"));
                return {};
            }
            return QByteArray::fromHex(digits.toLatin1());
        }
        const QJsonValue text = m_object.value(QLatin1String(key));
        if (text.isUndefined() || text.isNull()) return {};
        if (!text.isString()) {
            fail(key, QStringLiteral("must be a string"));
            return {};
        }
        bool lossy = false;
        QByteArray encoded = cp932::encode(text.toString(), &lossy);
        if (lossy)
            fail(key, QStringLiteral("holds characters that CP932 cannot store; give %1 instead")
                          .arg(hexKey));
        return encoded;
    }

    QByteArray name(const char* key) {
        QByteArray b = bytes(key);
        if (b.size() > docfile::kMaxNameBytes)
            fail(key, QStringLiteral("is longer than %1 bytes").arg(docfile::kMaxNameBytes));
        return b;
    }

    void fail(const QString& key, const QString& what) {
        if (m_error.isEmpty()) m_error = m_where + QLatin1Char('.') + key + QLatin1Char(' ') + what;
    }

private:
    // ASCII only: other scripts' digits would pass a digit test, and fromHex then skips them
    // without a word, dropping bytes.
    static bool isHex(const QString& s) {
        for (QChar c : s)
            if (!(c >= u'0' && c <= u'9') && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
                return false;
        return true;
    }

    const QJsonObject& m_object;
    QString m_where;
    QString m_error;
};

std::optional<QJsonArray> arrayField(const QJsonObject& root, const char* key, bool required,
                                     QString& error) {
    const QJsonValue v = root.value(QLatin1String(key));
    if (v.isUndefined() && !required) return QJsonArray();
    if (!v.isArray()) {
        error = QStringLiteral("%1 must be an array").arg(QLatin1String(key));
        return std::nullopt;
    }
    return v.toArray();
}

} // namespace

QString jsonKind(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("true or false");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

std::optional<QJsonValue> loneJsonValue(const QByteArray& json) {
    // Qt reads only objects and arrays at the top; a lone value parses inside an array.
    const QJsonDocument wrapped = QJsonDocument::fromJson('[' + json + ']');
    if (!wrapped.isArray() || wrapped.array().size() != 1) return std::nullopt;
    return wrapped.array().first();
}

QString documentFromJson(const QJsonDocument& json, Document& document) {
    if (!json.isObject())
        return QStringLiteral("the document must be a JSON object, not %1")
            .arg(jsonKind(json.isArray() ? QJsonValue(json.array()) : QJsonValue()));
    const QJsonObject root = json.object();
    QString error;
    const std::optional<QJsonArray> groups = arrayField(root, "groups", false, error);
    const std::optional<QJsonArray> sections = arrayField(root, "sections", true, error);
    if (!groups || !sections) return error;
    if (sections->isEmpty() || sections->size() > Document::kMaxSections)
        return QStringLiteral("sections must hold 1 to %1 sections, not %2")
            .arg(Document::kMaxSections)
            .arg(sections->size());
    if (groups->size() > Document::kMaxGroups)
        return QStringLiteral("groups must hold at most %1 groups, not %2")
            .arg(Document::kMaxGroups)
            .arg(groups->size());

    FieldReader top(root, QStringLiteral("document"));
    const auto headerReserved = static_cast<quint16>(top.integer("header_reserved", 0, 0xFFFF));
    const QJsonValue password = root.value(QLatin1String("password"));
    // Characters outside Latin-1 turn into "?", which is no letter or digit either.
    if (!password.isUndefined() && !password.isNull() &&
        (!password.isString() || !docfile::isValidPassword(password.toString().toLatin1())))
        top.fail(QStringLiteral("password"),
                 QStringLiteral("must be null or 4 to 8 ASCII letters and digits"));
    if (!top.error().isEmpty()) return top.error();

    document.clear();
    for (qsizetype g = 0; g < groups->size(); ++g) {
        if (!groups->at(g).isObject()) return QStringLiteral("groups[%1] must be an object").arg(g);
        const QJsonObject object = groups->at(g).toObject();
        FieldReader in(object, QStringLiteral("groups[%1]").arg(g));
        document.addGroup(in.name("name"));
        if (!in.error().isEmpty()) return in.error();
    }
    for (qsizetype i = 0; i < sections->size(); ++i) {
        if (!sections->at(i).isObject())
            return QStringLiteral("sections[%1] must be an object").arg(i);
        const QJsonObject object = sections->at(i).toObject();
        FieldReader in(object, QStringLiteral("sections[%1]").arg(i));
        const int pos = i == 0 ? 0 : document.appendEmpty();
        Section& section = document.section(pos);
        section.name = in.name("name");
        section.text = in.bytes("text");
        section.group = static_cast<qint32>(in.integer("group", 0, document.groupCount()));
        document.reserved(pos) = {static_cast<quint32>(in.integer("r1", 0, 0xFFFF)),
                                  static_cast<quint32>(in.integer("r2", 0, 0xFFFF)),
                                  static_cast<quint32>(in.integer("r3", 0, 0xFFFF))};
        if (!in.error().isEmpty()) return in.error();
    }
    document.headerReserved = headerReserved;
    if (password.isString())
        document.setPassword(password.toString().toLatin1());
    else
        document.clearPassword();
    return {};
}

} // namespace pote::cli
