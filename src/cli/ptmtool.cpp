// ptmtool: the .ptm document file on the command line.
//
//   ptmtool info FILE
//   ptmtool dump FILE [--password PW]
//   ptmtool pack JSON OUT [--seed N]
//   ptmtool cat FILE N [--password PW] [--raw]
//
// Exit codes: 0 done; 1 usage error, unreadable input or failed write; 2 the file was refused
// (the reader's own message is shown); 3 the document is protected and the password was
// missing or wrong.

#include "cli/document_json.h"
#include "core/document_file.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

using namespace pote;
using docfile::ReadResult;

enum Exit { kOk = 0, kUsage = 1, kRefused = 2, kPassword = 3 };

constexpr const char* kUsageText = "usage: ptmtool info FILE\n"
                                   "       ptmtool dump FILE [--password PW]\n"
                                   "       ptmtool pack JSON OUT [--seed N]\n"
                                   "       ptmtool cat FILE N [--password PW] [--raw]\n";

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
    QString error;
};

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

// Reads a document, turning every outcome but success into the exit code and message.
std::optional<ReadResult> readOrReport(const QString& path,
                                       const std::optional<QByteArray>& password, int& exitCode) {
    ReadResult result = docfile::readDocument(path, [&password](const QByteArray& candidate) {
        return password && *password == candidate;
    });
    switch (result.status) {
    case ReadResult::Status::Ok:
        return result;
    case ReadResult::Status::Cancelled:
        exitCode = password ? fail(kPassword, QStringLiteral("wrong password for %1").arg(path))
                            : fail(kPassword, QStringLiteral("%1 is protected by a password; "
                                                             "give it with --password")
                                                  .arg(path));
        return std::nullopt;
    case ReadResult::Status::Refused:
        exitCode = fail(kRefused, path + QStringLiteral(": ") + result.message.trimmed());
        return std::nullopt;
    case ReadResult::Status::IoError:
        break;
    }
    exitCode = fail(kUsage, QStringLiteral("cannot read %1: %2").arg(path, result.message));
    return std::nullopt;
}

int info(const Arguments& a) {
    if (a.positional.size() != 1 || a.password || a.seed || a.raw)
        return usage(QStringLiteral("info takes one FILE and no options"));
    const QString& path = a.positional[0];
    const docfile::InspectResult r = docfile::inspectDocument(path);
    if (r.status == ReadResult::Status::Refused)
        return fail(kRefused, path + QStringLiteral(": ") + r.message.trimmed());
    if (r.status != ReadResult::Status::Ok)
        return fail(kUsage, QStringLiteral("cannot read %1: %2").arg(path, r.message));
    writeOut(QStringLiteral("version: %1\nsections: %2\ngroups: %3\npassword: %4\n"
                            "text bytes: %5\nheader reserved: %6\n")
                 .arg(r.info.version)
                 .arg(r.info.sectionCount)
                 .arg(r.info.groupCount)
                 .arg(r.info.hasPassword ? QStringLiteral("yes") : QStringLiteral("no"))
                 .arg(r.info.totalTextBytes)
                 .arg(r.info.headerReserved)
                 .toUtf8());
    return kOk;
}

int dump(const Arguments& a) {
    if (a.positional.size() != 1 || a.seed || a.raw)
        return usage(QStringLiteral("dump takes one FILE and --password only"));
    int exitCode = kOk;
    const std::optional<ReadResult> r = readOrReport(a.positional[0], a.password, exitCode);
    if (!r) return exitCode;
    writeOut(cli::documentToJson(r->content, r->version).toJson(QJsonDocument::Indented));
    return kOk;
}

int pack(const Arguments& a) {
    if (a.positional.size() != 2 || a.password || a.raw)
        return usage(QStringLiteral("pack takes JSON and OUT, and --seed only"));
    const QString& jsonPath = a.positional[0];
    const QString& outPath = a.positional[1];
    QFile in(jsonPath);
    if (!in.open(QIODevice::ReadOnly))
        return fail(kUsage, QStringLiteral("cannot read %1: %2").arg(jsonPath, in.errorString()));
    QJsonParseError parseError;
    const QByteArray bytes = in.readAll();
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        if (const std::optional<QJsonValue> lone = cli::loneJsonValue(bytes))
            return fail(kUsage, QStringLiteral("%1: the document must be a JSON object, not %2")
                                    .arg(jsonPath, cli::jsonKind(*lone)));
        return fail(kUsage, QStringLiteral("%1 is not JSON: %2 at offset %3")
                                .arg(jsonPath, parseError.errorString())
                                .arg(parseError.offset));
    }
    SectionStore store;
    if (const QString problem = cli::documentFromJson(json, store); !problem.isEmpty())
        return fail(kUsage, QStringLiteral("%1: %2").arg(jsonPath, problem));
    std::optional<QRandomGenerator> seeded;
    if (a.seed) seeded.emplace(*a.seed);
    const docfile::WriteResult written =
        docfile::writeDocument(outPath, store, seeded ? &*seeded : nullptr);
    if (!written.ok)
        return fail(kUsage, QStringLiteral("cannot write %1: %2").arg(outPath, written.error));
    return kOk;
}

int cat(const Arguments& a) {
    if (a.positional.size() != 2 || a.seed)
        return usage(QStringLiteral("cat takes FILE and N, and --password and --raw only"));
    bool ok = false;
    const int number = a.positional[1].toInt(&ok);
    if (!ok || number < 1) return usage(QStringLiteral("N must be a section number from 1"));
    int exitCode = kOk;
    const std::optional<ReadResult> r = readOrReport(a.positional[0], a.password, exitCode);
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

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (args.isEmpty()) return usage(QStringLiteral("no command"));
    const QString command = args.takeFirst();
    const Arguments a = parseArguments(args);
    if (!a.error.isEmpty()) return usage(a.error);
    int code;
    if (command == QLatin1String("info"))
        code = info(a);
    else if (command == QLatin1String("dump"))
        code = dump(a);
    else if (command == QLatin1String("pack"))
        code = pack(a);
    else if (command == QLatin1String("cat"))
        code = cat(a);
    else
        return usage(QStringLiteral("unknown command %1").arg(command));
    std::fflush(stdout);
    if (std::ferror(stdout)) return fail(kUsage, QStringLiteral("cannot write to standard output"));
    return code;
}
