#include "textio/open_by_type.h"

#include "textio/text_messages.h"

#include <QDir>
#include <QFileInfo>

namespace pote {

QString file_extension(const QString& path) {
    return path.sliced(path.lastIndexOf(QLatin1Char('.')) + 1).toLower();
}

OpenByType decideDroppedFiles(const QList<QUrl>& urls, const OpenTarget& target) {
    OpenByType open;
    if (urls.isEmpty() || !urls.first().isLocalFile()) return open;
    open.path = urls.first().toLocalFile();
    const QString ext = file_extension(open.path);
    if (ext == QLatin1String("txt") || ext == QLatin1String("rtf")) {
        open.action = OpenAction::LoadTextIntoCurrent;
        open.beginPlainTextMode = target.sectionCount == 1 && target.documentPath.isEmpty();
    } else if (ext == QLatin1String("txm")) {
        open.action = OpenAction::LinkedTextRead;
    } else if (ext == QLatin1String("ptm")) {
        open.action = OpenAction::DocumentRead;
    } else {
        open.path.clear();
        return open;
    }
    // A drop replaces the whole document, or the section's text, just as the open commands do,
    // and it is just as easy to do by mistake; unsaved work is offered for saving the same way.
    open.askToSave = target.modified;
    return open;
}

Result<CommandLineOpen> decideCommandLineOpen(const QStringList& parameters,
                                              const QString& currentFolder,
                                              const OpenTarget& target) {
    CommandLineOpen result;
    QString joined = parameters.join(QLatin1Char(' '));
    while (joined.endsWith(QLatin1Char(' ')))
        joined.chop(1);
    result.named = joined;
    // The start-up option on its own is no file name.
    if (joined.isEmpty() || joined == QLatin1String("/d")) return result;
    const QFileInfo file(QDir(currentFolder), joined);
    if (!file.exists()) return Error::refused(textmsg::commandLineFileMissing(joined));
    if (!file.isFile()) return Error::refused(textmsg::commandLineCannotOpen(joined));
    const QString path = QDir::cleanPath(file.absoluteFilePath());
    const QString ext = file_extension(path);
    OpenByType& open = result.open;
    if (ext == QLatin1String("txt")) {
        open.action = OpenAction::LoadTextIntoCurrent;
        open.beginPlainTextMode = true;
    } else if (ext == QLatin1String("ptm")) {
        open.action = OpenAction::DocumentRead;
    } else if (ext == QLatin1String("txm")) {
        // Nothing but the user's own hand sends a linked text here ("open with", a typed
        // command); it is read as a drop reads it.
        open.action = OpenAction::LinkedTextRead;
    } else {
        return Error::refused(textmsg::commandLineCannotOpen(joined));
    }
    open.path = path;
    open.askToSave = target.modified;
    return result;
}

} // namespace pote
