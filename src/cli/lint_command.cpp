#include "cli/lint_command.h"

#include "cli/document_json.h"
#include "core/document_file.h"
#include "revision/finding_places.h"
#include "revision/revision_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <optional>

namespace pote::cli {

namespace {

enum LintExit { kClean = 0, kFindings = 1, kTrouble = 2, kPassword = 3 };

void write(FILE* to, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

int trouble(const QString& message, int code = kTrouble) {
    write(stderr, "ptmtool: " + message.toUtf8() + '\n');
    return code;
}

int usage(const QString& problem) {
    return trouble(problem + QStringLiteral("\nusage: ptmtool lint DOC [--json] [--rules LIST] "
                                            "[--length N] [--password PW]"));
}

struct LintArguments {
    QString path;
    bool json = false;
    std::optional<QByteArray> password;
    revision::RevisionOptions options;
    QString error;
};

LintArguments parse(const QStringList& args) {
    LintArguments a;
    for (qsizetype i = 0; i < args.size() && a.error.isEmpty(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--json")) {
            a.json = true;
        } else if (arg == QLatin1String("--password") && hasValue) {
            a.password = args[++i].toLocal8Bit();
        } else if (arg == QLatin1String("--rules") && hasValue) {
            QString unknown;
            const int length = a.options.longSentence;
            const std::optional<revision::RevisionOptions> chosen =
                revision::optionsWithRules(args[++i], &unknown);
            if (!chosen) {
                QStringList ids;
                for (revision::Rule rule : revision::kAllRules)
                    ids.append(revision::ruleId(rule));
                a.error = QStringLiteral("unknown rule %1 (rules: %2)")
                              .arg(unknown, ids.join(QLatin1Char(',')));
            } else {
                a.options = *chosen;
                a.options.longSentence = length;
            }
        } else if (arg == QLatin1String("--length") && hasValue) {
            bool ok = false;
            const int length = args[++i].toInt(&ok);
            if (ok && length >= revision::kMinLongSentence && length <= revision::kMaxLongSentence)
                a.options.longSentence = length;
            else
                a.error = QStringLiteral("--length is a number of characters from %1 to %2")
                              .arg(revision::kMinLongSentence)
                              .arg(revision::kMaxLongSentence);
        } else if (arg.startsWith(QLatin1String("--"))) {
            a.error = hasValue || arg == QLatin1String("--json")
                          ? QStringLiteral("unknown option %1").arg(arg)
                          : QStringLiteral("%1 needs a value").arg(arg);
        } else if (a.path.isEmpty() && !arg.isEmpty()) {
            a.path = arg;
        } else {
            a.error = QStringLiteral("lint takes one DOC");
        }
    }
    if (a.error.isEmpty() && a.path.isEmpty()) a.error = QStringLiteral("lint takes one DOC");
    return a;
}

} // namespace

int lint(const QStringList& args) {
    const LintArguments a = parse(args);
    if (!a.error.isEmpty()) return usage(a.error);
    Result<docfile::DocumentRead> read =
        docfile::readDocument(a.path, [&a](const QByteArray& candidate) {
            return a.password && *a.password == candidate;
        });
    if (!read) {
        const Error& e = read.error();
        if (e.kind == Error::Kind::Cancelled)
            return trouble(a.password ? QStringLiteral("wrong password for %1").arg(a.path)
                                      : QStringLiteral("%1 is protected by a password; give it "
                                                       "with --password")
                                            .arg(a.path),
                           kPassword);
        if (e.kind == Error::Kind::Refused)
            return trouble(a.path + QStringLiteral(": ") + e.text.trimmed());
        return trouble(QStringLiteral("cannot read %1: %2").arg(a.path, e.text));
    }
    const DocumentContent& content = read->content;
    std::vector<revision::SectionToCheck> sections;
    for (size_t i = 0; i < content.sections.size(); ++i)
        sections.push_back({int(i), content.sections[i].section.text});
    const revision::RevisionOutcome outcome = revision::checkSections(sections, a.options);
    if (!outcome.skipped.isEmpty()) write(stderr, "ptmtool: " + outcome.skipped.toUtf8() + '\n');

    // Each section's findings are in order, so one pass over its text places them all.
    QByteArray lines;
    QJsonArray items;
    for (size_t from = 0; from < outcome.findings.size();) {
        const int section = outcome.findings[from].section;
        size_t to = from;
        std::vector<quint32> offsets;
        for (; to < outcome.findings.size() && outcome.findings[to].section == section; ++to)
            offsets.push_back(outcome.findings[to].offset);
        const QByteArray& text = content.sections[size_t(section)].section.text;
        const std::vector<revision::LineColumn> places = revision::lineColumns(text, offsets);
        for (size_t k = from; k < to; ++k) {
            const revision::Finding& f = outcome.findings[k];
            const revision::LineColumn& at = places[k - from];
            if (a.json) {
                items.append(QJsonObject{
                    {"section", section + 1},
                    {"name", readableText(content.sections[size_t(section)].section.name)},
                    {"line", at.line + 1},
                    {"column", at.column + 1},
                    {"offset", qint64(f.offset)},
                    {"length", qint64(f.length)},
                    {"rule", revision::ruleId(f.rule)},
                    {"text", readableText(QByteArrayView(text).sliced(f.offset, f.length))},
                    {"message", f.message},
                    {"suggestion", f.suggestion},
                });
            } else {
                lines += QStringLiteral("%1:%2:%3: %4: %5\n")
                             .arg(section + 1)
                             .arg(at.line + 1)
                             .arg(at.column + 1)
                             .arg(revision::ruleId(f.rule), f.message)
                             .toUtf8();
            }
        }
        from = to;
    }
    write(stdout, a.json ? QJsonDocument(items).toJson(QJsonDocument::Indented) : lines);
    return outcome.findings.empty() ? kClean : kFindings;
}

} // namespace pote::cli
