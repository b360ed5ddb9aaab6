// The cat window's two costs. Opening a 24-megapixel camera photo as the room (read, decode at
// the scale that still fills 480 × 480, stretch) against Qt reading the same file at full size;
// and one frame with the fur effect against a plain copy of the 480 × 480 room it starts from.

#include "support/bench_support.h"

#include "mascot/cat_room.h"
#include "mascot/sprite_sheet.h"
#include "mascot/ui/room_picture.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstring>
#include <stdexcept>

namespace {

using namespace pote::mascot;

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

// 6000 × 4000, quality 90: smooth light over a room with fine grain, so that the entropy
// decoder has as much to do as with a real photo (flat colours would decode unrealistically
// fast).
const QString& cameraPhoto() {
    static const QString path = [] {
        QImage photo(6000, 4000, QImage::Format_RGB32);
        QRandomGenerator random(24);
        for (int y = 0; y < photo.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x) {
                const int grain = int(random.bounded(24u)) - 12;
                const int r = 120 + x / 60 - y / 80 + grain;
                const int g = 100 + y / 50 - x / 120 + grain;
                const int b = 80 + (x + y) / 100 + grain;
                line[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
            }
        }
        const QString p = workDir().filePath(QStringLiteral("カメラの写真.jpg"));
        if (!photo.save(p, "JPEG", 90))
            throw std::runtime_error("cannot write the benchmark photo");
        return p;
    }();
    return path;
}

void BM_QImageFullSize_Baseline(benchmark::State& state) {
    for (auto _ : state) {
        QImage image(cameraPhoto());
        if (image.isNull()) throw std::runtime_error("Qt cannot read the photo");
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_OpenRoomPhoto(benchmark::State& state) {
    for (auto _ : state) {
        const RoomPictureLoad room = loadRoomPicture(cameraPhoto());
        if (!room.loaded()) throw std::runtime_error("the photo was refused");
        benchmark::DoNotOptimize(room.picture.rgb.constData());
    }
}

// Frame 1 of the program's own sheet when the build has drawn it, else a cat-sized square of
// body colour with an outline.
RgbImage catCell() {
    const SheetLoadResult loaded = mascot_load_sheet(QStringLiteral(POTE_BUILT_SHEET));
    RgbImage cell = RgbImage::filled(48, 48, kTransparentColour);
    if (loaded.ok()) {
        const CellRect r = loaded.sheet.cellRect(1);
        const auto* sheet = reinterpret_cast<const std::uint8_t*>(loaded.sheet.rgb.constData());
        for (int y = 0; y < r.height; ++y)
            std::memcpy(cell.line(y), sheet + (qsizetype(r.y + y) * loaded.sheet.width() + r.x) * 3,
                        size_t(r.width) * 3);
        return cell;
    }
    for (int y = 8; y < 46; ++y)
        for (int x = 6; x < 42; ++x)
            cell.setPixel(x, y, y == 8 || x == 6 || x == 41 ? Rgb{40, 30, 30} : kBodyColour);
    return cell;
}

RgbImage room() {
    RgbImage picture = RgbImage::filled(kRoomSide, kRoomSide, {});
    for (int y = 0; y < kRoomSide; ++y)
        for (int x = 0; x < kRoomSide; ++x)
            picture.setPixel(x, y, {std::uint8_t(x / 2), std::uint8_t(y / 2), 90});
    return picture;
}

void BM_RoomCopy_Baseline(benchmark::State& state) {
    const RgbImage source = room();
    QByteArray target(source.rgb.size(), Qt::Uninitialized);
    for (auto _ : state) {
        std::memcpy(target.data(), source.rgb.constData(), size_t(source.rgb.size()));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

// Argument: 1 with the fur effect, 0 without.
void BM_CatFrame(benchmark::State& state) {
    const RgbImage source = room();
    const RgbImage cell = catCell();
    const bool fur = state.range(0) != 0;
    CatFrameComposer composer;
    RandomFurNoise noise(5);
    for (auto _ : state) {
        benchmark::DoNotOptimize(composer.compose(source, cell, fur, noise).rgb.constData());
        benchmark::ClobberMemory();
    }
    state.SetLabel(fur ? "fur on" : "fur off");
}

BENCHMARK(BM_QImageFullSize_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenRoomPhoto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoomCopy_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CatFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return pote::bench::runBenchmarks(argc, argv, true, [](const pote::bench::RatioReporter& r) {
        r.printRatio("24-megapixel photo opened as the room vs Qt reading it at full size",
                     "BM_OpenRoomPhoto", "BM_QImageFullSize_Baseline", 0.5);
        r.printRatio("fur-effect frame vs a plain copy of the 480 x 480 room", "BM_CatFrame/1",
                     "BM_RoomCopy_Baseline", 10);
        r.printRatio("frame without fur vs a plain copy of the room", "BM_CatFrame/0",
                     "BM_RoomCopy_Baseline");
    });
}
