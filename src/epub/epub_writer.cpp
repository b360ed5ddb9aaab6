#include "epub/epub_writer.h"

#include "core/file_io.h"
#include "core/text_lines.h"
#include "epub/content_document.h"
#include "epub/epub_messages.h"
#include "epub/package_files.h"
#include "epub/saved_zip.h"
#include "epub/sections_ahead.h"

#include <algorithm>

namespace pote::epub {

namespace {

// The places where characters were left out, counted once for each section, however often the
// zip asks for its documents.
class DroppedPlaces {
public:
    DroppedPlaces(const BookPlan& plan, int sections) : m_plan(plan), m_noted(size_t(sections)) {}

    // False when the section was noted already.
    bool note(int section, QByteArrayView text, QList<quint32> dropped,
              QList<quint32> userDefined) {
        if (m_noted[size_t(section)]) return false;
        m_noted[size_t(section)] = true;
        if (m_plan.namesWithDrops.contains(section)) m_dropped.note({section, 0});
        m_dropped.noteLines(section, text, std::move(dropped));
        if (m_plan.namesWithUserDefined.contains(section)) m_userDefined.note({section, 0});
        m_userDefined.noteLines(section, text, std::move(userDefined));
        return true;
    }

    void report(EpubWrite& result) const {
        result.dropped = m_dropped.places;
        result.droppedPlaces = m_dropped.count;
        result.userDefined = m_userDefined.places;
        result.userDefinedPlaces = m_userDefined.count;
    }

private:
    // The places listed, up to kMaxListedPlaces, and how many there were.
    struct Places {
        QList<DroppedPlace> places;
        qsizetype count = 0;
        void note(DroppedPlace place) {
            ++count;
            if (places.size() < kMaxListedPlaces) places.append(place);
        }
        void noteLines(int section, QByteArrayView text, QList<quint32> offsets) {
            if (offsets.isEmpty()) return;
            for (int line : lineNumbersAt(text, std::move(offsets)))
                note({section, line});
        }
    };

    const BookPlan& m_plan;
    std::vector<bool> m_noted;
    Places m_dropped;
    Places m_userDefined;
};

// A section's documents, compressed, with the places its text lost characters.
struct PreparedSection {
    std::vector<EntryBytes> documents;
    QList<quint32> dropped;
    QList<quint32> userDefined;
    bool cancelled = false;
};

PreparedSection prepare(const Book& book, const BookPlan& plan, int section,
                        const std::atomic<bool>* cancel) {
    const BookPlan::Section& planned = plan.sections[static_cast<size_t>(section)];
    SectionDocuments made = contentDocuments(
        book.sections[static_cast<size_t>(section)].text, {planned.label, planned.heading},
        DocumentPlan{planned.documents, planned.fullAt}, cancel);
    PreparedSection out{{}, std::move(made.dropped), std::move(made.privateUse), made.cancelled};
    out.documents.reserve(made.documents.size());
    for (QByteArray& document : made.documents) {
        if (out.cancelled || (cancel && cancel->load())) return {{}, {}, {}, true};
        out.documents.push_back(deflated(std::exchange(document, {})));
    }
    return out;
}

// Hands the zip each content document when it reaches it. libzip may ask for an entry's bytes
// again (it re-reads a source to retry), and a document is handed out once and let go: a second
// question makes its section again.
class SectionDocumentSource {
public:
    SectionDocumentSource(const Book& book, const BookPlan& plan, const std::atomic<bool>* cancel,
                          EpubProgress progress)
        : m_book(book), m_cancel(cancel), m_progress(std::move(progress)),
          m_places(plan, int(book.sections.size())),
          m_ahead(int(plan.sections.size()), [&book, &plan, cancel](int section) {
              return prepare(book, plan, section, cancel);
          }) {
        for (const BookSection& s : book.sections)
            m_total += s.text.size();
        if (m_progress) m_progress(0, m_total);
    }

    std::optional<EntryBytes> document(int section, int index) {
        const auto at = static_cast<size_t>(index);
        if (section != m_section || m_documents[at].data.isEmpty()) {
            if (m_cancel && m_cancel->load()) return std::nullopt;
            PreparedSection made = m_ahead.take(section);
            if (made.cancelled) return std::nullopt;
            const QByteArray& text = m_book.sections[static_cast<size_t>(section)].text;
            if (m_places.note(section, text, std::move(made.dropped),
                              std::move(made.userDefined))) {
                m_done += text.size();
                if (m_progress) m_progress(m_done, m_total);
            }
            m_section = section;
            m_documents = std::move(made.documents);
        }
        return std::exchange(m_documents[at], {});
    }

    const DroppedPlaces& places() const { return m_places; }

private:
    const Book& m_book;
    const std::atomic<bool>* m_cancel;
    const EpubProgress m_progress;
    qint64 m_total = 0;
    qint64 m_done = 0;
    DroppedPlaces m_places;
    int m_section = -1;
    std::vector<EntryBytes> m_documents;
    // Last: its threads read the book and the plan, and end before the rest goes.
    SectionsAhead<PreparedSection> m_ahead;
};

} // namespace

QList<int> lineNumbersAt(QByteArrayView text, QList<quint32> offsets) {
    std::sort(offsets.begin(), offsets.end());
    QList<int> lines;
    int line = 1;
    LineSpan span = line_at(text, 0);
    for (quint32 offset : offsets) {
        while (span.next < text.size() && qsizetype(offset) >= span.next) {
            span = line_at(text, span.next);
            ++line;
        }
        if (lines.isEmpty() || lines.last() != line) lines.append(line);
    }
    return lines;
}

Result<EpubWrite> write_epub(const QString& path, const Book& book, const std::atomic<bool>* cancel,
                             const EpubProgress& progress) {
    if (Result<void> target = checkWriteTarget(path); !target) return target.error();
    const BookPlan plan = planBook(book, cancel);
    if (plan.cancelled) return Error::cancelled();
    if (plan.documentCount > kMaxContentDocuments)
        return Error::refused(epubmsg::tooManyPages(kMaxContentDocuments));

    const QDateTime modified =
        book.options.modified.isValid() ? book.options.modified : QDateTime::currentDateTimeUtc();
    SavedZip zip(path, static_cast<std::time_t>(modified.toSecsSinceEpoch()));
    BookOptions options = book.options;
    options.modified = modified;
    const bool hasCover = options.cover.format != BookCover::Format::None;
    bool ok = zip.add("mimetype", kMimetype, true) &&
              zip.add(kContainerPath, containerDocument()) &&
              zip.add(kPackagePath, packageDocument(options, plan)) &&
              zip.add(kNavigationPath, navigationDocument(plan, hasCover)) &&
              zip.add(kStyleSheetPath, styleSheet(options.horizontal));
    // The image is compressed already: stored as it is.
    const QByteArray coverImage = kPackageFolder + coverImagePath(options.cover.format).toLatin1();
    if (ok && hasCover)
        ok = zip.add(coverImage.constData(), options.cover.bytes, true) &&
             zip.add(kCoverPagePath, coverPage(options, plan));
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
    if (!ok) return cancel && cancel->load() ? Error::cancelled() : zip.error();
    EpubWrite result;
    source.places().report(result);
    return result;
}

} // namespace pote::epub
