#include "mascot/jpeg_decoder.h"

#include "jpeg_writer.h"
#include "support/test_files.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace pote::mascot {
namespace {

using Status = JpegResult::Status;
using Colour = test::JpegOptions::Colour;

// Within what a high-quality JPEG keeps of a solid colour.
void expectNear(Rgb actual, Rgb expected, int tolerance, const std::string& where) {
    EXPECT_LE(std::abs(actual.r - expected.r), tolerance) << where;
    EXPECT_LE(std::abs(actual.g - expected.g), tolerance) << where;
    EXPECT_LE(std::abs(actual.b - expected.b), tolerance) << where;
}

Rgb grey(Rgb c) {
    const auto y = std::uint8_t((299 * c.r + 587 * c.g + 114 * c.b + 500) / 1000);
    return {y, y, y};
}

// The centre of each quadrant shows its colour (or its grey).
void expectQuadrants(const RgbImage& image, bool asGrey, const std::string& name) {
    const int w = image.width;
    const int h = image.height;
    const int xs[4] = {w / 4, 3 * w / 4, 3 * w / 4, w / 4};
    const int ys[4] = {h / 4, h / 4, 3 * h / 4, 3 * h / 4};
    for (int q = 0; q < 4; ++q) {
        const Rgb want = asGrey ? grey(test::kQuadrantColours[q]) : test::kQuadrantColours[q];
        expectNear(image.pixel(xs[q], ys[q]), want, 8, name + " quadrant " + std::to_string(q));
    }
}

TEST(JpegDecoder, EveryColourSpaceAndCodingComesOutAsRgb) {
    struct Row {
        const char* name;
        test::JpegOptions options;
        bool grey;
    };
    const Row rows[] = {
        {"baseline YCbCr", {}, false},
        {"progressive", {Colour::Rgb, 95, true}, false},
        {"greyscale", {Colour::Grey}, true},
        {"greyscale progressive", {Colour::Grey, 95, true}, true},
        {"Adobe CMYK", {Colour::Cmyk}, false},
        {"Adobe YCCK", {Colour::Ycck}, false},
        {"YCCK progressive", {Colour::Ycck, 95, true}, false},
    };
    const RgbImage source = test::quadrants(96, 64);
    for (const Row& row : rows) {
        const JpegResult result = decodeJpeg(test::encodeJpeg(source, row.options));
        ASSERT_TRUE(result.ok()) << row.name << ": " << result.detail.toStdString();
        EXPECT_EQ(result.image.width, 96) << row.name;
        EXPECT_EQ(result.image.height, 64) << row.name;
        EXPECT_EQ(result.image.rgb.size(), 96 * 64 * 3) << row.name;
        expectQuadrants(result.image, row.grey, row.name);
    }
}

TEST(JpegDecoder, ScalesDownToTheSmallestScaleKeepingBothSidesAtLeastTheMinimum) {
    struct Row {
        const char* name;
        int width, height, minSide;
        int expectedWidth, expectedHeight;
    };
    const Row rows[] = {
        {"an eighth is just enough", 3840, 3840, 480, 480, 480},
        {"the short side decides", 1920, 3000, 480, 480, 750},
        {"half", 1000, 960, 480, 500, 480},
        {"7/8 would be too small", 481, 2000, 480, 481, 2000},
        {"never enlarged", 300, 200, 480, 300, 200},
        {"no minimum: full size", 1000, 960, 0, 1000, 960},
    };
    for (const Row& row : rows) {
        const QByteArray file = test::encodeJpeg(test::quadrants(row.width, row.height));
        const JpegResult result = decodeJpeg(file, row.minSide);
        ASSERT_TRUE(result.ok()) << row.name << ": " << result.detail.toStdString();
        EXPECT_EQ(result.image.width, row.expectedWidth) << row.name;
        EXPECT_EQ(result.image.height, row.expectedHeight) << row.name;
        EXPECT_EQ(result.fullWidth, row.width) << row.name;
        EXPECT_EQ(result.fullHeight, row.height) << row.name;
        expectQuadrants(result.image, false, row.name);
    }
}

TEST(JpegDecoder, RefusesWhatIsNotAWholeUsablePicture) {
    const QByteArray good = test::encodeJpeg(test::quadrants(160, 160));
    const QByteArray progressive =
        test::encodeJpeg(test::quadrants(160, 160), {Colour::Rgb, 95, true});
    QByteArray badPrecision = good;
    badPrecision[badPrecision.indexOf("\xFF\xC0") + 4] = 7; // 7-bit samples do not exist
    // A comment marker in the middle of the coded data, which starts after the scan header.
    QByteArray markerHalfway = good;
    const qsizetype sos = good.indexOf("\xFF\xDA");
    const qsizetype dataStart = sos + 2 + (uchar(good[sos + 2]) << 8 | uchar(good[sos + 3]));
    const qsizetype middle = (dataStart + good.size()) / 2;
    markerHalfway[middle] = char(0xFF);
    markerHalfway[middle + 1] = char(0xFE);
    struct Row {
        const char* name;
        QByteArray bytes;
        Status status;
    };
    const Row rows[] = {
        {"empty", {}, Status::Corrupt},
        {"text", "吾輩は猫である。名前はまだ無い。", Status::Corrupt},
        {"a PNG", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), Status::Corrupt},
        {"cut in the header", good.left(100), Status::Truncated},
        {"cut halfway", good.left(good.size() / 2), Status::Truncated},
        {"progressive cut halfway", progressive.left(progressive.size() / 2), Status::Truncated},
        {"impossible sample precision", badPrecision, Status::Corrupt},
        {"data running into a marker halfway", markerHalfway, Status::Corrupt},
        {"a little data claiming 60 megapixels", test::withClaimedSize(progressive, 2000, 30000),
         Status::Corrupt},
        {"header claiming 60000 × 60000", test::withClaimedSize(good, 60000, 60000),
         Status::TooLarge},
        {"header claiming 10001 × 10000", test::withClaimedSize(good, 10001, 10000),
         Status::TooLarge},
    };
    for (const Row& row : rows) {
        const JpegResult result = decodeJpeg(row.bytes, 480);
        EXPECT_EQ(result.status, row.status) << row.name << ": " << result.detail.toStdString();
        EXPECT_TRUE(result.image.isNull()) << row.name;
        EXPECT_TRUE(result.image.rgb.isEmpty()) << row.name;
    }
    EXPECT_EQ(decodeJpeg(test::withClaimedSize(good, 60000, 60000)).fullWidth, 60000)
        << "the refusal says what the header claimed";
}

TEST(JpegDecoder, AMissingEndMarkerStillGivesThePicture) {
    const QByteArray file = test::encodeJpeg(test::quadrants(160, 160));
    ASSERT_TRUE(file.endsWith("\xFF\xD9"));
    const JpegResult result = decodeJpeg(file.chopped(2));
    ASSERT_TRUE(result.ok()) << result.detail.toStdString();
    expectQuadrants(result.image, false, "without end marker");
}

TEST(JpegDecoder, ScanCountIsLimitedWithoutRefusingValidManyScanFiles) {
    test::JpegOptions manyScans;
    manyScans.everyCoefficientAScan = true;
    manyScans.colour = Colour::Grey; // 1 + 63 scans: within the limit
    const JpegResult grey = decodeJpeg(test::encodeJpeg(test::quadrants(64, 64), manyScans));
    ASSERT_TRUE(grey.ok()) << grey.detail.toStdString();
    expectQuadrants(grey.image, true, "64 scans");

    manyScans.colour = Colour::Rgb; // 1 + 3 × 63 scans
    const JpegResult colour = decodeJpeg(test::encodeJpeg(test::quadrants(64, 64), manyScans));
    EXPECT_EQ(colour.status, Status::Corrupt);
    EXPECT_TRUE(colour.detail.contains(QLatin1String("scans"))) << colour.detail.toStdString();
}

// Every cut and a few thousand random damages: a refusal or a picture of the size the header
// gives, never a crash (the sanitizer build watches the reads and writes).
TEST(JpegDecoder, DamagedFilesNeverCrash) {
    for (const test::JpegOptions& options :
         {test::JpegOptions{}, test::JpegOptions{Colour::Ycck, 90, true}}) {
        const QByteArray file = test::encodeJpeg(test::quadrants(40, 24), options);
        for (qsizetype cut = 0; cut < file.size(); ++cut) {
            const JpegResult result = decodeJpeg(file.left(cut));
            if (result.ok()) {
                EXPECT_EQ(result.image.rgb.size(), 40 * 24 * 3) << "cut at " << cut;
            }
        }
        QRandomGenerator random(20240611);
        for (int round = 0; round < 2000; ++round) {
            QByteArray damaged = file;
            for (int n = 0; n < 1 + round % 4; ++n)
                damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
            const JpegResult result = decodeJpeg(damaged, round % 2 ? 16 : 0);
            if (result.ok()) {
                EXPECT_EQ(result.image.rgb.size(),
                          qsizetype(result.image.width) * result.image.height * 3);
            }
        }
    }
}

TEST(JpegDecoder, ReadsFilesByJapaneseNamesAndRefusesWhatIsNoFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("うちの猫の部屋.jpg"));
    test::writeAll(path, test::encodeJpeg(test::quadrants(64, 48)));
    const JpegResult loaded = loadJpeg(path);
    ASSERT_TRUE(loaded.ok()) << loaded.detail.toStdString();
    expectQuadrants(loaded.image, false, "from file");

    EXPECT_EQ(loadJpeg(dir.filePath(QStringLiteral("ない.jpg"))).status, Status::CannotRead);
    EXPECT_EQ(loadJpeg(dir.path()).status, Status::CannotRead);
    if (!test::pipesAvailable(dir.path())) return;
    const QString pipe = dir.filePath(QStringLiteral("管.jpg"));
    JpegResult fromPipe;
    EXPECT_TRUE(test::readsPipeWithoutWaiting(pipe, [&] { fromPipe = loadJpeg(pipe); }));
    EXPECT_EQ(fromPipe.status, Status::CannotRead);
}

} // namespace
} // namespace pote::mascot
