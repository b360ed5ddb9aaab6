#include "contact_sheet.h"

#include <array>

namespace pote::mascot {

namespace {

// Digits 3 × 5, one row of three bits per line: no fonts needed, so the tool runs without a
// display or a font setup.
constexpr std::array<std::array<std::uint8_t, 5>, 10> kDigits = {{
    {7, 5, 5, 5, 7},
    {2, 6, 2, 2, 7},
    {7, 1, 7, 4, 7},
    {7, 1, 7, 1, 7},
    {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7},
    {7, 4, 7, 5, 7},
    {7, 1, 1, 2, 2},
    {7, 5, 7, 5, 7},
    {7, 5, 7, 1, 7},
}};

constexpr int kGap = 8;
constexpr int kDigitScale = 3;
constexpr int kLabelHeight = 5 * kDigitScale + 6;
constexpr QRgb kPaper = qRgb(250, 248, 240);
constexpr QRgb kInk = qRgb(40, 40, 40);

void fill(QImage& image, int x, int y, int width, int height, QRgb colour) {
    for (int row = y; row < y + height; ++row)
        for (int col = x; col < x + width; ++col)
            image.setPixel(col, row, colour);
}

void drawNumber(QImage& image, int x, int y, int number) {
    const QByteArray text = QByteArray::number(number);
    for (const char c : text) {
        const auto& glyph = kDigits[size_t(c - '0')];
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (glyph[size_t(row)] & (4 >> col))
                    fill(image, x + col * kDigitScale, y + row * kDigitScale, kDigitScale,
                         kDigitScale, kInk);
        x += 4 * kDigitScale;
    }
}

} // namespace

QImage contactSheet(const ArtSource& art, int scale) {
    const IndexedSheet& sheet = art.sheet;
    const int tileWidth = sheet.cellWidth * scale + 2;
    const int tileHeight = sheet.cellHeight * scale + 2 + kLabelHeight;
    QImage image(kGap + sheet.columns * (tileWidth + kGap), kGap + sheet.rows * (tileHeight + kGap),
                 QImage::Format_RGB32);
    image.fill(kPaper);
    const int sheetWidth = sheet.cellWidth * sheet.columns;
    for (int frame = 0; frame < art.frameCount; ++frame) {
        const int left = kGap + (frame % sheet.columns) * (tileWidth + kGap);
        const int top = kGap + (frame / sheet.columns) * (tileHeight + kGap);
        drawNumber(image, left + 1, top + 2, frame + 1);
        const int pictureTop = top + kLabelHeight;
        fill(image, left, pictureTop, tileWidth, sheet.cellHeight * scale + 2, kInk);
        const int cellX = (frame % sheet.columns) * sheet.cellWidth;
        const int cellY = (frame / sheet.columns) * sheet.cellHeight;
        for (int y = 0; y < sheet.cellHeight; ++y) {
            for (int x = 0; x < sheet.cellWidth; ++x) {
                const int index = uchar(sheet.indices.at((cellY + y) * sheetWidth + cellX + x));
                const QRgb colour = 0xFF000000u | sheet.palette[size_t(index)];
                fill(image, left + 1 + x * scale, pictureTop + 1 + y * scale, scale, scale, colour);
            }
        }
    }
    return image;
}

} // namespace pote::mascot
