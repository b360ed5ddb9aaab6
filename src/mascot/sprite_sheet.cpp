#include "mascot/sprite_sheet.h"

#include "core/file_io.h"

#include <QDir>
#include <QtEndian>

namespace pote::mascot {

namespace {

using Status = SheetLoadResult::Status;

SheetLoadResult refused(Status status, QString detail) {
    SheetLoadResult result;
    result.status = status;
    result.detail = std::move(detail);
    return result;
}

quint16 u16At(QByteArrayView bytes, qsizetype offset) {
    return qFromLittleEndian<quint16>(bytes.data() + offset);
}

quint32 u32At(QByteArrayView bytes, qsizetype offset) {
    return qFromLittleEndian<quint32>(bytes.data() + offset);
}

void putU16(QByteArray& out, qsizetype offset, int value) {
    qToLittleEndian<quint16>(static_cast<quint16>(value), out.data() + offset);
}

} // namespace

QString sheetPathIn(const QString& programFolder) {
    return programFolder + QLatin1Char('/') + QLatin1String(kSheetFileName);
}

CellRect SpriteSheet::cellRect(int frame) const {
    if (frame < 1 || frame > cellCount()) return {};
    const int cell = frame - 1;
    return {(cell % columns) * cellWidth, (cell / columns) * cellHeight, cellWidth, cellHeight};
}

SheetLoadResult decodeSheet(QByteArrayView bytes) {
    if (bytes.size() < kSheetHeaderSize)
        return refused(Status::TooShort, QStringLiteral("%1 bytes, the header alone needs %2")
                                             .arg(bytes.size())
                                             .arg(kSheetHeaderSize));
    const int cellWidth = u16At(bytes, 8);
    const int cellHeight = u16At(bytes, 10);
    const int columns = u16At(bytes, 14);
    const int rows = u16At(bytes, 16);
    const int paletteCount = u16At(bytes, 22);
    if (cellWidth == 0 || cellHeight == 0 || columns == 0 || rows == 0)
        return refused(Status::EmptySheet, QStringLiteral("cells %1×%2, %3 columns, %4 rows")
                                               .arg(cellWidth)
                                               .arg(cellHeight)
                                               .arg(columns)
                                               .arg(rows));
    const qint64 width = qint64(columns) * cellWidth;
    const qint64 height = qint64(rows) * cellHeight;
    // Each side within the cap first, so that the product cannot overflow.
    if (width > kMaxSheetPixels || height > kMaxSheetPixels || width * height > kMaxSheetPixels)
        return refused(Status::TooLarge, QStringLiteral("%1×%2 pixels, at most %3 allowed")
                                             .arg(width)
                                             .arg(height)
                                             .arg(kMaxSheetPixels));
    if (paletteCount > kMaxPaletteEntries)
        return refused(Status::PaletteTooLarge, QStringLiteral("%1 palette entries, at most %2")
                                                    .arg(paletteCount)
                                                    .arg(kMaxPaletteEntries));
    const qint64 pixelsAt = kSheetHeaderSize + qint64(4) * paletteCount;
    const qint64 expected = pixelsAt + width * height;
    if (bytes.size() != expected)
        return refused(Status::LengthMismatch,
                       QStringLiteral("the header describes %1 bytes, the file has %2")
                           .arg(expected)
                           .arg(bytes.size()));

    // Only the first 256 entries can be named by a one-byte index.
    std::uint8_t rgbOf[256][3] = {};
    const int usable = std::min(paletteCount, 256);
    for (int i = 0; i < usable; ++i) {
        const quint32 value = u32At(bytes, kSheetHeaderSize + 4 * i); // 0x00BBGGRR
        rgbOf[i][0] = static_cast<std::uint8_t>(value);
        rgbOf[i][1] = static_cast<std::uint8_t>(value >> 8);
        rgbOf[i][2] = static_cast<std::uint8_t>(value >> 16);
    }

    SheetLoadResult result;
    SpriteSheet& sheet = result.sheet;
    sheet.cellWidth = cellWidth;
    sheet.cellHeight = cellHeight;
    sheet.columns = columns;
    sheet.rows = rows;
    const qint64 pixelCount = width * height;
    sheet.rgb.resize(pixelCount * 3);
    auto* out = reinterpret_cast<std::uint8_t*>(sheet.rgb.data());
    const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data() + pixelsAt);
    for (qint64 p = 0; p < pixelCount; ++p) {
        const int index = in[p];
        if (index >= usable)
            return refused(Status::IndexOutOfPalette,
                           QStringLiteral("pixel (%1, %2) uses entry %3 of a %4-entry palette")
                               .arg(p % width)
                               .arg(p / width)
                               .arg(index)
                               .arg(paletteCount));
        out[3 * p] = rgbOf[index][0];
        out[3 * p + 1] = rgbOf[index][1];
        out[3 * p + 2] = rgbOf[index][2];
    }
    result.status = Status::Ok;
    return result;
}

SheetLoadResult mascot_load_sheet(const QString& path) {
    // Decide on the size before reading, so that a huge file is never loaded into memory.
    RegularFileReadOptions options;
    options.maxBytes = kSheetHeaderSize + qint64(4) * kMaxPaletteEntries + kMaxSheetPixels;
    const Result<RegularFileRead> read = readRegularFile(path, options);
    if (!read)
        return refused(Status::CannotRead,
                       QDir::toNativeSeparators(path) + QStringLiteral(": ") + read.error().text);
    if (!read->bytes)
        return refused(Status::TooLarge, QStringLiteral("%1 bytes, no valid sheet exceeds %2")
                                             .arg(read->size)
                                             .arg(options.maxBytes));
    return decodeSheet(*read->bytes);
}

QByteArray encodeSheet(const IndexedSheet& sheet) {
    const qsizetype paletteCount = qsizetype(sheet.palette.size());
    QByteArray out(kSheetHeaderSize + 4 * paletteCount, '\0');
    putU16(out, 8, sheet.cellWidth);
    putU16(out, 10, sheet.cellHeight);
    putU16(out, 14, sheet.columns);
    putU16(out, 16, sheet.rows);
    putU16(out, 22, int(paletteCount));
    for (qsizetype i = 0; i < paletteCount; ++i) {
        const std::uint32_t rgb = sheet.palette[size_t(i)];
        const quint32 bgr = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
        qToLittleEndian<quint32>(bgr, out.data() + kSheetHeaderSize + 4 * i);
    }
    out.append(sheet.indices);
    return out;
}

} // namespace pote::mascot
