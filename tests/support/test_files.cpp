#include "support/test_files.h"

#include "core/cp932.h"

#include <QFile>

#include <stdexcept>

namespace pote::test {

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QString dataPath(const QString& name) {
    return QStringLiteral(POTE_TEST_DATA_DIR "/") + name;
}

QByteArray sjis(const char* utf8) {
    return cp932::encode(QString::fromUtf8(utf8));
}

} // namespace pote::test
