#pragma once
// Small file helpers shared by the tests.

#include <QByteArray>
#include <QString>

#include <functional>

namespace pote::test {

QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);
// Path of a file in tests/data.
QString dataPath(const QString& name);
// CP932 bytes of a UTF-8 literal that only holds characters CP932 can hold.
QByteArray sjis(const char* utf8);

// Makes a named pipe at path that nobody writes to and runs read on it. A reader that opens the
// pipe blindly waits for a writer forever; after a few seconds one comes and goes at once, so
// that such a reader ends and the test fails instead of hanging. False when read waited, or
// when the file system holds no pipes (see pipesAvailable).
bool readsPipeWithoutWaiting(const QString& path, const std::function<void()>& read);
// Whether a named pipe can be made in folder (some file systems cannot hold one).
bool pipesAvailable(const QString& folder);

} // namespace pote::test
