#include "textio/text_folder.h"

#include "core/export_target.h"

#include "core/cp932.h"
#include "textio/text_files.h"
#include "textio/text_messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace pote {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Longest file name the folder save writes, in bytes of its on-disk form: the file systems here
// take 255, and QSaveFile replaces an existing file through a temporary named after it with
// seven bytes more (".XXXXXX"), so a longer name could be written once but never again.
constexpr qsizetype kMaxFileNameBytes = 255 - 7;
const QString kTextSuffix = QStringLiteral(".txt");

bool canBeFileName(const QString& base) {
    return !base.isEmpty() && base != u"." && base != u".." && !base.contains(QChar(u'\0'));
}

// The base as a file name takes it: a name, or the display name and number where a name cannot
// be one, with "/" as "／" so that no name leaves the folder. It may be too long.
QString fullBase(QByteArrayView name, const QString& displayName, int number) {
    QString base = cp932::decode(name);
    if (!canBeFileName(base)) base = displayName + QString::number(number);
    base.replace(u'/', u'／');
    return base;
}

bool fits(const QString& base, const QString& after) {
    return QFile::encodeName(base + after + kTextSuffix).size() <= kMaxFileNameBytes;
}

// The longest start of base, cut between two characters, that fits with after and ".txt".
QString cutToFit(const QString& base, const QString& after) {
    qsizetype room = kMaxFileNameBytes - QFile::encodeName(after + kTextSuffix).size();
    qsizetype end = 0;
    while (end < base.size()) {
        const qsizetype next = end + (base[end].isHighSurrogate() && end + 1 < base.size() ? 2 : 1);
        room -= QFile::encodeName(base.mid(end, next - end)).size();
        if (room < 0) break;
        end = next;
    }
    return base.left(end);
}

// Whether a file system entry sits at path, a dangling symbolic link included: writing there
// would go wherever the link points, so it is treated like any existing file.
bool entryExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

bool file_name_less(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            // Compare the numbers: without leading zeros, the longer is larger.
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && isDigit(a[ei]))
                ++ei;
            while (ej < b.size() && isDigit(b[ej]))
                ++ej;
            qsizetype si = i;
            qsizetype sj = j;
            while (si + 1 < ei && a[si] == u'0')
                ++si;
            while (sj + 1 < ej && b[sj] == u'0')
                ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj;
            const int c =
                QStringView(a).sliced(si, ei - si).compare(QStringView(b).sliced(sj, ej - sj));
            if (c != 0) return c < 0;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j)) return a.size() - i < b.size() - j;
    // Equal as numbers ("01" and "1"): any fixed order will do.
    return a < b;
}

Result<TextFolderListing> list_text_files(const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists()) return Error::io(folder, QStringLiteral("No such directory"));
    if (!QFileInfo(dir.absolutePath()).isReadable())
        return Error::io(folder, QStringLiteral("Permission denied"));
    TextFolderListing listing;
    // Name filters ignore letter case unless told otherwise: "A.TXT" is a text too.
    const QFileInfoList entries = dir.entryInfoList(
        {QStringLiteral("*.txt")},
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    QStringList names;
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() || !entry.isFile() || !entry.isReadable())
            listing.skipped.append(entry.fileName());
        else
            names.append(entry.fileName());
    }
    std::sort(names.begin(), names.end(), file_name_less);
    std::sort(listing.skipped.begin(), listing.skipped.end(), file_name_less);
    for (const QString& name : names)
        listing.files.append(dir.filePath(name));
    return listing;
}

Result<TextFolderRead> read_text_folder(const QString& folder, int sectionCount, Utf8Choice& utf8) {
    Result<TextFolderListing> listing = list_text_files(folder);
    if (!listing) return listing.error();
    TextFolderRead result;
    result.skipped = std::move(listing->skipped);
    const int found = static_cast<int>(listing->files.size());
    if (found == 0) return result;
    if (sectionCount + found > SectionStore::kMaxSections)
        return Error::refused(textmsg::tooManyTextFiles(found));
    // Every file is read before the document changes, so a failure leaves it as it was.
    result.texts.reserve(static_cast<size_t>(found));
    for (const QString& path : listing->files) {
        Result<TextFileRead> read = read_text_file(path, utf8);
        if (!read) {
            // Among many files, the one too large is named too.
            Error error = read.error();
            error.path = path;
            return error;
        }
        result.texts.push_back({path, {}, std::move(read->text), read->fromUtf8});
    }
    return result;
}

void append_texts(SectionStore& store, std::vector<ImportedText>&& texts) {
    for (ImportedText& imported : texts) {
        // A new section by adding, not by appending an empty one: R1 stays with the position.
        const quint32 r1 = store.reserved(store.count()).r1;
        const int pos = store.appendEmpty();
        if (pos < 0) break;
        store.reserved(pos).r1 = r1;
        Section& section = store.section(pos);
        section.name = std::move(imported.name);
        section.text = std::move(imported.text);
    }
    store.current = store.count() - 1;
    store.setModified(true);
    store.endPlainTextMode();
}

QString section_file_base(QByteArrayView name, const QString& displayName, int number) {
    return cutToFit(fullBase(name, displayName, number), {});
}

namespace {

// Each section's file base. Sections of one name share a file, as they always did; names cut
// to fit get a number where the cut would make them another name's.
std::vector<QString> fileBases(const Document& document, const QString& displayName) {
    std::vector<QString> bases;
    std::unordered_set<QString> taken;
    for (int pos = 0; pos < document.count(); ++pos) {
        bases.push_back(fullBase(document.section(pos).name, displayName, pos + 1));
        if (fits(bases.back(), {})) taken.insert(bases.back());
    }
    std::unordered_map<QString, QString> cutFor;
    for (QString& base : bases) {
        if (fits(base, {})) continue;
        auto [at, fresh] = cutFor.try_emplace(base);
        if (fresh) {
            QString cut = cutToFit(base, {});
            for (int n = 2; taken.count(cut) != 0; ++n) {
                const QString number = QStringLiteral("(%1)").arg(n);
                cut = cutToFit(base, number) + number;
            }
            taken.insert(cut);
            at->second = cut;
        }
        base = at->second;
    }
    return bases;
}

} // namespace

Result<void> folderTargetCheck(const FolderSavePlan& plan, const QString& document) {
    for (const FolderSaveItem& item : plan.items)
        if (Result<void> target = exportTargetCheck(item.path, document); !target) return target;
    return {};
}

FolderSavePlan plan_folder_save(const QString& folder, const Document& document,
                                const QString& displayName) {
    FolderSavePlan plan;
    plan.folder = folder;
    const QDir dir(folder);
    // Size at each path as the save goes on: two sections of the same name write one file twice.
    std::unordered_map<QString, qint64> sizeAt;
    qint64 running = 0;
    qint64 peak = 0;
    const std::vector<QString> bases = fileBases(document, displayName);
    for (int pos = 0; pos < document.count(); ++pos) {
        FolderSaveItem item;
        item.position = pos;
        item.fileName = bases[size_t(pos)] + kTextSuffix;
        item.path = dir.filePath(item.fileName);
        auto [at, fresh] = sizeAt.try_emplace(item.path, 0);
        if (fresh) {
            const QFileInfo existing(item.path);
            at->second = existing.isFile() ? existing.size() : 0;
        }
        const qint64 newSize = document.section(pos).text.size() + 2;
        peak = std::max(peak, running + newSize);
        running += newSize - at->second;
        at->second = newSize;
        plan.items.push_back(std::move(item));
    }
    plan.bytesNeeded = peak;
    return plan;
}

FolderSaveResult save_sections_to_folder(const FolderSavePlan& plan, const Document& document,
                                         const OverwriteQuestion& ask) {
    FolderSaveResult result;
    bool overwriteAll = false;
    for (const FolderSaveItem& item : plan.items) {
        if (!overwriteAll && entryExists(item.path)) {
            const OverwriteAnswer answer = ask ? ask(item.fileName) : OverwriteAnswer::No;
            if (answer == OverwriteAnswer::All)
                overwriteAll = true;
            else if (answer != OverwriteAnswer::Yes) {
                result.skipped.append(item.fileName);
                continue;
            }
        }
        result.result = write_text_file(item.path, {document.section(item.position).text, "\r\n"});
        if (!result.result) return result;
        ++result.written;
    }
    return result;
}

} // namespace pote
