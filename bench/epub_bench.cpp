// A book of a 500-section, 100 MB document (prose with ruby, emphasis and page breaks), against
// the work it cannot avoid: the same text, already UTF-8, written to one file and zipped with
// the same library at the same compression, the zip then synced to the disk as the book is
// (goal <= 1.5; wall time, both wait for the disk). The book adds the conversion from CP932,
// the notation's markup, escaping, 500+ content documents and the package files.

#include "core/cp932.h"
#include "epub/epub_writer.h"
#include "support/bench_support.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <stdexcept>

namespace {

using namespace pote;

constexpr int kSections = 500;
constexpr qsizetype kDocumentBytes = 100 * 1024 * 1024;

const epub::Book& book() {
    static const epub::Book b = [] {
        QByteArray text = bench::japaneseProse(kDocumentBytes / kSections);
        text = bench::withMarkers(text, cp932::encode(u"｜窓辺《まどべ》の《《猫》》。"), 200);
        text = bench::withMarkers(text, cp932::encode(u"［＃改ページ］\r\n"), 2);
        epub::Book out;
        for (int pos = 0; pos < kSections; ++pos)
            // Each text its own buffer, as in a document read from a file.
            out.sections.push_back({cp932::encode(QStringLiteral("第%1章 猫の話").arg(pos + 1)),
                                    QByteArray(text.constData(), text.size())});
        out.options.title = QStringLiteral("猫の話");
        out.options.identifier = epub::bookIdentifier(QStringLiteral("/tmp/猫の話.ptm"));
        out.options.modified = QDateTime::currentDateTimeUtc();
        return out;
    }();
    return b;
}

// The whole document as UTF-8, as the baseline writes it.
const QByteArray& utf8Text() {
    static const QByteArray bytes = [] {
        QByteArray all;
        for (const epub::BookSection& s : book().sections)
            all += cp932::decode(s.text).toUtf8();
        return all;
    }();
    return bytes;
}

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

void writePlain(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create the plain file");
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + at,
                                  static_cast<size_t>(qMin<qsizetype>(1 << 20, bytes.size() - at)));
        if (n <= 0) throw std::runtime_error("plain write failed");
        at += n;
    }
    ::close(fd);
}

void zipFile(const QByteArray& zipPath, const QByteArray& filePath) {
    int error = 0;
    zip_t* zip = zip_open(zipPath.constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip) throw std::runtime_error("cannot open the zip");
    zip_source_t* source = zip_source_file(zip, filePath.constData(), 0, -1);
    const zip_int64_t index = source ? zip_file_add(zip, "text.txt", source, 0) : -1;
    if (index < 0 || zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_DEFLATE, 0) != 0 ||
        zip_close(zip) != 0)
        throw std::runtime_error("cannot zip the plain file");
    // The book reaches the disk before it replaces the old one (QSaveFile); so does the zip.
    const int fd = ::open(zipPath.constData(), O_RDONLY);
    if (fd < 0 || ::fdatasync(fd) != 0) throw std::runtime_error("cannot sync the zip");
    ::close(fd);
}

bench::PairedTimes& times() {
    static bench::PairedTimes t;
    return t;
}

void BM_EpubExport(benchmark::State& state) {
    const QString out = workDir().filePath(QStringLiteral("book.epub"));
    const QByteArray plain = QFile::encodeName(workDir().filePath(QStringLiteral("text.txt")));
    const QByteArray plainZip = QFile::encodeName(workDir().filePath(QStringLiteral("text.zip")));
    const QByteArray& text = utf8Text();
    times().run(
        state,
        [&] {
            const Result<epub::EpubWrite> written = epub::write_epub(out, book());
            if (!written)
                throw std::runtime_error("write_epub failed: " +
                                         written.error().text.toStdString());
        },
        [&] {
            writePlain(plain, text);
            zipFile(plainZip, plain);
        });
    state.SetBytesProcessed(state.iterations() * text.size());
}

BENCHMARK(BM_EpubExport)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    std::printf("document: %d sections, %lld bytes of UTF-8 text\n", kSections,
                static_cast<long long>(utf8Text().size()));
    return bench::runBenchmarks(argc, argv, false, [](const bench::RatioReporter&) {
        times().printRatio("EPUB export / UTF-8 text written and zipped", 1.5);
        std::printf("book: %lld bytes, zip of the text: %lld bytes\n",
                    static_cast<long long>(QFileInfo(workDir().filePath("book.epub")).size()),
                    static_cast<long long>(QFileInfo(workDir().filePath("text.zip")).size()));
    });
}
