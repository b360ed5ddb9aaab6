#include "mascot/sprite_sheet.h"

#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

namespace pote::mascot {
namespace {

using Status = SheetLoadResult::Status;

// A 2 × 2 sheet of 3 × 2 cells; pixel (x, y) uses entry (x + y) % 3.
IndexedSheet smallSheet() {
    IndexedSheet sheet;
    sheet.cellWidth = 3;
    sheet.cellHeight = 2;
    sheet.columns = 2;
    sheet.rows = 2;
    sheet.palette = {0x008000, 0x939EBC, 0x123456};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            sheet.indices.append(char((x + y) % 3));
    return sheet;
}

void putU16(QByteArray& bytes, int offset, quint16 value) {
    qToLittleEndian(value, bytes.data() + offset);
}

TEST(SpriteSheet, FileLayoutIsLittleEndianWithRedInTheLowestPaletteByte) {
    const QByteArray file = encodeSheet(smallSheet());
    ASSERT_EQ(file.size(), 24 + 3 * 4 + 24);
    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 8), 3);
    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 10), 2);
    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 14), 2);
    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 16), 2);
    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 22), 3);
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 24 + 4), 0x00BC9E93u);
}

TEST(SpriteSheet, DecodesEveryPixelThroughThePalette) {
    const SheetLoadResult result = decodeSheet(encodeSheet(smallSheet()));
    ASSERT_TRUE(result.ok()) << result.detail.toStdString();
    const SpriteSheet& sheet = result.sheet;
    EXPECT_EQ(sheet.width(), 6);
    EXPECT_EQ(sheet.height(), 4);
    ASSERT_EQ(sheet.rgb.size(), 6 * 4 * 3);
    const uchar expected[3][3] = {{0, 128, 0}, {147, 158, 188}, {0x12, 0x34, 0x56}};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            const auto* px =
                reinterpret_cast<const uchar*>(sheet.rgb.constData()) + 3 * (y * 6 + x);
            const auto* want = expected[(x + y) % 3];
            EXPECT_TRUE(px[0] == want[0] && px[1] == want[1] && px[2] == want[2])
                << "pixel " << x << "," << y;
        }
    }
}

TEST(SpriteSheet, IgnoresTheUninterpretedHeaderBytes) {
    QByteArray file = encodeSheet(smallSheet());
    for (const int offset : {0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 18, 19, 20, 21})
        file[offset] = char(0xA5);
    EXPECT_TRUE(decodeSheet(file).ok());
}

TEST(SpriteSheet, FramesMapToCellsRowByRow) {
    SpriteSheet sheet;
    sheet.cellWidth = 48;
    sheet.cellHeight = 48;
    sheet.columns = 10;
    sheet.rows = 3;
    struct Row {
        int frame;
        int x, y;
    };
    for (const Row& row : {Row{1, 0, 0}, Row{10, 432, 0}, Row{11, 0, 48}, Row{30, 432, 96}}) {
        const CellRect cell = sheet.cellRect(row.frame);
        EXPECT_EQ(cell.x, row.x) << row.frame;
        EXPECT_EQ(cell.y, row.y) << row.frame;
        EXPECT_EQ(cell.width, 48);
        EXPECT_EQ(cell.height, 48);
    }
    for (const int outside : {0, -1, 31})
        EXPECT_EQ(sheet.cellRect(outside).width, 0) << outside;
}

struct BadSheetRow {
    const char* name;
    std::function<void(QByteArray&)> spoil;
    Status expected;
};

class BadSheet : public testing::TestWithParam<BadSheetRow> {};

TEST_P(BadSheet, IsRefusedWithItsReason) {
    QByteArray file = encodeSheet(smallSheet());
    GetParam().spoil(file);
    const SheetLoadResult result = decodeSheet(file);
    EXPECT_EQ(result.status, GetParam().expected) << result.detail.toStdString();
    EXPECT_FALSE(result.detail.isEmpty());
    EXPECT_TRUE(result.sheet.rgb.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    SpriteSheet, BadSheet,
    testing::Values(
        BadSheetRow{"Empty", [](QByteArray& f) { f.clear(); }, Status::TooShort},
        BadSheetRow{"HeaderCutShort", [](QByteArray& f) { f.truncate(23); }, Status::TooShort},
        BadSheetRow{"ZeroCellWidth", [](QByteArray& f) { putU16(f, 8, 0); }, Status::EmptySheet},
        BadSheetRow{"ZeroCellHeight", [](QByteArray& f) { putU16(f, 10, 0); }, Status::EmptySheet},
        BadSheetRow{"ZeroColumns", [](QByteArray& f) { putU16(f, 14, 0); }, Status::EmptySheet},
        BadSheetRow{"ZeroRows", [](QByteArray& f) { putU16(f, 16, 0); }, Status::EmptySheet},
        BadSheetRow{"AbsurdSizes",
                    [](QByteArray& f) {
                        for (const int offset : {8, 10, 14, 16})
                            putU16(f, offset, 0xFFFF);
                    },
                    Status::TooLarge},
        BadSheetRow{"JustOverThePixelCap",
                    [](QByteArray& f) {
                        putU16(f, 8, 4096);
                        putU16(f, 10, 4097);
                        putU16(f, 14, 1);
                        putU16(f, 16, 1);
                    },
                    Status::TooLarge},
        BadSheetRow{"PaletteOver4096", [](QByteArray& f) { putU16(f, 22, 4097); },
                    Status::PaletteTooLarge},
        BadSheetRow{"PaletteLongerThanTheFile", [](QByteArray& f) { putU16(f, 22, 4096); },
                    Status::LengthMismatch},
        BadSheetRow{"PixelsCutShort", [](QByteArray& f) { f.chop(1); }, Status::LengthMismatch},
        BadSheetRow{"TrailingBytes", [](QByteArray& f) { f.append('\0'); }, Status::LengthMismatch},
        BadSheetRow{"SizesLargerThanTheFile", [](QByteArray& f) { putU16(f, 16, 3); },
                    Status::LengthMismatch},
        BadSheetRow{"IndexAtThePaletteCount", [](QByteArray& f) { f[f.size() - 1] = 3; },
                    Status::IndexOutOfPalette},
        BadSheetRow{"IndexFarBeyondThePalette", [](QByteArray& f) { f[f.size() - 24] = char(255); },
                    Status::IndexOutOfPalette},
        BadSheetRow{"NoPaletteAtAll",
                    [](QByteArray& f) {
                        // Same pixel bytes, palette dropped: every index is beyond it.
                        f.remove(24, 12);
                        putU16(f, 22, 0);
                    },
                    Status::IndexOutOfPalette}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SpriteSheet, EveryTruncationIsRefused) {
    const QByteArray file = encodeSheet(smallSheet());
    for (qsizetype length = 0; length < file.size(); ++length)
        EXPECT_FALSE(decodeSheet(QByteArrayView(file).first(length)).ok()) << length;
}

TEST(SpriteSheet, ALargePaletteIsFineAsLongAsTheIndicesFit) {
    IndexedSheet sheet = smallSheet();
    sheet.palette.resize(4096, 0xFFFFFF);
    sheet.indices[5] = char(255);
    const SheetLoadResult result = decodeSheet(encodeSheet(sheet));
    ASSERT_TRUE(result.ok()) << result.detail.toStdString();
    EXPECT_EQ(uchar(result.sheet.rgb.at(5 * 3)), 0xFF);
}

TEST(SpriteSheet, LoadsFromTheProgramFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("ぽてまる"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = sheetPathIn(folder);
    EXPECT_EQ(path, folder + QStringLiteral("/potemaru.sss"));
    test::writeAll(path, encodeSheet(smallSheet()));
    const SheetLoadResult result = mascot_load_sheet(path);
    ASSERT_TRUE(result.ok()) << result.detail.toStdString();
    EXPECT_EQ(result.sheet.cellCount(), 4);
}

TEST(SpriteSheet, MissingOrUnreadableFilesAreRefusedNotFatal) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = sheetPathIn(dir.path());
    EXPECT_EQ(mascot_load_sheet(missing).status, Status::CannotRead);
    ASSERT_TRUE(QDir().mkpath(missing)); // a folder where the file should be
    EXPECT_EQ(mascot_load_sheet(missing).status, Status::CannotRead);
    const QString truncated = dir.filePath(QStringLiteral("短い.sss"));
    test::writeAll(truncated, encodeSheet(smallSheet()).first(30));
    EXPECT_EQ(mascot_load_sheet(truncated).status, Status::LengthMismatch);
    if (!test::pipesAvailable(dir.path())) return;
    const QString pipe = dir.filePath(QStringLiteral("管.sss"));
    SheetLoadResult fromPipe;
    EXPECT_TRUE(test::readsPipeWithoutWaiting(pipe, [&] { fromPipe = mascot_load_sheet(pipe); }));
    EXPECT_EQ(fromPipe.status, Status::CannotRead);
}

} // namespace
} // namespace pote::mascot
