#pragma once
// A zip archive written as every file of the program is: through QSaveFile, so that nothing
// appears under the name until the whole archive is there, and a failed or stopped write leaves
// the old file as it was. Entries whose bytes are made only when the archive is written keep
// the memory of a large archive to one entry at a time.

#include "core/result.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <zip.h>

#include <atomic>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pote::epub {

// An entry's bytes as the zip holds them: compressed already, or for libzip to compress.
struct EntryBytes {
    QByteArray data;
    bool deflated = false; // data is raw deflate of `size` bytes whose CRC-32 is `crc`
    quint32 crc = 0;
    qint64 size = 0;
};

// Compresses bytes as libzip does by default (raw deflate at the best level), so that the work
// can be done on other threads ahead of the zip, which then only copies it.
EntryBytes deflated(QByteArrayView bytes);

class SavedZip {
public:
    // Makes the bytes of an entry; nullopt stops the archive (the work was cancelled).
    using Maker = std::function<std::optional<EntryBytes>()>;

    // Nothing is written before close(). mtime is the time every entry carries.
    SavedZip(const QString& path, std::time_t mtime);
    ~SavedZip();
    SavedZip(const SavedZip&) = delete;
    SavedZip& operator=(const SavedZip&) = delete;

    // Adds an entry that libzip stores uncompressed (`store`) or deflates. False when libzip
    // refused it; error() says why.
    bool add(const char* name, QByteArray bytes, bool store = false);
    // An entry made when the archive is written (deflated by the maker, or by libzip).
    bool addMade(const char* name, Maker make);

    // Writes the archive and puts it in place of the old file. False when that failed or a maker
    // stopped it; nothing changed under the path then, and error() says why.
    bool close();
    // Why the last step failed: Cancelled when a maker gave nullopt; else about the archive's
    // file, in the disk's own words (a full disk in the cat's), or libzip's.
    Error error() const;

private:
    struct Made;
    static zip_int64_t writeCallback(void* self, void* data, zip_uint64_t length,
                                     zip_source_cmd_t command);
    static zip_int64_t madeCallback(void* made, void* data, zip_uint64_t length,
                                    zip_source_cmd_t command);
    zip_int64_t write(void* data, zip_uint64_t length, zip_source_cmd_t command);
    // compression: ZIP_CM_STORE, ZIP_CM_DEFLATE, or ZIP_CM_DEFAULT for what the maker says.
    bool addEntry(const char* name, Maker make, zip_int32_t compression);
    void takeLibzipError();

    QSaveFile m_file;
    std::time_t m_mtime;
    zip_error_t m_sourceError;
    zip_t* m_zip = nullptr;
    std::vector<std::unique_ptr<Made>> m_made;
    QString m_error;                  // libzip's summary
    std::optional<Error> m_fileError; // set by the file side, preferred over libzip's summary
    bool m_stopped = false;
};

} // namespace pote::epub
