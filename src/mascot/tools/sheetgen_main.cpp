// mascot_sheetgen: builds potemaru.sss, or a contact sheet for reviewing the art, from the
// artwork source.
//
//   mascot_sheetgen sheet   <palette.txt> <frames folder> <out.sss>
//   mascot_sheetgen contact <palette.txt> <frames folder> <out.png> [scale]

#include "art_source.h"
#include "contact_sheet.h"

#include <QSaveFile>
#include <QString>

#include <cstdio>

using namespace pote::mascot;

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "mascot_sheetgen: %s\n", qPrintable(message));
    return 1;
}

int writeSheet(const ArtSource& art, const QString& out) {
    const QByteArray bytes = encodeSheet(art.sheet);
    // What we write must be what the program accepts.
    if (const SheetLoadResult check = decodeSheet(bytes); !check.ok())
        return fail(QStringLiteral("the sheet would be refused: ") + check.detail);
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(out + QStringLiteral(": ") + file.errorString());
    return 0;
}

int writeContactSheet(const ArtSource& art, const QString& out, int scale) {
    const QImage image = contactSheet(art, scale);
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return fail(out + QStringLiteral(": ") + file.errorString());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5)
        return fail(QStringLiteral("usage: mascot_sheetgen sheet|contact <palette.txt> "
                                   "<frames folder> <output> [scale]"));
    const QString mode = QString::fromLocal8Bit(argv[1]);
    QString error;
    const auto art =
        readArtSource(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), &error);
    if (!art) return fail(error);
    const QString out = QString::fromLocal8Bit(argv[4]);
    if (mode == QLatin1String("sheet")) return writeSheet(*art, out);
    if (mode == QLatin1String("contact")) {
        const int scale = argc > 5 ? QString::fromLocal8Bit(argv[5]).toInt() : 4;
        if (scale < 1 || scale > 16) return fail(QStringLiteral("scale must be 1 to 16"));
        return writeContactSheet(*art, out, scale);
    }
    return fail(QStringLiteral("unknown mode ") + mode);
}
