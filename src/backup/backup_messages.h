#pragma once
// What the backup says, in the cat's words: the checks' messages, the status-bar texts and the
// closing reports.

#include <QString>

namespace pote::backup {

QString notConfiguredMessage();      // no source folder or no destination
QString sameFolderMessage();         // a source is the destination
QString sourceMissingMessage();      // a source folder does not exist
QString destinationMissingMessage(); // asked with Abort and Retry
QString nothingFoundMessage();       // no file with a listed extension

QString scanningStatusText();
// "バックアップ中 （1,234 / 20,000）"
QString progressStatusText(qint64 done, qint64 total);
// The status text with the elapsed whole seconds appended.
QString elapsedStatusText(const QString& statusText, qint64 elapsedMs);

QString completionMessage(qint64 total, qint64 dropped);
QString failureMessage(qint64 failed, const QString& lastFailedPath);
QString cancelledMessage(qint64 copied);

} // namespace pote::backup
