#pragma once
// The mascot's sprite sheet: all animation cells in one picture, stored in potemaru.sss as a
// palette and one index byte per pixel. The file ships beside the program, but it is still an
// input: a missing, truncated or inconsistent file is refused with a reason and the program
// runs without the cat.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

namespace pote::mascot {

inline constexpr char kSheetFileName[] = "potemaru.sss";

// Where the sheet lies in a program folder (the folder without a trailing separator).
QString sheetPathIn(const QString& programFolder);

// A cell's place on the sheet, in pixels.
struct CellRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The decoded sheet: 24 bits per pixel, rows top to bottom, R G B bytes per pixel.
struct SpriteSheet {
    int cellWidth = 0;
    int cellHeight = 0;
    int columns = 0;
    int rows = 0;
    QByteArray rgb; // width() * height() * 3 bytes

    int width() const { return columns * cellWidth; }
    int height() const { return rows * cellHeight; }
    int cellCount() const { return columns * rows; }
    // Frames count from 1 and fill the sheet row by row. Frames beyond the sheet have no cell:
    // the rectangle is then empty.
    CellRect cellRect(int frame) const;
};

// The file's contents before decoding: what the sheet generator writes.
struct IndexedSheet {
    int cellWidth = 0;
    int cellHeight = 0;
    int columns = 0;
    int rows = 0;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    QByteArray indices;                 // one byte per pixel over the whole sheet, row-major
};

struct SheetLoadResult {
    enum class Status {
        Ok,
        CannotRead,        // missing or unreadable file
        TooShort,          // not even a whole header
        EmptySheet,        // a cell size, the column count or the row count is 0
        TooLarge,          // more pixels than a mascot could ever need
        PaletteTooLarge,   // more than 4,096 palette entries
        LengthMismatch,    // the header's sizes and the file's length disagree
        IndexOutOfPalette, // a pixel names a palette entry that does not exist
    };
    Status status = Status::CannotRead;
    SpriteSheet sheet; // filled only when Ok
    QString detail;    // why the file was refused, for the log
    bool ok() const { return status == Status::Ok; }
};

inline constexpr int kMaxPaletteEntries = 4096;
// 4096 × 4096: far beyond any sheet of small cells, small enough to allocate safely.
inline constexpr qint64 kMaxSheetPixels = qint64(4096) * 4096;
inline constexpr int kSheetHeaderSize = 24;

SheetLoadResult mascot_load_sheet(const QString& path);
SheetLoadResult decodeSheet(QByteArrayView bytes);

// The file image of an indexed sheet. The caller keeps it consistent (sizes, index count,
// indices within the palette); the decoder checks all of that when it is read back.
QByteArray encodeSheet(const IndexedSheet& sheet);

} // namespace pote::mascot
