#include "epub/epub_writer.h"

#include "core/file_io.h"
#include "epub/content_document.h"
#include "epub/epub_messages.h"
#include "epub/package_files.h"
#include "epub/saved_zip.h"
#include "vertical/notation.h"

#include <algorithm>

namespace pote::epub {

namespace {

// Makes each section's documents once, when the zip reaches its first one, and hands them out
// one by one; the places where characters were left out are gathered on the way.
class SectionDocumentSource {
public:
    SectionDocumentSource(const Book& book, const BookPlan& plan, const std::atomic<bool>* cancel,
                          const EpubProgress& progress)
        : m_book(book), m_plan(plan), m_cancel(cancel), m_progress(progress) {
        for (const BookSection& s : book.sections)
            m_total += s.text.size();
        m_made.assign(book.sections.size(), false);
        if (m_progress) m_progress(0, m_total);
    }

    std::optional<QByteArray> document(int section, int index) {
        const auto pos = static_cast<size_t>(section);
        // Handed out already: libzip asked again, so the section is made again.
        if (section != m_section || m_documents[static_cast<size_t>(index)].isEmpty()) {
            if (m_cancel && m_cancel->load()) return std::nullopt;
            const BookPlan::Section& planned = m_plan.sections[pos];
            const QByteArray& text = m_book.sections[pos].text;
            SectionDocuments made = contentDocuments(text, {planned.label, planned.heading},
                                                     planned.documents, m_cancel);
            if (made.cancelled) return std::nullopt;
            if (!m_made[pos]) {
                m_made[pos] = true;
                notePlaces(section, text, std::move(made.dropped));
                m_done += text.size();
                if (m_progress) m_progress(m_done, m_total);
            }
            m_section = section;
            m_documents = std::move(made.documents);
        }
        return std::exchange(m_documents[static_cast<size_t>(index)], {});
    }

    void report(EpubWrite& result) const {
        result.dropped = m_places;
        result.droppedPlaces = m_placeCount;
    }

private:
    void notePlaces(int section, QByteArrayView text, QList<quint32> dropped) {
        if (m_plan.namesWithDrops.contains(section)) note({section, 0});
        if (dropped.isEmpty()) return;
        for (int line : lineNumbersAt(text, std::move(dropped)))
            note({section, line});
    }
    void note(DroppedPlace place) {
        ++m_placeCount;
        if (m_places.size() < kMaxListedPlaces) m_places.append(place);
    }

    const Book& m_book;
    const BookPlan& m_plan;
    const std::atomic<bool>* m_cancel;
    const EpubProgress& m_progress;
    int m_section = -1;
    std::vector<QByteArray> m_documents;
    std::vector<bool> m_made;
    qint64 m_total = 0;
    qint64 m_done = 0;
    QList<DroppedPlace> m_places;
    qsizetype m_placeCount = 0;
};

EpubWrite failed(EpubWrite::Status status, QString message = {}) {
    EpubWrite r;
    r.status = status;
    r.message = std::move(message);
    return r;
}

} // namespace

QList<int> lineNumbersAt(QByteArrayView text, QList<quint32> offsets) {
    std::sort(offsets.begin(), offsets.end());
    QList<int> lines;
    int line = 1;
    vertical::LineSpan span = vertical::lineAt(text, 0);
    for (quint32 offset : offsets) {
        while (span.next < text.size() && qsizetype(offset) >= span.next) {
            span = vertical::lineAt(text, span.next);
            ++line;
        }
        if (lines.isEmpty() || lines.last() != line) lines.append(line);
    }
    return lines;
}

EpubWrite write_epub(const QString& path, const Book& book, const std::atomic<bool>* cancel,
                     const EpubProgress& progress) {
    if (const QString problem = writeTargetProblem(path); !problem.isEmpty())
        return failed(EpubWrite::Status::IoError, problem);
    const BookPlan plan = planBook(book, cancel);
    if (plan.cancelled) return failed(EpubWrite::Status::Cancelled);
    if (plan.documentCount > kMaxContentDocuments)
        return failed(EpubWrite::Status::Refused, epubmsg::tooManyPages(kMaxContentDocuments));

    const QDateTime modified =
        book.options.modified.isValid() ? book.options.modified : QDateTime::currentDateTimeUtc();
    SavedZip zip(path, static_cast<std::time_t>(modified.toSecsSinceEpoch()));
    BookOptions options = book.options;
    options.modified = modified;
    bool ok = zip.add("mimetype", kMimetype, true) &&
              zip.add(kContainerPath, containerDocument()) &&
              zip.add(kPackagePath, packageDocument(options, plan)) &&
              zip.add(kNavigationPath, navigationDocument(plan)) &&
              zip.add(kStyleSheetPath, styleSheet(options.horizontal));
    SectionDocumentSource source(book, plan, cancel, progress);
    for (size_t s = 0; ok && s < plan.sections.size(); ++s) {
        const BookPlan::Section& planned = plan.sections[s];
        for (int k = 0; ok && k < planned.documents; ++k) {
            const QByteArray name =
                kPackageFolder + contentDocumentPath(planned.firstDocument + k).toLatin1();
            ok = zip.addMade(name.constData(),
                             [&source, s, k] { return source.document(static_cast<int>(s), k); });
        }
    }
    if (ok) ok = zip.close();
    if (!ok) {
        if (zip.stopped() || (cancel && cancel->load()))
            return failed(EpubWrite::Status::Cancelled);
        return failed(EpubWrite::Status::IoError, zip.error());
    }
    EpubWrite result;
    source.report(result);
    return result;
}

} // namespace pote::epub
