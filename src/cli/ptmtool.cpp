// ptmtool: the .ptm document file on the command line.
//
//   ptmtool info FILE
//   ptmtool dump FILE [--password PW]
//   ptmtool pack JSON OUT [--seed N]
//   ptmtool cat FILE N [--password PW] [--raw]
//   ptmtool txm-export FILE OUT [--password PW]
//   ptmtool txm-import TXM OUT [--utf8] [--seed N]
//   ptmtool folder-export FILE DIR [--password PW] [--overwrite]
//   ptmtool count FILE [--password PW] [--json]
//   ptmtool pages FILE [--format genkou|a4-40x30|COLSxLINES] [--password PW]
//   ptmtool grep PATTERN FILE... [-i] [--password PW]
//   ptmtool pdf FILE OUT [--format genkou|a4-40x30|COLSxLINES] [--section N] [--font FACE]
//               [--password PW]
//   ptmtool epub FILE OUT [--password PW] [--horizontal] [--title T] [--author A]
//                [--author-sort READING] [--identifier ID] [--cover IMAGE | --no-cover]
//   ptmtool lint FILE [--json] [--rules LIST] [--length N] [--password PW]
//   ptmtool --help | --version
//
// Exit codes: 0 done; 1 usage error, unreadable input or failed write; 2 the file was refused
// (the reader's own message is shown); 3 the document is protected and the password was
// missing or wrong. grep, like grep: 0 something found, 1 nothing found, 2 usage error,
// unreadable or refused file, 3 password. lint likewise: 0 no finding, 1 findings.

#include "app/document_names.h"
#include "cli/document_json.h"
#include "cli/lint_command.h"
#include "core/cp932.h"
#include "core/document_file.h"
#include "core/export_target.h"
#include "core/file_io.h"
#include "core/program_info.h"
#include "editing/character_count.h"
#include "editing/document_search.h"
#include "editing/streamed_search.h"
#include "epub/epub_writer.h"
#include "settings/settings_store.h"
#ifdef POTE_PTMTOOL_PDF
#include "cli/offscreen_gui.h"
#include "epub/ui/generated_cover.h"
#include "vertical/ui/font_file.h"
#endif
#include "textio/free_space.h"
#include "textio/linked_text.h"
#include "textio/text_folder.h"
#include "textio/text_messages.h"
#include "vertical/layout.h"
#ifdef POTE_PTMTOOL_PDF
#include "cli/pdf_export.h"
#endif

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

using namespace pote;
using docfile::DocumentRead;

enum Exit { kOk = 0, kUsage = 1, kRefused = 2, kPassword = 3 };
enum GrepExit { kFound = 0, kNothingFound = 1, kGrepTrouble = 2 };

constexpr const char* kUsageText =
    "usage: ptmtool info FILE\n"
    "       ptmtool dump FILE [--password PW]\n"
    "       ptmtool pack JSON OUT [--seed N]\n"
    "       ptmtool cat FILE N [--password PW] [--raw]\n"
    "       ptmtool txm-export FILE OUT [--password PW]\n"
    "       ptmtool txm-import TXM OUT [--utf8] [--seed N]\n"
    "       ptmtool folder-export FILE DIR [--password PW] [--overwrite]\n"
    "       ptmtool count FILE [--password PW] [--json]\n"
    "         one line per section and a total line: number,\n"
    "         characters, without spaces, lines, bytes,\n"
    "         manuscript pages, name (tab-separated)\n"
    "       ptmtool pages FILE [--format genkou|a4-40x30|COLSxLINES] [--password PW]\n"
    "         one line per section: number, pages, name (tab-separated);\n"
    "         then total and pages\n"
    "       ptmtool grep PATTERN FILE... [-i] [--password PW]\n"
    "         prints FILE:SECTION:LINE:TEXT for each line with a hit\n"
    "       ptmtool pdf FILE OUT [--format genkou|a4-40x30|COLSxLINES] [--section N]\n"
    "                   [--font FACE] [--password PW]\n"
    "       ptmtool epub FILE OUT [--password PW] [--horizontal] [--title T] [--author A]\n"
    "                    [--author-sort READING] [--identifier ID] [--cover IMAGE | --no-cover]\n"
    "       ptmtool lint FILE [--json] [--rules LIST] [--length N] [--password PW]\n"
    "         prints SECTION:LINE:COLUMN: RULE: MESSAGE for each slip found\n"
    "       ptmtool --help | --version\n";

constexpr const char* kHelpText =
    "\n"
    "Shows and builds poteedit documents (.ptm) and moves them to and from text.\n"
    "\n"
    "  info           the figures of a document: version, sections, groups, password\n"
    "  dump           the whole document as JSON (names and texts as bytes and as text)\n"
    "  pack           a document from such JSON (--seed makes the password filler repeatable)\n"
    "  cat            the text of section N (1-based); --raw gives its CP932 bytes\n"
    "  txm-export     the document as one linked text: each section as a line\n"
    "                 \"*section \" + name, then its text; warns about texts that hold\n"
    "                 \"*section\" (they would split there when read back)\n"
    "  txm-import     a linked text split back into a document (at most 500 sections);\n"
    "                 --utf8 converts a UTF-8 file to CP932 (what CP932 cannot hold becomes ?)\n"
    "  folder-export  every section as DIR/name.txt (an unnamed section takes the document's\n"
    "                 name and its number); DIR is created when missing; existing files are\n"
    "                 replaced only with --overwrite, otherwise skipped and listed\n"
    "  count          characters, lines, bytes and manuscript pages per section and in all\n"
    "  pages          the pages of each section set vertically (line rules, ruby, 縦中横),\n"
    "                 each section from a new page: --format genkou (20 x 20 manuscript\n"
    "                 paper, the default), a4-40x30 (the contest format), or COLSxLINES\n"
    "                 (characters per line x lines per page, 10 to 60 each)\n"
    "  grep           the lines of sections that hold PATTERN (-i: letter case ignored)\n"
    "  pdf            the document in vertical writing as a PDF file: on 20 x 20 manuscript\n"
    "                 paper (genkou, the default), in the 40 x 30 contest format on A4\n"
    "                 landscape (a4-40x30) or COLSxLINES characters by lines (10-60 each);\n"
    "                 every section from a new page, or only section N; in FACE (IPA明朝\n"
    "                 by default); needs no display\n"
    "  epub           the document as an EPUB 3 book: vertical, right to left, one content\n"
    "                 document per section (and per ［＃改ページ］), ruby and emphasis dots\n"
    "                 from the notation; --horizontal for a left-to-right book; the title is\n"
    "                 the file's name unless --title gives one. The book's identifier is\n"
    "                 --identifier ID, or the one the window remembers for the document,\n"
    "                 or else one derived from the document's path, so that a book made\n"
    "                 again is the same book; --author-sort gives the reading stores sort\n"
    "                 the author by; --cover a JPEG or PNG image for the cover, which\n"
    "                 otherwise shows the title and the author set vertically (--no-cover:\n"
    "                 none);\n"
    "                 SOURCE_DATE_EPOCH, when set, is its date. Characters that are no text\n"
    "                 (stray bytes, control codes) are left out, each place warned about\n"
    "  lint           the revision check: the same word written two ways (variants), three\n"
    "                 sentences ending alike (endings), doubled particles (particles), long\n"
    "                 sentences (long; --length N characters, 100 by default), brackets left\n"
    "                 open or never opened (brackets), ！ beside ! (width), ら抜き言葉 (ra),\n"
    "                 a paragraph without its 。 (period); --rules picks some, comma-separated.\n"
    "                 Lines and columns count from 1, columns in bytes; --json gives each\n"
    "                 finding with its offset, length, text and suggestion. Words are read with\n"
    "                 MeCab; without its dictionary the other rules still run\n"
    "\n"
    "Exit codes: 0 done; 1 usage error, unreadable input or failed write; 2 the input was\n"
    "refused (its message is shown); 3 a protected document without its right --password.\n"
    "grep, like grep: 0 something found, 1 nothing found, 2 trouble, 3 password.\n"
    "lint: 0 nothing found, 1 findings, 2 trouble, 3 password.\n";

void writeOut(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

int fail(int code, const QString& message) {
    const QByteArray line = "ptmtool: " + message.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    return code;
}

int usage(const QString& problem) {
    fail(kUsage, problem);
    std::fputs(kUsageText, stderr);
    return kUsage;
}

// The command line after the command: positional arguments and the options ptmtool knows.
struct Arguments {
    QStringList positional;
    std::optional<QByteArray> password;
    std::optional<quint32> seed;
    bool raw = false;
    bool overwrite = false;
    bool utf8 = false;
    bool json = false;
    bool ignoreCase = false;
    bool horizontal = false;
    std::optional<QString> title;
    std::optional<QString> author;
    std::optional<QString> identifier;
    std::optional<QString> authorSort;
    std::optional<QString> cover;
    bool noCover = false;
    std::optional<QString> format;
    std::optional<QString> section;
    std::optional<QString> font;
    QString error;
};

// The epub command's options that take a text.
std::optional<QString>* bookOption(Arguments& a, const QString& arg) {
    if (arg == QLatin1String("--title")) return &a.title;
    if (arg == QLatin1String("--author")) return &a.author;
    if (arg == QLatin1String("--identifier")) return &a.identifier;
    if (arg == QLatin1String("--author-sort")) return &a.authorSort;
    if (arg == QLatin1String("--cover")) return &a.cover;
    return nullptr;
}

// Whether any of the epub command's options was given.
bool hasBookOptions(const Arguments& a) {
    return a.horizontal || a.title || a.author || a.identifier || a.authorSort || a.cover ||
           a.noCover;
}

Arguments parseArguments(const QStringList& args) {
    Arguments a;
    for (qsizetype i = 0; i < args.size() && a.error.isEmpty(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--password")) {
            if (hasValue)
                a.password = args[++i].toLocal8Bit();
            else
                a.error = QStringLiteral("--password needs a value");
        } else if (arg == QLatin1String("--seed")) {
            bool ok = false;
            const quint32 seed = hasValue ? args[++i].toUInt(&ok) : 0;
            if (ok)
                a.seed = seed;
            else
                a.error = QStringLiteral("--seed needs a whole number from 0 to 4294967295");
        } else if (arg == QLatin1String("--raw")) {
            a.raw = true;
        } else if (arg == QLatin1String("--overwrite")) {
            a.overwrite = true;
        } else if (arg == QLatin1String("--utf8")) {
            a.utf8 = true;
        } else if (arg == QLatin1String("--json")) {
            a.json = true;
        } else if (arg == QLatin1String("--format")) {
            if (hasValue)
                a.format = args[++i];
            else
                a.error = QStringLiteral("--format needs a value");
        } else if (arg == QLatin1String("-i")) {
            a.ignoreCase = true;
        } else if (arg == QLatin1String("--section") || arg == QLatin1String("--font")) {
            std::optional<QString>& target = arg == QLatin1String("--section") ? a.section : a.font;
            if (hasValue)
                target = args[++i];
            else
                a.error = QStringLiteral("%1 needs a value").arg(arg);
        } else if (arg == QLatin1String("--horizontal")) {
            a.horizontal = true;
        } else if (arg == QLatin1String("--no-cover")) {
            a.noCover = true;
        } else if (std::optional<QString>* value = bookOption(a, arg)) {
            if (hasValue && !args[i + 1].isEmpty())
                *value = args[++i];
            else
                a.error = QStringLiteral("%1 needs a value").arg(arg);
        } else if (arg.startsWith(QLatin1String("--"))) {
            a.error = QStringLiteral("unknown option %1").arg(arg);
        } else if (arg.isEmpty()) {
            a.error = QStringLiteral("an empty argument where a file or number belongs");
        } else {
            a.positional.append(arg);
        }
    }
    return a;
}

// The exit code and message of a document that could not be read.
// 0, or the exit code after refusing an output that would replace the command's own input.
int refuseInputAsTarget(const QString& in, const QString& out) {
    if (const Result<void> target = exportTargetCheck(out, in); !target)
        return fail(kUsage, out + QStringLiteral(": ") + target.error().text);
    return kOk;
}

int readFailure(const QString& path, const Error& error, bool passwordGiven) {
    switch (error.kind) {
    case Error::Kind::Cancelled:
        return passwordGiven ? fail(kPassword, QStringLiteral("wrong password for %1").arg(path))
                             : fail(kPassword, QStringLiteral("%1 is protected by a password; "
                                                              "give it with --password")
                                                   .arg(path));
    case Error::Kind::Refused:
        return fail(kRefused, path + QStringLiteral(": ") + error.text.trimmed());
    case Error::Kind::Io:
    case Error::Kind::NoSpace:
        break;
    }
    return fail(kUsage, QStringLiteral("cannot read %1: %2").arg(path, error.text));
}

// The exit code and message of a write to target that failed: an error about a file says which
// could not be written, any other (a shortage of space) is its whole message after the target.
int writeFailure(const QString& target, const Error& error) {
    if (error.path.isEmpty()) return fail(kUsage, target + QStringLiteral(": ") + error.text);
    return fail(kUsage, QStringLiteral("cannot write %1: %2").arg(target, error.text));
}

// Reads a document, turning every outcome but success into the exit code and message.
std::optional<DocumentRead> readOrReport(const QString& path,
                                         const std::optional<QByteArray>& password, int& exitCode) {
    Result<DocumentRead> read =
        docfile::readDocument(path, [&password](const QByteArray& candidate) {
            return password && *password == candidate;
        });
    if (read) return std::move(read).value();
    exitCode = readFailure(path, read.error(), password.has_value());
    return std::nullopt;
}

// Options a command does not take.
bool hasOtherOptions(const Arguments& a, bool password, bool seed, bool raw, bool overwrite,
                     bool utf8) {
    return (a.password && !password) || (a.seed && !seed) || (a.raw && !raw) ||
           (a.overwrite && !overwrite) || (a.utf8 && !utf8);
}

int info(const Arguments& a) {
    if (a.positional.size() != 1 || a.password || a.seed || a.raw || a.overwrite || a.utf8)
        return usage(QStringLiteral("info takes one FILE and no options"));
    const QString& path = a.positional[0];
    const Result<docfile::DocumentInfo> info = docfile::inspectDocument(path);
    if (!info) return readFailure(path, info.error(), false);
    writeOut(QStringLiteral("version: %1\nsections: %2\ngroups: %3\npassword: %4\n"
                            "text bytes: %5\nheader reserved: %6\n")
                 .arg(info->version)
                 .arg(info->sectionCount)
                 .arg(info->groupCount)
                 .arg(info->hasPassword ? QStringLiteral("yes") : QStringLiteral("no"))
                 .arg(info->totalTextBytes)
                 .arg(info->headerReserved)
                 .toUtf8());
    return kOk;
}

int dump(const Arguments& a) {
    if (a.positional.size() != 1 || hasOtherOptions(a, true, false, false, false, false))
        return usage(QStringLiteral("dump takes one FILE and --password only"));
    int exitCode = kOk;
    const std::optional<DocumentRead> r = readOrReport(a.positional[0], a.password, exitCode);
    if (!r) return exitCode;
    writeOut(cli::documentToJson(r->content, r->version).toJson(QJsonDocument::Indented));
    return kOk;
}

int pack(const Arguments& a) {
    if (a.positional.size() != 2 || hasOtherOptions(a, false, true, false, false, false))
        return usage(QStringLiteral("pack takes JSON and OUT, and --seed only"));
    const QString& jsonPath = a.positional[0];
    const QString& outPath = a.positional[1];
    if (const int refused = refuseInputAsTarget(jsonPath, outPath)) return refused;
    const Result<RegularFileRead> read = readRegularFile(jsonPath);
    if (!read)
        return fail(kUsage, QStringLiteral("cannot read %1: %2").arg(jsonPath, read.error().text));
    QJsonParseError parseError;
    const QByteArray& bytes = *read->bytes;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        if (const std::optional<QJsonValue> lone = cli::loneJsonValue(bytes))
            return fail(kUsage, QStringLiteral("%1: the document must be a JSON object, not %2")
                                    .arg(jsonPath, cli::jsonKind(*lone)));
        return fail(kUsage, QStringLiteral("%1 is not JSON: %2 at offset %3")
                                .arg(jsonPath, parseError.errorString())
                                .arg(parseError.offset));
    }
    Document document;
    if (const QString problem = cli::documentFromJson(json, document); !problem.isEmpty())
        return fail(kUsage, QStringLiteral("%1: %2").arg(jsonPath, problem));
    std::optional<QRandomGenerator> seeded;
    if (a.seed) seeded.emplace(*a.seed);
    const Result<void> written =
        docfile::writeDocument(outPath, document, seeded ? &*seeded : nullptr);
    if (!written) return writeFailure(outPath, written.error());
    return kOk;
}

int cat(const Arguments& a) {
    if (a.positional.size() != 2 || hasOtherOptions(a, true, false, true, false, false))
        return usage(QStringLiteral("cat takes FILE and N, and --password and --raw only"));
    bool ok = false;
    const int number = a.positional[1].toInt(&ok);
    if (!ok || number < 1) return usage(QStringLiteral("N must be a section number from 1"));
    int exitCode = kOk;
    const std::optional<DocumentRead> r = readOrReport(a.positional[0], a.password, exitCode);
    if (!r) return exitCode;
    const auto& sections = r->content.sections;
    if (number > static_cast<int>(sections.size()))
        return fail(kUsage, QStringLiteral("%1 has %2 sections, no section %3")
                                .arg(a.positional[0])
                                .arg(sections.size())
                                .arg(number));
    const QByteArray& text = sections[static_cast<size_t>(number - 1)].section.text;
    writeOut(a.raw ? text : cli::readableText(text).toUtf8());
    return kOk;
}

// A document read from path, or the exit code of its failure.
std::optional<Document> documentOrReport(const QString& path,
                                         const std::optional<QByteArray>& password, int& exitCode) {
    std::optional<DocumentRead> r = readOrReport(path, password, exitCode);
    if (!r) return std::nullopt;
    std::optional<Document> document(std::in_place);
    document->replace(std::move(r->content));
    return document;
}

QString sectionNumbers(const std::vector<int>& positions) {
    QStringList numbers;
    for (int pos : positions)
        numbers.append(QString::number(pos + 1));
    return numbers.join(QStringLiteral(", "));
}

int txmExport(const Arguments& a) {
    if (a.positional.size() != 2 || hasOtherOptions(a, true, false, false, false, false))
        return usage(QStringLiteral("txm-export takes FILE and OUT, and --password only"));
    if (const int refused = refuseInputAsTarget(a.positional[0], a.positional[1])) return refused;
    int exitCode = kOk;
    const std::optional<Document> document =
        documentOrReport(a.positional[0], a.password, exitCode);
    if (!document) return exitCode;
    const QString& out = a.positional[1];
    if (const std::vector<int> marked = sections_holding_mark(*document); !marked.empty())
        fail(kOk, QStringLiteral("warning: sections %1 hold \"*section\"; read back, they split "
                                 "there")
                      .arg(sectionNumbers(marked)));
    if (const std::vector<int> cut = sections_holding_nul(*document); !cut.empty())
        fail(kOk, QStringLiteral("warning: sections %1 hold a NUL byte; read back, the file ends "
                                 "at the first and every later section is lost")
                      .arg(sectionNumbers(cut)));
    if (const Result<void> written = linked_text_write(out, *document); !written)
        return writeFailure(out, written.error());
    return kOk;
}

int txmImport(const Arguments& a) {
    if (a.positional.size() != 2 || hasOtherOptions(a, false, true, false, false, true))
        return usage(QStringLiteral("txm-import takes TXM and OUT, and --utf8 and --seed only"));
    const QString& in = a.positional[0];
    const QString& out = a.positional[1];
    if (const int refused = refuseInputAsTarget(in, out)) return refused;
    bool looksUtf8 = false;
    Utf8Choice utf8([&] {
        looksUtf8 = true;
        return a.utf8;
    });
    Result<LinkedTextRead> read = linked_text_read(in, utf8);
    if (looksUtf8 && !a.utf8)
        fail(kOk, QStringLiteral("warning: %1 looks like UTF-8 and was read as CP932 bytes; "
                                 "--utf8 converts it")
                      .arg(in));
    if (utf8.unmappable() > 0)
        fail(kOk, QStringLiteral("warning: %1 characters have no CP932 code and became ?")
                      .arg(utf8.unmappable()));
    if (!read) return readFailure(in, read.error(), false);
    Document document;
    document.replace(std::move(read->content));
    std::optional<QRandomGenerator> seeded;
    if (a.seed) seeded.emplace(*a.seed);
    const Result<void> written = docfile::writeDocument(out, document, seeded ? &*seeded : nullptr);
    if (!written) return writeFailure(out, written.error());
    return kOk;
}

int folderExport(const Arguments& a) {
    if (a.positional.size() != 2 || hasOtherOptions(a, true, false, false, true, false))
        return usage(QStringLiteral(
            "folder-export takes FILE and DIR, and --password and --overwrite only"));
    const QString& in = a.positional[0];
    const QString& dir = a.positional[1];
    int exitCode = kOk;
    const std::optional<Document> document = documentOrReport(in, a.password, exitCode);
    if (!document) return exitCode;
    if (!QDir().mkpath(dir))
        return fail(kUsage, QStringLiteral("cannot create folder %1").arg(dir));
    const FolderSavePlan plan =
        plan_folder_save(dir, *document, base_name(QFileInfo(in).absoluteFilePath()));
    if (const Result<void> target = folderTargetCheck(plan, in); !target)
        return fail(kUsage, dir + QStringLiteral(": ") + target.error().text);
    if (const Result<void> space = free_space_check(dir, plan.bytesNeeded, SpaceForm::Total);
        !space)
        return writeFailure(dir, space.error());
    const FolderSaveResult saved = save_sections_to_folder(plan, *document, [&a](const QString&) {
        return a.overwrite ? OverwriteAnswer::All : OverwriteAnswer::No;
    });
    for (const QString& name : saved.skipped)
        writeOut(QStringLiteral("skipped (exists): %1\n").arg(name).toUtf8());
    if (!saved.ok())
        return fail(kUsage, QStringLiteral("cannot write %1: %2 (%3 files written before it)")
                                .arg(saved.result.error().path, saved.result.error().text)
                                .arg(saved.written));
    return kOk;
}

QJsonObject countObject(const CharacterCount& c) {
    return {{"characters", c.characters},
            {"non_space", c.nonSpace},
            {"lines", c.lines},
            {"bytes", c.bytes},
            {"manuscript_rows", c.manuscriptRows},
            {"manuscript_pages", c.manuscriptPages}};
}

QByteArray countLine(const QString& label, const CharacterCount& c, const QString& name) {
    return QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\n")
        .arg(label)
        .arg(c.characters)
        .arg(c.nonSpace)
        .arg(c.lines)
        .arg(c.bytes)
        .arg(c.manuscriptPages)
        .arg(name)
        .toUtf8();
}

int count(const Arguments& a) {
    if (a.positional.size() != 1 || hasOtherOptions(a, true, false, false, false, false))
        return usage(QStringLiteral("count takes one FILE, and --password and --json only"));
    int exitCode = kOk;
    const std::optional<DocumentRead> r = readOrReport(a.positional[0], a.password, exitCode);
    if (!r) return exitCode;
    CharacterCount total;
    QJsonArray sections;
    QByteArray lines;
    int number = 0;
    for (const DocumentContent::Entry& entry : r->content.sections) {
        const CharacterCount c = count_characters(entry.section.text);
        total += c;
        const QString name = cli::readableText(entry.section.name);
        QJsonObject row = countObject(c);
        row.insert("section", ++number);
        row.insert("name", name);
        sections.append(row);
        lines += countLine(QString::number(number), c, name);
    }
    if (a.json) {
        const QJsonObject doc{{"sections", sections}, {"total", countObject(total)}};
        writeOut(QJsonDocument(doc).toJson(QJsonDocument::Indented));
    } else {
        writeOut(lines + countLine(QStringLiteral("total"), total, QString()));
    }
    return kOk;
}

// The --format of pages and pdf; nullopt, with the usage shown, when it names no format.
std::optional<vertical::PageFormat> pageFormatOrUsage(const Arguments& a) {
    const std::optional<vertical::PageFormat> format =
        vertical::PageFormat::fromName(a.format.value_or(QStringLiteral("genkou")));
    if (!format)
        usage(QStringLiteral("--format is genkou, a4-40x30 or COLSxLINES (10 to 60 each), not %1")
                  .arg(*a.format));
    return format;
}

int pages(const Arguments& a) {
    if (a.positional.size() != 1 || hasOtherOptions(a, true, false, false, false, false))
        return usage(QStringLiteral("pages takes one FILE, and --format and --password only"));
    const std::optional<vertical::PageFormat> format = pageFormatOrUsage(a);
    if (!format) return kUsage;
    int exitCode = kOk;
    const std::optional<DocumentRead> r = readOrReport(a.positional[0], a.password, exitCode);
    if (!r) return exitCode;
    QByteArray out;
    qint64 total = 0;
    int number = 0;
    for (const DocumentContent::Entry& entry : r->content.sections) {
        const int count = vertical::count_pages(entry.section.text, entry.section.name, *format);
        total += count;
        out += QStringLiteral("%1\t%2\t%3\n")
                   .arg(++number)
                   .arg(count)
                   .arg(cli::readableText(entry.section.name))
                   .toUtf8();
    }
    writeOut(out + "total\t" + QByteArray::number(total) + '\n');
    return kOk;
}

int grep(const Arguments& a) {
    if (a.positional.size() < 2 || a.json || hasOtherOptions(a, true, false, false, false, false)) {
        usage(QStringLiteral("grep takes PATTERN and at least one FILE, and -i and --password "
                             "only"));
        return kGrepTrouble;
    }
    bool lossy = false;
    const QByteArray pattern = cp932::encode(a.positional[0], &lossy);
    if (lossy || pattern.isEmpty())
        return fail(kGrepTrouble, lossy ? QStringLiteral("the pattern holds characters that "
                                                         "CP932 cannot hold")
                                        : QStringLiteral("the pattern is empty"));
    const TextSearcher searcher(pattern,
                                a.ignoreCase ? CaseMode::Insensitive : CaseMode::Sensitive);
    bool found = false;
    int trouble = kOk;
    for (qsizetype f = 1; f < a.positional.size(); ++f) {
        const QString& path = a.positional[f];
        // A section at a time, a window at a time: memory stays small whatever the size of
        // the document.
        Result<std::unique_ptr<docfile::SectionTexts>> opened =
            docfile::SectionTexts::open(path, [&a](const QByteArray& candidate) {
                return a.password && *a.password == candidate;
            });
        if (!opened) {
            // Later files are still searched; the worst trouble decides the exit code.
            const int exitCode = readFailure(path, opened.error(), a.password.has_value());
            trouble = std::max(trouble, exitCode == kPassword ? int(kPassword) : int(kGrepTrouble));
            continue;
        }
        docfile::SectionTexts& texts = **opened;
        const QByteArray prefix = path.toUtf8() + ':';
        std::optional<Error> readError;
        for (int s = 0; s < texts.count() && !readError; ++s) {
            qsizetype shownLine = -1;
            const auto read = [&](qint64 pos, qint64 n, char* out) {
                if (Result<void> r = texts.read(s, pos, n, out); !r) readError = r.error();
                return !readError;
            };
            search_streamed(texts.textLength(s), read, searcher, s,
                            [&](const SectionHit& hit, QByteArrayView line) {
                                found = true;
                                if (hit.line == shownLine) return true;
                                shownLine = hit.line;
                                writeOut(prefix + QByteArray::number(s + 1) + ':' +
                                         QByteArray::number(hit.line + 1) + ':' +
                                         cli::readableText(line).toUtf8() + '\n');
                                return true;
                            },
                            {docfile::SectionTexts::kMaxPiece, 4 * 1024 * 1024});
        }
        if (readError) {
            readFailure(path, *readError, a.password.has_value());
            trouble = std::max(trouble, int(kGrepTrouble));
        }
    }
    if (trouble != kOk) return trouble;
    return found ? kFound : kNothingFound;
}

int pdf(const Arguments& a) {
    if (a.positional.size() != 2 || hasOtherOptions(a, true, false, false, false, false))
        return usage(QStringLiteral("pdf takes FILE and OUT, and --format, --section, --font and "
                                    "--password only"));
    const std::optional<vertical::PageFormat> format = pageFormatOrUsage(a);
    if (!format) return kUsage;
    int section = 0; // 0: all
    if (a.section) {
        bool ok = false;
        section = a.section->toInt(&ok);
        if (!ok || section < 1) return usage(QStringLiteral("--section must be a number from 1"));
    }
#ifdef POTE_PTMTOOL_PDF
    if (const int refused = refuseInputAsTarget(a.positional[0], a.positional[1])) return refused;
    int exitCode = kOk;
    const std::optional<Document> document =
        documentOrReport(a.positional[0], a.password, exitCode);
    if (!document) return exitCode;
    if (section > document->count())
        return fail(
            kUsage,
            QStringLiteral("%1 has %2 sections").arg(a.positional[0]).arg(document->count()));
    cli::PdfRequest request;
    for (int i = 0; i < document->count(); ++i)
        if (section == 0 || section == i + 1)
            request.sections.append({document->section(i).text, document->section(i).name});
    request.format = *format;
    request.face = a.font.value_or(QStringLiteral("IPA明朝"));
    request.faceNamed = a.font.has_value();
    request.title = QFileInfo(a.positional[0]).completeBaseName();
    request.out = a.positional[1];
    std::vector<int> withNul;
    for (int i = 0; i < document->count(); ++i)
        if ((section == 0 || section == i + 1) && document->section(i).text.contains('\0'))
            withNul.push_back(i);
    if (!withNul.empty())
        fail(kOk, QStringLiteral("warning: sections %1 hold a NUL byte; it prints as a blank cell")
                      .arg(sectionNumbers(withNul)));
    const Result<int> written = cli::writeVerticalPdf(request);
    if (!written)
        return fail(written.error().kind == Error::Kind::Refused ? kRefused : kUsage,
                    written.error().text);
    return kOk;
#else
    return fail(kUsage, QStringLiteral("this ptmtool was built without the drawing libraries"));
#endif
}

// When the book was made: SOURCE_DATE_EPOCH when set (a build that makes books repeatably),
// otherwise now.
QDateTime bookDate() {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    return ok ? QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC) : QDateTime::currentDateTimeUtc();
}

// The identifier given; else the one the window remembers for the document (read from the
// settings, never written: a script that makes books changes nothing of the user's); else one
// derived from the document's path, so that a book made again is the same file.
QString bookIdentifierFor(const QString& document, const std::optional<QString>& given) {
    if (given) return epub::cleanIdentifier(*given);
    Settings settings;
    const QString settingsFile = userSettingsPath();
    if (QFileInfo::exists(settingsFile)) {
        (void)settings_load(settingsFile, settings);
        const QString remembered = rememberedIdentifier(settings.epub.books, document);
        if (!remembered.isEmpty()) return remembered;
    }
    return epub::bookIdentifier(document);
}

// The cover drawn from the title and the author; none, with a warning, where it cannot be.
epub::BookCover drawnCover(const epub::BookOptions& options) {
#ifdef POTE_PTMTOOL_PDF
    cli::needGui();
    Result<epub::BookCover> drawn =
        epub::generatedCover(options.title, options.author, vertical::defaultVerticalFace());
    if (drawn) return std::move(*drawn);
    fail(kOk, QStringLiteral("warning: the book has no cover: ") + drawn.error().text);
#else
    Q_UNUSED(options);
    fail(kOk, QStringLiteral("warning: the book has no cover: this ptmtool was built without the "
                             "drawing libraries (give --cover FILE)"));
#endif
    return {};
}

int epubExport(const Arguments& a) {
    if (a.positional.size() != 2 || hasOtherOptions(a, true, false, false, false, false))
        return usage(QStringLiteral("epub takes FILE and OUT, and --password, --horizontal, "
                                    "--title, --author, --author-sort, --identifier, --cover "
                                    "and --no-cover only"));
    if (a.cover && a.noCover)
        return usage(QStringLiteral("--cover and --no-cover exclude each other"));
    const QString& in = a.positional[0];
    const QString& out = a.positional[1];
    if (const int refused = refuseInputAsTarget(in, out)) return refused;
    int exitCode = kOk;
    const std::optional<Document> document = documentOrReport(in, a.password, exitCode);
    if (!document) return exitCode;
    epub::Book book;
    book.sections = epub::sectionsOf(*document);
    book.options.title = epub::bookTitle(a.title.value_or(QString()), base_name(in));
    book.options.author = a.author.value_or(QString());
    book.options.authorSort = a.authorSort.value_or(QString());
    book.options.horizontal = a.horizontal;
    book.options.identifier = bookIdentifierFor(in, a.identifier);
    if (book.options.identifier.isEmpty())
        return usage(QStringLiteral("--identifier needs a value that is not only blanks"));
    book.options.modified = bookDate();
    if (a.cover) {
        Result<epub::BookCover> image = epub::readCoverImage(*a.cover);
        if (!image)
            return fail(image.error().kind == Error::Kind::Refused ? kRefused : kUsage,
                        *a.cover + QStringLiteral(": ") + image.error().text);
        book.options.cover = std::move(*image);
    } else if (!a.noCover) {
        book.options.cover = drawnCover(book.options);
    }
    const Result<epub::EpubWrite> written = epub::write_epub(out, book);
    if (!written) {
        // An error that names no file is about the book itself: too many pages.
        if (written.error().path.isEmpty())
            return fail(kRefused, in + QStringLiteral(": ") + written.error().text);
        return writeFailure(out, written.error());
    }
    for (const epub::DroppedPlace& p : written->dropped)
        fail(kOk, p.line == 0 ? QStringLiteral("warning: section %1: characters of its name that "
                                               "are no text were left out")
                                    .arg(p.section + 1)
                              : QStringLiteral("warning: section %1, line %2: characters that "
                                               "are no text were left out")
                                    .arg(p.section + 1)
                                    .arg(p.line));
    if (written->droppedPlaces > written->dropped.size())
        fail(kOk, QStringLiteral("warning: and %1 more places like these")
                      .arg(written->droppedPlaces - written->dropped.size()));
    for (const epub::DroppedPlace& p : written->userDefined)
        fail(kOk,
             (p.line == 0 ? QStringLiteral("warning: section %1, its name: ").arg(p.section + 1)
                          : QStringLiteral("warning: section %1, line %2: ")
                                .arg(p.section + 1)
                                .arg(p.line)) +
                 QStringLiteral("user-defined characters, which readers show as blanks"));
    if (written->userDefinedPlaces > written->userDefined.size())
        fail(kOk, QStringLiteral("warning: and %1 more places with user-defined characters")
                      .arg(written->userDefinedPlaces - written->userDefined.size()));
    return kOk;
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (args.isEmpty()) return usage(QStringLiteral("no command"));
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        writeOut(QByteArray(kUsageText) + kHelpText);
        return kOk;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("--version")) {
        writeOut("ptmtool " + programVersion().toUtf8() + '\n');
        return kOk;
    }
    // lint has options of its own and grep's exit codes.
    if (command == QLatin1String("lint")) return cli::lint(args);
    const Arguments a = parseArguments(args);
    // grep keeps 1 for "nothing found", as grep does.
    const auto refuse = [&command](const QString& problem) {
        const int code = usage(problem);
        return command == QLatin1String("grep") ? int(kGrepTrouble) : code;
    };
    if (!a.error.isEmpty()) return refuse(a.error);
    if (a.json && command != QLatin1String("count"))
        return refuse(QStringLiteral("--json belongs to count"));
    if (a.ignoreCase && command != QLatin1String("grep"))
        return refuse(QStringLiteral("-i belongs to grep"));
    if (hasBookOptions(a) && command != QLatin1String("epub"))
        return refuse(QStringLiteral("--horizontal, --title, --author, --identifier and the other "
                                     "book options belong to epub"));
    if (a.format && command != QLatin1String("pages") && command != QLatin1String("pdf"))
        return refuse(QStringLiteral("--format belongs to pages and pdf"));
    if ((a.section || a.font) && command != QLatin1String("pdf"))
        return refuse(QStringLiteral("--section and --font belong to pdf"));
    int code;
    if (command == QLatin1String("info"))
        code = info(a);
    else if (command == QLatin1String("dump"))
        code = dump(a);
    else if (command == QLatin1String("pack"))
        code = pack(a);
    else if (command == QLatin1String("cat"))
        code = cat(a);
    else if (command == QLatin1String("txm-export"))
        code = txmExport(a);
    else if (command == QLatin1String("txm-import"))
        code = txmImport(a);
    else if (command == QLatin1String("folder-export"))
        code = folderExport(a);
    else if (command == QLatin1String("count"))
        code = count(a);
    else if (command == QLatin1String("pages"))
        code = pages(a);
    else if (command == QLatin1String("grep"))
        code = grep(a);
    else if (command == QLatin1String("pdf"))
        code = pdf(a);
    else if (command == QLatin1String("epub"))
        code = epubExport(a);
    else
        return usage(QStringLiteral("unknown command %1").arg(command));
    std::fflush(stdout);
    if (std::ferror(stdout)) return fail(kUsage, QStringLiteral("cannot write to standard output"));
    return code;
}
