#pragma once
// Reading the room picture of the cat window: JPEG through our own decoder, BMP and PNG through
// Qt's readers, every refusal with its reason, and the result stretched to the picture's size.

#include "mascot/cat_room.h"

#include <QImage>
#include <QString>

namespace pote::mascot {

struct RoomPictureLoad {
    enum class Status {
        Loaded,
        NotAPicture,       // an extension the window does not read: the room stays
        CannotRead,        // missing or unreadable file
        Damaged,           // not a picture of its kind, or cut short
        TooLarge,          // more than kMaxPicturePixels
        UnsupportedColour, // a JPEG in a colour space we cannot show
    };
    Status status = Status::NotAPicture;
    RgbImage picture; // kRoomSide × kRoomSide, only when Loaded
    QString detail;   // the reader's reason, for the log
    bool loaded() const { return status == Status::Loaded; }
};

RoomPictureLoad loadRoomPicture(const QString& path);

// The cat's message for a picture that could not be used (empty for Loaded and NotAPicture).
QString roomPictureRefusal(RoomPictureLoad::Status status, const QString& path);

// Conversions between Qt's pictures and plain pixel buffers.
RgbImage rgbImageFrom(const QImage& image);
QImage toQImage(const RgbImage& image); // a deep copy

} // namespace pote::mascot
