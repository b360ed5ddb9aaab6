#include "epub/book.h"

#include "core/cp932.h"
#include "core/document.h"
#include "epub/content_document.h"
#include "epub/paragraph_markup.h"
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

BookPlan planBook(const Book& book, const std::atomic<bool>* cancel) {
    BookPlan plan;
    plan.title = xmlText(book.options.title);
    if (plan.title.isEmpty()) plan.title = xmlText(QStringLiteral("無題"));
    plan.sections.reserve(book.sections.size());
    vertical::LineParser nameParser;
    for (size_t pos = 0; pos < book.sections.size(); ++pos) {
        if (cancel && cancel->load()) {
            plan.cancelled = true;
            return plan;
        }
        const BookSection& section = book.sections[pos];
        BookPlan::Section s;
        s.firstDocument = plan.documentCount;
        DocumentPlan documents = planDocuments(section.text);
        s.documents = documents.count;
        s.fullAt = std::move(documents.fullAt);
        if (!plan.hasRuby) plan.hasRuby = holdsRuby(section.text) || holdsRuby(section.name);
        // A name may carry ruby and emphasis as a text does: the heading shows them, the title
        // and the contents show its characters alone.
        QList<quint32> dropped, userDefined;
        const std::span<const vertical::Paragraph> name = nameParser.parse(section.name, 0);
        bool blank = true;
        for (const vertical::Paragraph& p : name) {
            appendParagraphMarkup(s.heading, p, dropped, &userDefined);
            s.label += plainText(p);
            blank = blank && isBlank(p);
        }
        if (!dropped.isEmpty()) plan.namesWithDrops.append(static_cast<int>(pos));
        if (!userDefined.isEmpty()) plan.namesWithUserDefined.append(static_cast<int>(pos));
        if (blank) {
            s.heading.clear();
            s.label = unnamedLabel(static_cast<int>(pos));
        }
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
