#include "textio/text_files.h"

#include "core/file_io.h"
#include "core/section_store.h"
#include "core/text_convert.h"
#include "core/text_lines.h"
#include "textio/text_messages.h"

#include <QSaveFile>

namespace pote {

Result<TextFileRead> read_file_bytes(const QString& path, qint64 maxBytes) {
    RegularFileReadOptions options;
    options.maxBytes = maxBytes;
    Result<RegularFileRead> read = readRegularFile(path, options);
    if (!read) return read.error();
    if (!read->bytes) return Error::refused(textmsg::textFileTooLarge());
    return TextFileRead{std::move(*read->bytes)};
}

Result<TextFileRead> read_text_file(const QString& path, Utf8Choice& utf8) {
    Result<TextFileRead> result = read_file_bytes(path);
    if (!result) return result;
    const QByteArrayView text = before_first_nul(result->text);
    if (std::optional<QByteArray> converted = utf8.convert(text)) {
        result->text = read_as_lines(std::move(*converted));
        result->fromUtf8 = true;
    } else {
        result->text = read_as_lines(std::move(result->text));
    }
    return result;
}

Result<TextFileRead> text_for_pane(const QString& path, int tabWidth, Utf8Choice& utf8) {
    Result<TextFileRead> result = read_text_file(path, utf8);
    if (result) result->text = expand_tabs(result->text, tabWidth);
    return result;
}

Result<void> write_text_file(const QString& path, std::initializer_list<QByteArrayView> pieces) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Error::io(path, file.errorString());
    for (const QByteArrayView piece : pieces) {
        if (!writeFully(file, piece.data(), piece.size())) {
            Error error = writeError(file);
            file.cancelWriting();
            return error;
        }
    }
    return commitSaveFile(file);
}

bool crlf_breaks_only(QByteArrayView text) {
    const qsizetype tail = text.lastIndexOf('\n') + 1;
    const QByteArrayView last = text.sliced(tail);
    return is_in_line_form(text.first(tail)) && !last.contains('\r') && !last.contains('\0');
}

bool opens_plain_text_mode(const SectionStore& store) {
    return store.count() == 1 && store.documentPath.isEmpty();
}

void enter_plain_text_mode(SectionStore& store, const QString& textPath,
                           const QString& displayName) {
    store.displayName = displayName;
    store.enterPlainTextMode(textPath);
    store.setModified(false);
}

} // namespace pote
