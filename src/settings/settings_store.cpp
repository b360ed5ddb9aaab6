#include "settings/settings_store.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

#include <optional>

namespace pote {

namespace {

const QString kOrganization = QStringLiteral("kumolab");
const QString kApplication = QStringLiteral("potemaruED");

// No screen reaches this far; a stored position or size beyond it is damage, not a place.
constexpr IntRange kStoredPlacementRange{0, 100000};
constexpr IntRange kCharSetRange{0, 255};
constexpr IntRange kColorRange{0, kMaxColor};

QString numbered(const char* name, int n) {
    return QLatin1String(name) + QString::number(n);
}

// Reads values of a file that a user or an older version may have written by hand: a value
// that does not parse or lies outside its range is refused, reported, and leaves its target
// alone.
class ValueReader {
public:
    explicit ValueReader(const QSettings& file) : m_file(file) {}

    std::optional<qint64> number(const QString& name, IntRange range) {
        const std::optional<QString> text = raw(name);
        if (!text) return std::nullopt;
        bool ok = false;
        const qint64 value = text->trimmed().toLongLong(&ok);
        if (!ok || !range.contains(value)) {
            refuse(name);
            return std::nullopt;
        }
        return value;
    }

    void integer(const QString& name, int& target, IntRange range) {
        if (const auto v = number(name, range)) target = static_cast<int>(*v);
    }

    void color(const QString& name, quint32& target) {
        if (const auto v = number(name, kColorRange)) target = static_cast<quint32>(*v);
    }

    // Stored as 0 and 1; any other number reads as true. Older hand-written files may say
    // true or false.
    void flag(const QString& name, bool& target) {
        const std::optional<QString> text = raw(name);
        if (!text) return;
        const QString t = text->trimmed();
        bool ok = false;
        const qint64 value = t.toLongLong(&ok);
        if (ok)
            target = value != 0;
        else if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            target = true;
        else if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            target = false;
        else
            refuse(name);
    }

    void text(const QString& name, QString& target, int maxLength = -1) {
        const std::optional<QString> t = raw(name);
        if (!t) return;
        if (maxLength >= 0 && t->size() > maxLength) {
            refuse(name);
            return;
        }
        target = *t;
    }

    QStringList refused;

private:
    // The value as text; nullopt when absent or of a kind no text can come from.
    std::optional<QString> raw(const QString& name) {
        if (!m_file.contains(name)) return std::nullopt;
        const QVariant v = m_file.value(name);
        // An unquoted comma in a hand-written line splits the value into a list.
        if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
        if (!v.canConvert<QString>()) {
            refuse(name);
            return std::nullopt;
        }
        return v.toString();
    }

    void refuse(const QString& name) { refused.append(name); }

    const QSettings& m_file;
};

StoredFont readFont(ValueReader& r) {
    StoredFont f;
    if (const auto v = r.number(QStringLiteral("FontSize"), kFontSizeRange); v && *v != 0)
        f.size = static_cast<int>(*v);
    if (const auto v = r.number(QStringLiteral("FontColor"), kColorRange))
        f.color = static_cast<quint32>(*v);
    if (const auto v = r.number(QStringLiteral("FontCharSet"), kCharSetRange))
        f.charSet = static_cast<int>(*v);
    QString face;
    r.text(QStringLiteral("FontName"), face);
    if (!face.isEmpty()) f.face = face;
    if (const auto v = r.number(QStringLiteral("FontHeight"), kFontHeightRange); v && *v != 0)
        f.height = static_cast<int>(*v);
    return f;
}

void readVertical(ValueReader& r, VerticalSettings& v) {
    // The format is kept as its name; the preview reads it, and takes manuscript paper for a
    // name that is no format.
    QString format;
    r.text(QStringLiteral("VerticalFormat"), format);
    if (!format.isEmpty()) v.format = format;
    QString face;
    r.text(QStringLiteral("VerticalFont"), face);
    if (!face.isEmpty()) v.face = face;
    r.flag(QStringLiteral("VerticalSectionName"), v.sectionName);
    r.flag(QStringLiteral("VerticalIndent"), v.indent);
    r.flag(QStringLiteral("VerticalAllSections"), v.allSections);
    r.integer(QStringLiteral("VerticalZoom"), v.zoom, kVerticalZoomRange);
}

void readRevision(ValueReader& r, RevisionSettings& v) {
    QString off;
    r.text(QStringLiteral("RevisionOff"), off);
    v.off = off.split(QLatin1Char(','), Qt::SkipEmptyParts);
    r.integer(QStringLiteral("RevisionLength"), v.length, kRevisionLengthRange);
    QString ignored;
    r.text(QStringLiteral("RevisionIgnored"), ignored);
    if (ignored.isEmpty()) return;
    const QJsonDocument json = QJsonDocument::fromJson(ignored.toUtf8());
    if (!json.isObject()) {
        r.refused.append(QStringLiteral("RevisionIgnored"));
        return;
    }
    const QJsonObject documents = json.object();
    for (auto it = documents.begin(); it != documents.end(); ++it) {
        QStringList keys;
        for (const QJsonValue& key : it.value().toArray())
            if (key.isString()) keys.append(key.toString());
        if (!keys.isEmpty()) v.ignored.insert(it.key(), keys);
    }
}

QString revisionIgnoredJson(const QMap<QString, QStringList>& ignored) {
    QJsonObject documents;
    // A document never saved has nothing to key its ignores by: they last the run.
    for (auto it = ignored.begin(); it != ignored.end(); ++it)
        if (!it.key().isEmpty() && !it.value().isEmpty())
            documents.insert(it.key(), QJsonArray::fromStringList(it.value()));
    if (documents.isEmpty()) return {};
    return QString::fromUtf8(QJsonDocument(documents).toJson(QJsonDocument::Compact));
}

// The books as an INI array: EpubBooks/size, EpubBooks/1/Path, EpubBooks/1/Identifier, ...
// Entries without both values are damage and are skipped.
void readEpub(QSettings& file, ValueReader& r, EpubSettings& e) {
    r.text(QStringLiteral("EpubAuthor"), e.author);
    r.text(QStringLiteral("EpubAuthorSort"), e.authorSort);
    r.flag(QStringLiteral("EpubHorizontal"), e.horizontal);
    const int size = file.beginReadArray(QStringLiteral("EpubBooks"));
    for (int i = 0; i < qMin(size, kMaxRememberedBooks); ++i) {
        file.setArrayIndex(i);
        const RememberedBook book{file.value(QStringLiteral("Path")).toString(),
                                  file.value(QStringLiteral("Identifier")).toString()};
        if (!book.path.isEmpty() && !book.identifier.trimmed().isEmpty()) e.books.append(book);
    }
    file.endArray();
}

void writeEpub(QSettings& file, const EpubSettings& e) {
    file.setValue(QStringLiteral("EpubAuthor"), e.author);
    file.setValue(QStringLiteral("EpubAuthorSort"), e.authorSort);
    file.setValue(QStringLiteral("EpubHorizontal"), e.horizontal ? 1 : 0);
    file.remove(QStringLiteral("EpubBooks")); // a shorter list leaves no old entries behind
    file.beginWriteArray(QStringLiteral("EpubBooks"), int(e.books.size()));
    for (int i = 0; i < e.books.size(); ++i) {
        file.setArrayIndex(i);
        file.setValue(QStringLiteral("Path"), e.books[i].path);
        file.setValue(QStringLiteral("Identifier"), e.books[i].identifier);
    }
    file.endArray();
}

} // namespace

QString userSettingsPath() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, kOrganization, kApplication)
        .fileName();
}

LoadResult settings_load(const QString& path, Settings& s) {
    LoadResult result;
    s.firstStart = false;
    if (!QFileInfo::exists(path)) {
        s.firstStart = true;
        return result;
    }
    if (!QFileInfo(path).isFile()) {
        result.readable = false;
        return result;
    }
    QSettings file(path, QSettings::IniFormat);
    // A malformed file still yields the lines that parsed; an unreadable one yields nothing.
    result.readable = file.status() == QSettings::NoError;
    if (file.status() == QSettings::AccessError) return result;

    ValueReader r(file);
    r.color(QStringLiteral("EditBKColor"), s.EditBKColor);
    r.flag(QStringLiteral("WindowMax"), s.placement.maximized);
    r.flag(QStringLiteral("SclickMove"), s.SclickMove);
    StoredFont font = readFont(r);
    // FontStyle is an older form of the four flags below; they alone count.
    r.integer(QStringLiteral("CTax"), s.CTax, kTaxRange);
    r.integer(QStringLiteral("TABWidth"), s.TABWidth, kTabWidthRange);
    r.flag(QStringLiteral("FontStyleBold"), font.bold);
    r.flag(QStringLiteral("FontStyleItalic"), font.italic);
    r.flag(QStringLiteral("FontStyleUnder"), font.underline);
    r.flag(QStringLiteral("FontStyleStrike"), font.strikeOut);
    r.integer(QStringLiteral("BreakLineWidth"), s.BreakLineWidth, kBreakLineWidthRange);
    r.text(QStringLiteral("BreakLineString"), s.BreakLineString, kBreakLineStringMaxLength);
    r.text(QStringLiteral("ExtOldApp"), s.ExtOldApp);
    r.integer(QStringLiteral("FormTop"), s.placement.top, kStoredPlacementRange);
    r.integer(QStringLiteral("FormLeft"), s.placement.left, kStoredPlacementRange);
    r.integer(QStringLiteral("FormWidth"), s.placement.width, kStoredPlacementRange);
    r.integer(QStringLiteral("FormHeight"), s.placement.height, kStoredPlacementRange);
    r.text(QStringLiteral("WorkDir"), s.WorkDir);
    r.text(QStringLiteral("DefText1"), s.DefText1);
    r.text(QStringLiteral("DefText2"), s.DefText2);
    r.text(QStringLiteral("RoomPIC"), s.RoomPIC);
    r.text(QStringLiteral("MailAdress"), s.MailAdress);
    r.text(QStringLiteral("HomePage"), s.HomePage);
    r.flag(QStringLiteral("BackupFolderCopy"), s.BackupFolderCopy);
    r.flag(QStringLiteral("Wrap"), s.Wrap);
    for (int i = 0; i < kRecentCount; ++i)
        r.text(numbered("RecentFile", i + 1), s.recent.entries[i]);
    for (int i = 0; i < int(s.BackupDir.size()); ++i)
        r.text(numbered("BackupDir", i + 1), s.BackupDir[i]);
    r.text(QStringLiteral("BackupCopyDir"), s.BackupCopyDir);
    r.text(QStringLiteral("BackupExt"), s.BackupExt);
    readVertical(r, s.vertical);
    readRevision(r, s.revision);
    readEpub(file, r, s.epub);

    const QString obsolete = QStringLiteral("BackupSourceDir");
    if (file.contains(obsolete)) {
        file.remove(obsolete);
        file.sync(); // a file that cannot be written keeps it until a later start can
    }

    s.font = buildEditorFont(s.font, font);
    result.refused = r.refused;
    return result;
}

Result<SettingsSaved> settings_save(const QString& path, const Settings& s) {
    if (s.settingsCleared) return SettingsSaved::Skipped;
    QSettings file(path, QSettings::IniFormat);
    const auto put = [&file](const QString& name, const QVariant& value) {
        file.setValue(name, value);
    };
    const auto putFlag = [&put](const QString& name, bool on) { put(name, on ? 1 : 0); };

    const EditorFont& f = s.font;
    put(QStringLiteral("FontSize"), f.size);
    put(QStringLiteral("FontHeight"), f.height);
    put(QStringLiteral("FontCharSet"), f.charSet);
    put(QStringLiteral("FontColor"), f.color);
    put(QStringLiteral("FontName"), f.face);
    put(QStringLiteral("RoomPIC"), s.RoomPIC);
    put(QStringLiteral("ExtOldApp"), s.ExtOldApp);
    put(QStringLiteral("EditBKColor"), s.EditBKColor);
    put(QStringLiteral("CTax"), s.CTax);
    put(QStringLiteral("TABWidth"), s.TABWidth);
    put(QStringLiteral("BreakLineString"), s.BreakLineString);
    put(QStringLiteral("BreakLineWidth"), s.BreakLineWidth);
    put(QStringLiteral("WorkDir"), s.WorkDir);
    put(QStringLiteral("DefText1"), s.DefText1);
    put(QStringLiteral("DefText2"), s.DefText2);
    put(QStringLiteral("MailAdress"), s.MailAdress);
    put(QStringLiteral("HomePage"), s.HomePage);
    for (int i = 0; i < int(s.BackupDir.size()); ++i)
        put(numbered("BackupDir", i + 1), s.BackupDir[i]);
    put(QStringLiteral("BackupCopyDir"), s.BackupCopyDir);
    put(QStringLiteral("BackupExt"), s.BackupExt);
    putFlag(QStringLiteral("BackupFolderCopy"), s.BackupFolderCopy);
    putFlag(QStringLiteral("WindowMax"), s.placement.maximized);
    putFlag(QStringLiteral("Wrap"), s.Wrap);
    putFlag(QStringLiteral("SclickMove"), s.SclickMove);
    putFlag(QStringLiteral("FontStyleUnder"), f.underline);
    putFlag(QStringLiteral("FontStyleStrike"), f.strikeOut);
    putFlag(QStringLiteral("FontStyleBold"), f.bold);
    putFlag(QStringLiteral("FontStyleItalic"), f.italic);
    // The recent list lives for one run of the program.
    for (int i = 0; i < kRecentCount; ++i)
        put(numbered("RecentFile", i + 1), QString());
    put(QStringLiteral("FormTop"), s.placement.top);
    put(QStringLiteral("FormLeft"), s.placement.left);
    put(QStringLiteral("FormWidth"), s.placement.width);
    put(QStringLiteral("FormHeight"), s.placement.height);
    const VerticalSettings& v = s.vertical;
    put(QStringLiteral("VerticalFormat"), v.format);
    put(QStringLiteral("VerticalFont"), v.face);
    putFlag(QStringLiteral("VerticalSectionName"), v.sectionName);
    putFlag(QStringLiteral("VerticalIndent"), v.indent);
    putFlag(QStringLiteral("VerticalAllSections"), v.allSections);
    put(QStringLiteral("VerticalZoom"), v.zoom);
    put(QStringLiteral("RevisionOff"), s.revision.off.join(QLatin1Char(',')));
    put(QStringLiteral("RevisionLength"), s.revision.length);
    put(QStringLiteral("RevisionIgnored"), revisionIgnoredJson(s.revision.ignored));
    writeEpub(file, s.epub);

    file.sync();
    // A file that was malformed before this write keeps reporting FormatError; only a refused
    // write is a failure.
    if (file.status() == QSettings::AccessError)
        return Error::io(path, QStringLiteral("the settings could not be written to %1").arg(path));
    return SettingsSaved::Written;
}

Result<void> settings_clear(const QString& path, Settings& s) {
    s.settingsCleared = true;
    QFile file(path);
    if (file.exists() && !file.remove()) return Error::io(path, file.errorString());
    return {};
}

} // namespace pote
