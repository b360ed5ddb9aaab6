#include "epub/saved_zip.h"

#include "core/file_io.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>

#include <zlib.h>

namespace pote::epub {

namespace {

// A zip entry's time is a date and a time of day with no zone, and libzip writes a time_t as
// the local time of the machine: the same book made in Tokyo and in London would differ. The
// fields are given as UTC instead. (libzip keeps them as a local time_t until it writes them,
// which gives the same fields back.)
bool setUtcTime(zip_t* zip, zip_uint64_t index, std::time_t time) {
    std::tm t{};
    if (!gmtime_r(&time, &t) || t.tm_year < 80 || t.tm_year > 207) {
        t = std::tm{};
        t.tm_year = 80; // the first day a zip can name: 1980-01-01 00:00
        t.tm_mday = 1;
    }
    const auto dosTime =
        static_cast<zip_uint16_t>((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2));
    const auto dosDate =
        static_cast<zip_uint16_t>(((t.tm_year - 80) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday);
    return zip_file_set_dostime(zip, index, dosTime, dosDate, 0) == 0;
}

} // namespace

EntryBytes deflated(QByteArrayView bytes) {
    z_stream z{};
    // What libzip's own deflate uses: no zlib header, the best level, the most memory. Should
    // zlib fail, or the bytes not fit one call, libzip compresses them itself (nothing may
    // throw through its C frames).
    if (bytes.size() > std::numeric_limits<uInt>::max() / 2 ||
        deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, MAX_MEM_LEVEL,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return EntryBytes{bytes.toByteArray()};
    EntryBytes out;
    out.data.resize(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(bytes.size()))));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data.data());
    z.avail_out = static_cast<uInt>(out.data.size());
    const int finished = deflate(&z, Z_FINISH);
    out.data.truncate(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    if (finished != Z_STREAM_END) return EntryBytes{bytes.toByteArray()};
    out.deflated = true;
    out.size = bytes.size();
    out.crc = static_cast<quint32>(crc32_z(crc32_z(0, nullptr, 0),
                                           reinterpret_cast<const Bytef*>(bytes.data()),
                                           static_cast<z_size_t>(bytes.size())));
    return out;
}

// An entry made on demand: made when libzip first asks for its size or its bytes, released
// when libzip has read it (what it is is kept: libzip asks again after reading).
struct SavedZip::Made {
    SavedZip* owner = nullptr;
    Maker make;
    std::optional<EntryBytes> bytes;
    std::optional<EntryBytes> shape; // bytes without their data, once made
    qsizetype compressedSize = 0;
    zip_uint64_t at = 0;
    zip_error_t error;

    bool ensure() {
        if (bytes) return true;
        bytes = make();
        if (!bytes) {
            owner->m_stopped = true;
            zip_error_set(&error, ZIP_ER_CANCELLED, 0);
            return false;
        }
        shape = EntryBytes{{}, bytes->deflated, bytes->crc, bytes->size};
        if (!bytes->deflated) shape->size = bytes->data.size();
        compressedSize = bytes->data.size();
        return true;
    }

    void stat(zip_stat_t* st) const {
        zip_stat_init(st);
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        st->size = static_cast<zip_uint64_t>(shape->size);
        st->mtime = owner->m_mtime;
        if (shape->deflated) {
            st->valid |= ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC |
                         ZIP_STAT_ENCRYPTION_METHOD;
            st->comp_size = static_cast<zip_uint64_t>(compressedSize);
            st->comp_method = ZIP_CM_DEFLATE;
            st->crc = shape->crc;
            st->encryption_method = ZIP_EM_NONE;
        }
    }
};

SavedZip::SavedZip(const QString& path, std::time_t mtime) : m_file(path), m_mtime(mtime) {
    zip_error_init(&m_sourceError);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_function_create(&SavedZip::writeCallback, this, &error);
    if (source) {
        m_zip = zip_open_from_source(source, ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (!m_zip) zip_source_free(source);
    }
    if (!m_zip) m_error = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
}

SavedZip::~SavedZip() {
    if (m_zip) zip_discard(m_zip);
    for (const auto& made : m_made)
        zip_error_fini(&made->error);
    zip_error_fini(&m_sourceError);
}

bool SavedZip::add(const char* name, QByteArray bytes, bool store) {
    // libzip reads the bytes at close; they live in the entry until then.
    return addEntry(
        name,
        [bytes = std::move(bytes)]() -> std::optional<EntryBytes> { return EntryBytes{bytes}; },
        store ? ZIP_CM_STORE : ZIP_CM_DEFLATE);
}

bool SavedZip::addMade(const char* name, Maker make) {
    return addEntry(name, std::move(make), ZIP_CM_DEFAULT);
}

bool SavedZip::addEntry(const char* name, Maker make, zip_int32_t compression) {
    if (!m_zip) return false;
    auto made = std::make_unique<Made>();
    made->owner = this;
    made->make = std::move(make);
    zip_error_init(&made->error);
    zip_source_t* source = zip_source_function_create(&SavedZip::madeCallback, made.get(), nullptr);
    m_made.push_back(std::move(made));
    if (!source) {
        takeLibzipError();
        return false;
    }
    const zip_int64_t index = zip_file_add(m_zip, name, source, 0);
    if (index < 0) {
        zip_source_free(source);
        takeLibzipError();
        return false;
    }
    const auto i = static_cast<zip_uint64_t>(index);
    // Left at the default, libzip keeps what the maker deflated and deflates what it did not.
    if ((compression != ZIP_CM_DEFAULT &&
         zip_set_file_compression(m_zip, i, compression, 0) != 0) ||
        !setUtcTime(m_zip, i, m_mtime)) {
        takeLibzipError();
        return false;
    }
    return true;
}

bool SavedZip::close() {
    if (!m_zip) return false;
    if (zip_close(m_zip) == 0) {
        m_zip = nullptr;
        return true;
    }
    takeLibzipError();
    zip_discard(m_zip); // rolls the file back: QSaveFile drops what was written
    m_zip = nullptr;
    return false;
}

void SavedZip::takeLibzipError() {
    m_error = QString::fromUtf8(zip_error_strerror(zip_get_error(m_zip)));
}

Error SavedZip::error() const {
    if (m_stopped) return Error::cancelled();
    if (m_fileError) return *m_fileError;
    return Error::io(m_file.fileName(), m_error);
}

zip_int64_t SavedZip::writeCallback(void* self, void* data, zip_uint64_t length,
                                    zip_source_cmd_t command) {
    return static_cast<SavedZip*>(self)->write(data, length, command);
}

// The archive's own file, as libzip sees it: a file that does not exist yet (so libzip starts
// an empty archive) and that takes the archive's bytes when it is written.
zip_int64_t SavedZip::write(void* data, zip_uint64_t length, zip_source_cmd_t command) {
    const auto fileFailed = [this] {
        m_fileError = writeError(m_file);
        zip_error_set(&m_sourceError, ZIP_ER_WRITE, EIO);
        return zip_int64_t(-1);
    };
    switch (command) {
    case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_WRITABLE;
    case ZIP_SOURCE_STAT:
        zip_error_set(&m_sourceError, ZIP_ER_READ, ENOENT);
        return -1;
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&m_sourceError, data, length);
    case ZIP_SOURCE_OPEN:
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
    case ZIP_SOURCE_REMOVE:
        return 0;
    case ZIP_SOURCE_READ:
    case ZIP_SOURCE_TELL:
        return 0;
    case ZIP_SOURCE_SEEK:
        return 0;
    case ZIP_SOURCE_BEGIN_WRITE:
        // Unbuffered, so that a full disk fails the write that meets it, in the disk's words,
        // rather than a later flush with none.
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fileFailed();
        return 0;
    case ZIP_SOURCE_WRITE:
        if (!writeFully(m_file, static_cast<const char*>(data), static_cast<qint64>(length)))
            return fileFailed();
        return static_cast<zip_int64_t>(length);
    case ZIP_SOURCE_TELL_WRITE:
        return m_file.pos();
    case ZIP_SOURCE_SEEK_WRITE: {
        auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, length, &m_sourceError);
        if (!args) return -1;
        qint64 target = args->offset;
        if (args->whence == SEEK_CUR) target += m_file.pos();
        if (args->whence == SEEK_END) target += m_file.size();
        if (target < 0 || !m_file.seek(target)) return fileFailed();
        return 0;
    }
    case ZIP_SOURCE_COMMIT_WRITE:
        if (Result<void> committed = commitSaveFile(m_file); !committed) {
            m_fileError = committed.error();
            zip_error_set(&m_sourceError, ZIP_ER_WRITE, EIO);
            return -1;
        }
        return 0;
    case ZIP_SOURCE_ROLLBACK_WRITE:
        m_file.cancelWriting();
        if (m_file.isOpen()) m_file.commit(); // closes, and writes nothing after a cancel
        return 0;
    default:
        zip_error_set(&m_sourceError, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

zip_int64_t SavedZip::madeCallback(void* made, void* data, zip_uint64_t length,
                                   zip_source_cmd_t command) {
    Made& m = *static_cast<Made*>(made);
    switch (command) {
    case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_READABLE;
    case ZIP_SOURCE_STAT:
        if (!m.shape && !m.ensure()) return -1;
        m.stat(static_cast<zip_stat_t*>(data));
        return sizeof(zip_stat_t);
    case ZIP_SOURCE_OPEN:
        if (!m.ensure()) return -1;
        m.at = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const zip_uint64_t left = static_cast<zip_uint64_t>(m.bytes->data.size()) - m.at;
        const zip_uint64_t n = qMin(left, length);
        std::memcpy(data, m.bytes->data.constData() + m.at, n);
        m.at += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
        m.bytes.reset();
        return 0;
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&m.error, data, length);
    case ZIP_SOURCE_FREE:
        return 0;
    default:
        zip_error_set(&m.error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

} // namespace pote::epub
