#pragma once
// A book's cover: an image the writer chose (JPEG or PNG, as every reader shows them), or one
// drawn from the title and the author, as the zip holds it.

#include "core/result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace pote::epub {

struct BookCover {
    enum class Format { None, Jpeg, Png };
    Format format = Format::None;
    QByteArray bytes;
    bool operator==(const BookCover&) const = default;
};

// No image on a reader's shelf needs more; a larger file is most likely not a cover at all.
constexpr qint64 kMaxCoverBytes = qint64(40) << 20;

// What the bytes are by their signature: a JPEG, a PNG, or neither (None).
BookCover::Format coverFormatOf(QByteArrayView bytes);

// The image at path. A file that is no JPEG or PNG, or too large, is Refused with the cat's
// message naming it; one that cannot be read names path.
Result<BookCover> readCoverImage(const QString& path);

// Where the image lives inside the package folder, and its media type.
QString coverImagePath(BookCover::Format format);
QByteArray coverMediaType(BookCover::Format format);

} // namespace pote::epub
