#pragma once
// Small file helpers shared by the tests.

#include <QByteArray>
#include <QString>

namespace pote::test {

QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);
// Path of a file in tests/data.
QString dataPath(const QString& name);
// CP932 bytes of a UTF-8 literal that only holds characters CP932 can hold.
QByteArray sjis(const char* utf8);

} // namespace pote::test
