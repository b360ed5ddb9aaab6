#include "mascot/ui/room_picture.h"

#include "core/file_io.h"
#include "mascot/jpeg_decoder.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

#include <cstring>

namespace pote::mascot {

namespace {

using Status = RoomPictureLoad::Status;

RoomPictureLoad failed(Status status, QString detail) {
    RoomPictureLoad result;
    result.status = status;
    result.detail = std::move(detail);
    return result;
}

RoomPictureLoad loaded(const RgbImage& full) {
    RoomPictureLoad result;
    result.status = Status::Loaded;
    result.picture = stretched(full, kRoomSide, kRoomSide);
    return result;
}

RoomPictureLoad loadJpegRoom(const QString& path) {
    // Decoded at the smallest scale that still fills the picture: a camera photo many times
    // quicker than at full size.
    JpegResult jpeg = loadJpeg(path, kRoomSide);
    switch (jpeg.status) {
    case JpegResult::Status::Ok:
        return loaded(jpeg.image);
    case JpegResult::Status::CannotRead:
        return failed(Status::CannotRead, jpeg.detail);
    case JpegResult::Status::Corrupt:
    case JpegResult::Status::Truncated:
        return failed(Status::Damaged, jpeg.detail);
    case JpegResult::Status::TooLarge:
        return failed(Status::TooLarge, jpeg.detail);
    case JpegResult::Status::UnsupportedColour:
        return failed(Status::UnsupportedColour, jpeg.detail);
    }
    return failed(Status::Damaged, jpeg.detail);
}

Status statusOf(const QImageReader& reader) {
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
    case QImageReader::DeviceError:
        return Status::CannotRead;
    default:
        return Status::Damaged;
    }
}

RoomPictureLoad loadQtRoom(const QString& path) {
    QFile file;
    if (Result<void> opened = openRegularFileForReading(file, path); !opened)
        return failed(Status::CannotRead, opened.error().text);
    // The format comes from the bytes: the type the name says only chose this reader.
    QImageReader reader(&file);
    const QSize size = reader.size(); // from the header, before any pixel is decoded
    if (!size.isValid()) return failed(statusOf(reader), reader.errorString());
    if (qint64(size.width()) * size.height() > kMaxPicturePixels)
        return failed(Status::TooLarge, QStringLiteral("%1×%2 pixels, at most %3 allowed")
                                            .arg(size.width())
                                            .arg(size.height())
                                            .arg(kMaxPicturePixels));
    // Qt's own cap is lower than ours; 4 bytes a pixel at our limit.
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);
    const QImage image = reader.read();
    if (image.isNull()) return failed(statusOf(reader), reader.errorString());
    return loaded(rgbImageFrom(image));
}

} // namespace

RoomPictureLoad loadRoomPicture(const QString& path) {
    switch (roomPictureType(path)) {
    case RoomPictureType::Jpeg:
        return loadJpegRoom(path);
    case RoomPictureType::Bitmap:
    case RoomPictureType::Png:
        return loadQtRoom(path);
    case RoomPictureType::Other:
        break;
    }
    return failed(Status::NotAPicture, QStringLiteral("not a picture type the room reads"));
}

QString roomPictureRefusal(RoomPictureLoad::Status status, const QString& path) {
    QString reason;
    switch (status) {
    case Status::Loaded:
    case Status::NotAPicture:
        return {};
    case Status::CannotRead:
        reason = QStringLiteral("お部屋の画像が読めないにゃ…。");
        break;
    case Status::Damaged:
        reason = QStringLiteral("この画像は壊れているか、途中で切れているにゃ…。");
        break;
    case Status::TooLarge:
        reason = QStringLiteral("この画像は大きすぎるにゃ！！1億画素までにしてほしいにゃん。");
        break;
    case Status::UnsupportedColour:
        reason = QStringLiteral("この画像の色の形式は、僕には読めないにゃ…。");
        break;
    }
    return reason + QStringLiteral("\r") + QDir::toNativeSeparators(path) +
           QStringLiteral("\rお部屋はそのままにしておくにゃん。");
}

RgbImage rgbImageFrom(const QImage& image) {
    RgbImage out;
    if (image.isNull()) return out;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    out.width = rgb.width();
    out.height = rgb.height();
    out.rgb.resize(out.stride() * out.height);
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.line(y), rgb.constScanLine(y), size_t(out.stride()));
    return out;
}

QImage toQImage(const RgbImage& image) {
    if (image.isNull()) return {};
    return QImage(reinterpret_cast<const uchar*>(image.rgb.constData()), image.width, image.height,
                  image.stride(), QImage::Format_RGB888)
        .copy();
}

} // namespace pote::mascot
