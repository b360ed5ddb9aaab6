#include "epub/book.h"

#include "core/cp932.h"
#include "core/document.h"
#include "epub/content_document.h"
#include "epub/xml_text.h"
#include "sections/section_lists.h"

#include <QFileInfo>
#include <QUuid>

namespace pote::epub {

namespace {

// The namespace of the identifiers this program derives from file paths (a random UUID of its
// own, fixed once: changing it would give every book a new identity).
const QUuid kPathNamespace(QStringLiteral("{6b1e3c0a-5d2f-4c8e-9a47-2f0d8e6b7c31}"));

// What the table of contents calls an unnamed section: its number as the section lists show it.
QByteArray unnamedLabel(int position) {
    return xmlText(sectionEntryText(position, {}, EntrySpacing::Picker).trimmed());
}

} // namespace

std::vector<BookSection> sectionsOf(const Document& document) {
    std::vector<BookSection> sections;
    sections.reserve(static_cast<size_t>(document.count()));
    for (int pos = 0; pos < document.count(); ++pos)
        sections.push_back({document.section(pos).name, document.section(pos).text});
    return sections;
}

QString bookTitle(const QString& given, const QString& documentName) {
    return given.isEmpty() ? documentName : given;
}

QString bookIdentifier(const QString& path) {
    const QFileInfo file(path);
    QString key = file.canonicalFilePath();
    if (key.isEmpty()) key = file.absoluteFilePath();
    return QUuid::createUuidV5(kPathNamespace, key.toUtf8())
        .toString(QUuid::WithoutBraces)
        .prepend(QStringLiteral("urn:uuid:"));
}

QString newBookIdentifier() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).prepend(QStringLiteral("urn:uuid:"));
}

QString cleanIdentifier(const QString& typed) {
    const QString id = typed.simplified();
    const QUuid uuid(id);
    if (!uuid.isNull() && !id.contains(QLatin1Char(':')))
        return uuid.toString(QUuid::WithoutBraces).prepend(QStringLiteral("urn:uuid:"));
    return id;
}

bool isSameFile(const QString& a, const QString& b) {
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

BookPlan planBook(const Book& book, const std::atomic<bool>* cancel) {
    BookPlan plan;
    plan.title = xmlText(book.options.title);
    if (plan.title.isEmpty()) plan.title = xmlText(QStringLiteral("無題"));
    plan.sections.reserve(book.sections.size());
    for (size_t pos = 0; pos < book.sections.size(); ++pos) {
        if (cancel && cancel->load()) {
            plan.cancelled = true;
            return plan;
        }
        const BookSection& section = book.sections[pos];
        BookPlan::Section s;
        s.firstDocument = plan.documentCount;
        s.documents = contentDocumentCount(section.text);
        qsizetype dropped = 0;
        s.heading = xmlText(cp932::decode(section.name), &dropped);
        if (dropped > 0) plan.namesWithDrops.append(static_cast<int>(pos));
        if (s.heading.trimmed().isEmpty()) s.heading.clear(); // blanks are no heading
        s.label = s.heading.isEmpty() ? unnamedLabel(static_cast<int>(pos)) : s.heading;
        // Past the limit the count only has to show that it is past it.
        plan.documentCount = static_cast<int>(
            qMin<qint64>(qint64(plan.documentCount) + s.documents, kMaxContentDocuments + 1));
        plan.sections.push_back(std::move(s));
    }
    return plan;
}

QString contentDocumentPath(int index) {
    return QStringLiteral("text/p%1.xhtml").arg(index + 1, 5, 10, QLatin1Char('0'));
}

} // namespace pote::epub
