#include "epub/book_cover.h"

#include "core/file_io.h"
#include "epub/epub_messages.h"

namespace pote::epub {

BookCover::Format coverFormatOf(QByteArrayView bytes) {
    if (bytes.startsWith(QByteArrayView("\xFF\xD8\xFF", 3))) return BookCover::Format::Jpeg;
    if (bytes.startsWith(QByteArrayView("\x89PNG\r\n\x1A\n", 8))) return BookCover::Format::Png;
    return BookCover::Format::None;
}

Result<BookCover> readCoverImage(const QString& path) {
    RegularFileReadOptions options;
    options.maxBytes = kMaxCoverBytes;
    Result<RegularFileRead> read = readRegularFile(path, options);
    if (!read) return read.error();
    if (!read->bytes) return Error::refused(epubmsg::coverTooLarge(kMaxCoverBytes), path);
    BookCover cover{coverFormatOf(*read->bytes), std::move(*read->bytes)};
    if (cover.format == BookCover::Format::None)
        return Error::refused(epubmsg::notACoverImage(), path);
    return cover;
}

QString coverImagePath(BookCover::Format format) {
    return format == BookCover::Format::Png ? QStringLiteral("images/cover.png")
                                            : QStringLiteral("images/cover.jpg");
}

QByteArray coverMediaType(BookCover::Format format) {
    return format == BookCover::Format::Png ? "image/png" : "image/jpeg";
}

} // namespace pote::epub
