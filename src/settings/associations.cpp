#include "settings/associations.h"

#include "core/file_io.h"
#include "settings/desktop_entry.h"
#include "settings/desktop_key_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>
#include <vector>

namespace pote {

namespace {

constexpr char kDefaults[] = "Default Applications";
constexpr char kTextMimeType[] = "text/plain";
constexpr char kDesktopGroup[] = "Desktop Entry";

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString malformedMessage(const QString& path, int line) {
    QString text = QStringLiteral("関連付けの設定ファイルの書き方が、僕には読めないにゃ。\r\n"
                                  "こわさないように、そのままにしておくにゃん。\r\n") +
                   shown(path);
    if (line > 0) text += QStringLiteral("（%1行目）").arg(line);
    return text;
}

QString readFailedMessage(const QString& path, const QString& why) {
    return QStringLiteral("関連付けの設定ファイルが読めなかったにゃ。\r\n") + shown(path) +
           QStringLiteral("\r\n") + why;
}

QString writeFailedMessage(const QString& path, const QString& why) {
    return QStringLiteral("関連付けを書き込めなかったにゃ。\r\n") + shown(path) +
           QStringLiteral("\r\n") + why;
}

QString removeFailedMessage(const QString& path, const QString& why) {
    return QStringLiteral("関連付けのファイルを消せなかったにゃ。\r\n") + shown(path) +
           QStringLiteral("\r\n") + why;
}

Error failed(QString message) {
    return Error::refused(std::move(message));
}

QString xdgHome(const char* variable, const QString& fallback) {
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QDir::homePath() + fallback;
}

struct Paths {
    QString mimePackage, desktopEntry, mimeApps, appIcon, documentIcon;
    explicit Paths(const AssocPlaces& p)
        : mimePackage(p.dataHome + QStringLiteral("/mime/packages/") +
                      QLatin1String(kMimePackageFileName)),
          desktopEntry(p.dataHome + QStringLiteral("/applications/") +
                       QLatin1String(kDesktopEntryId)),
          mimeApps(p.configHome + QStringLiteral("/mimeapps.list")),
          appIcon(p.dataHome + QStringLiteral("/icons/hicolor/scalable/apps/") +
                  QLatin1String(kAppIconName) + QStringLiteral(".svg")),
          documentIcon(p.dataHome + QStringLiteral("/icons/hicolor/scalable/mimetypes/") +
                       QLatin1String(kDocumentIconName) + QStringLiteral(".svg")) {}
};

// mimeapps.list as it is now; a file that does not exist is an empty one.
Result<DesktopKeyFile> readMimeApps(const QString& path) {
    if (!QFileInfo::exists(path)) return *DesktopKeyFile::parse(QByteArray());
    const Result<RegularFileRead> read = readRegularFile(path);
    if (!read) return failed(readFailedMessage(path, read.error().text));
    int badLine = 0;
    std::optional<DesktopKeyFile> file = DesktopKeyFile::parse(*read->bytes, &badLine);
    if (!file) return failed(malformedMessage(path, badLine));
    return *std::move(file);
}

bool defaultIsOurs(const DesktopKeyFile& mimeApps, const char* mimeType) {
    const std::optional<QByteArray> value = mimeApps.value(kDefaults, mimeType);
    return value && firstListItem(*value) == kDesktopEntryId;
}

std::optional<QByteArray> readSmallFile(const QString& path) {
    Result<RegularFileRead> read = readRegularFile(path);
    if (!read) return std::nullopt;
    return std::move(read->bytes);
}

// The files one operation writes or removes. When a later step fails, the files this
// operation created are removed again, so a failure leaves things as they were.
class FileChanges {
public:
    bool write(const QString& path, const QByteArray& bytes) {
        const bool existed = QFileInfo::exists(path);
        if (existed && readSmallFile(path) == bytes) return true;
        const QString folder = QFileInfo(path).absolutePath();
        if (!QDir().mkpath(folder)) {
            m_error = writeFailedMessage(path, QStringLiteral("フォルダを作れないにゃ。"));
            return false;
        }
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
            m_error = writeFailedMessage(path, out.errorString());
            return false;
        }
        if (!existed) m_created.push_back(path);
        return true;
    }

    bool remove(const QString& path) {
        QFile file(path);
        if (!file.exists() || file.remove()) return true;
        m_error = removeFailedMessage(path, file.errorString());
        return false;
    }

    // Writes mimeapps.list; a file left without any line is removed rather than kept empty.
    bool writeMimeApps(const QString& path, const DesktopKeyFile& mimeApps) {
        const QByteArray bytes = mimeApps.bytes();
        return bytes.isEmpty() ? remove(path) : write(path, bytes);
    }

    Result<void> rollBack() {
        for (const QString& path : m_created)
            QFile::remove(path);
        m_created.clear();
        return failed(m_error);
    }

    QString error() const { return m_error; }

private:
    std::vector<QString> m_created;
    QString m_error;
};

// Our entry and the icons it names.
bool writeEntry(FileChanges& changes, const AssocPlaces& places, const Paths& paths,
                bool opensText) {
    if (!changes.write(paths.desktopEntry, desktopEntryText(places.executable, opensText)))
        return false;
    if (places.iconFolder.isEmpty()) return true;
    const std::pair<QString, QString> icons[] = {
        {QLatin1String(kAppIconName), paths.appIcon},
        {QLatin1String(kDocumentIconName), paths.documentIcon}};
    for (const auto& [name, target] : icons) {
        const std::optional<QByteArray> svg =
            readSmallFile(places.iconFolder + QLatin1Char('/') + name + QStringLiteral(".svg"));
        if (svg && !changes.write(target, *svg)) return false;
    }
    return true;
}

bool removeEntry(FileChanges& changes, const Paths& paths) {
    return changes.remove(paths.desktopEntry) && changes.remove(paths.appIcon) &&
           changes.remove(paths.documentIcon);
}

void runUpdater(const QString& program, const QString& folder) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty() || !QFileInfo(folder).isDir()) return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(found, {folder});
    // The caches only speed the desktop up; a failure here leaves our files in place and the
    // desktop finds them on its next scan.
    if (process.waitForStarted()) process.waitForFinished(30000);
}

void notifyDesktop(const AssocPlaces& places, bool mimeTypes) {
    if (!places.runUpdaters) return;
    if (mimeTypes)
        runUpdater(QStringLiteral("update-mime-database"),
                   places.dataHome + QStringLiteral("/mime"));
    runUpdater(QStringLiteral("update-desktop-database"),
               places.dataHome + QStringLiteral("/applications"));
}

} // namespace

AssocPlaces assocPlacesFromEnvironment(const QString& executable, const QString& iconFolder) {
    AssocPlaces places;
    places.dataHome = xdgHome("XDG_DATA_HOME", QStringLiteral("/.local/share"));
    places.configHome = xdgHome("XDG_CONFIG_HOME", QStringLiteral("/.config"));
    places.executable = executable;
    places.iconFolder = iconFolder;
    return places;
}

bool assoc_check(const AssocPlaces& places) {
    const Paths paths(places);
    const std::optional<QByteArray> package = readSmallFile(paths.mimePackage);
    if (!package || !package->contains(kDocumentMimeType)) return false;
    if (!QFileInfo(paths.desktopEntry).isFile()) return false;
    const Result<DesktopKeyFile> mimeApps = readMimeApps(paths.mimeApps);
    return mimeApps && defaultIsOurs(*mimeApps, kDocumentMimeType);
}

Result<void> assoc_set(const AssocPlaces& places) {
    const Paths paths(places);
    Result<DesktopKeyFile> mimeApps = readMimeApps(paths.mimeApps);
    if (!mimeApps) return mimeApps.error();
    FileChanges changes;
    mimeApps->setValue(kDefaults, kDocumentMimeType, QByteArray(kDesktopEntryId) + ';');
    if (!changes.write(paths.mimePackage, mimePackageXml()) ||
        !writeEntry(changes, places, paths, defaultIsOurs(*mimeApps, kTextMimeType)) ||
        !changes.writeMimeApps(paths.mimeApps, *mimeApps))
        return changes.rollBack();
    notifyDesktop(places, true);
    return {};
}

Result<void> assoc_remove(const AssocPlaces& places) {
    const Paths paths(places);
    Result<DesktopKeyFile> mimeApps = readMimeApps(paths.mimeApps);
    if (!mimeApps) return mimeApps.error();
    FileChanges changes;
    if (defaultIsOurs(*mimeApps, kDocumentMimeType)) {
        mimeApps->removeValue(kDefaults, kDocumentMimeType);
        if (!changes.writeMimeApps(paths.mimeApps, *mimeApps)) return failed(changes.error());
    }
    if (!changes.remove(paths.mimePackage)) return failed(changes.error());
    if (!defaultIsOurs(*mimeApps, kTextMimeType) && !removeEntry(changes, paths))
        return failed(changes.error());
    notifyDesktop(places, true);
    return {};
}

bool txt_assoc_check(const AssocPlaces& places) {
    const Paths paths(places);
    const Result<DesktopKeyFile> mimeApps = readMimeApps(paths.mimeApps);
    if (!mimeApps || !defaultIsOurs(*mimeApps, kTextMimeType)) return false;
    const std::optional<QByteArray> bytes = readSmallFile(paths.desktopEntry);
    if (!bytes) return false;
    const std::optional<DesktopKeyFile> entry = DesktopKeyFile::parse(*bytes);
    if (!entry) return false;
    const std::optional<QByteArray> exec = entry->value(kDesktopGroup, "Exec");
    if (!exec) return false;
    return execProgram(*exec) == places.executable;
}

Result<void> txt_assoc_set(const AssocPlaces& places, QString& extOldApp) {
    const Paths paths(places);
    Result<DesktopKeyFile> mimeApps = readMimeApps(paths.mimeApps);
    if (!mimeApps) return mimeApps.error();
    const bool alreadyOurs = defaultIsOurs(*mimeApps, kTextMimeType);
    const QString previous =
        QString::fromUtf8(mimeApps->value(kDefaults, kTextMimeType).value_or(QByteArray()));
    FileChanges changes;
    mimeApps->setValue(kDefaults, kTextMimeType, QByteArray(kDesktopEntryId) + ';');
    if (!writeEntry(changes, places, paths, true) ||
        !changes.writeMimeApps(paths.mimeApps, *mimeApps))
        return changes.rollBack();
    if (!alreadyOurs) extOldApp = previous;
    notifyDesktop(places, false);
    return {};
}

Result<void> txt_assoc_restore(const AssocPlaces& places, const QString& extOldApp) {
    const Paths paths(places);
    Result<DesktopKeyFile> mimeApps = readMimeApps(paths.mimeApps);
    if (!mimeApps) return mimeApps.error();
    if (!defaultIsOurs(*mimeApps, kTextMimeType)) return {};
    if (extOldApp.isEmpty())
        mimeApps->removeValue(kDefaults, kTextMimeType);
    else
        mimeApps->setValue(kDefaults, kTextMimeType, extOldApp.toUtf8());
    FileChanges changes;
    if (!changes.writeMimeApps(paths.mimeApps, *mimeApps)) return failed(changes.error());
    // The entry stays for the documents, no longer offered for plain text.
    const bool entryKept = defaultIsOurs(*mimeApps, kDocumentMimeType);
    if (entryKept ? !writeEntry(changes, places, paths, false) : !removeEntry(changes, paths))
        return failed(changes.error());
    notifyDesktop(places, false);
    return {};
}

} // namespace pote
