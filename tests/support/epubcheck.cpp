#include "support/epubcheck.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace pote::test {

namespace {
const QString kEpubcheck = QStringLiteral("/usr/share/java/epubcheck.jar");
}

bool epubcheckAvailable() {
    return !QStandardPaths::findExecutable(QStringLiteral("java")).isEmpty() &&
           QFileInfo::exists(kEpubcheck);
}

// The /usr/bin link would need a binfmt handler, so the jar is run by java directly.
QString epubcheckComplaints(const QString& path) {
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(QStringLiteral("java"),
                {QStringLiteral("-jar"), kEpubcheck, QStringLiteral("--failonwarnings"), path});
    if (!check.waitForFinished(600000)) return QStringLiteral("epubcheck did not finish");
    const QString said = QString::fromUtf8(check.readAll());
    if (check.exitStatus() != QProcess::NormalExit || check.exitCode() != 0) return said;
    if (said.contains(QLatin1String("WARNING")) || said.contains(QLatin1String("ERROR")))
        return said;
    return {};
}

} // namespace pote::test
