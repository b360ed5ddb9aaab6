#include "epub/epub_writer.h"

#include "core/file_io.h"
#include "core/text_lines.h"
#include "epub/content_document.h"
#include "epub/epub_messages.h"
#include "epub/package_files.h"
#include "epub/saved_zip.h"

#include <algorithm>
#include <deque>
#include <future>
#include <system_error>
#include <thread>

namespace pote::epub {

namespace {

// Makes each section's documents once, when the zip reaches its first one, and hands them out
// one by one; the places where characters were left out are gathered on the way. The next few
// sections are made and compressed on threads of their own while libzip copies this one.
class SectionDocumentSource {
public:
    SectionDocumentSource(const Book& book, const BookPlan& plan, const std::atomic<bool>* cancel,
                          const EpubProgress& progress)
        : m_book(book), m_plan(plan), m_cancel(cancel), m_progress(progress),
          m_depth(static_cast<size_t>(qBound(1u, std::thread::hardware_concurrency(), 4u))) {
        for (const BookSection& s : book.sections)
            m_total += s.text.size();
        m_made.assign(book.sections.size(), false);
        if (m_progress) m_progress(0, m_total);
    }
    // The sections made ahead read the book and the plan: they end before those do.
    ~SectionDocumentSource() {
        for (auto& [section, made] : m_ahead)
            made.wait();
    }

    std::optional<EntryBytes> document(int section, int index) {
        const auto pos = static_cast<size_t>(section);
        // Handed out already: libzip asked again, so the section is made again.
        if (section != m_section || m_documents[static_cast<size_t>(index)].data.isEmpty()) {
            if (m_cancel && m_cancel->load()) return std::nullopt;
            Prepared made = takeAhead(section);
            makeAhead(section + 1);
            if (made.cancelled) return std::nullopt;
            const QByteArray& text = m_book.sections[pos].text;
            if (!m_made[pos]) {
                m_made[pos] = true;
                notePlaces(section, text, std::move(made.dropped), std::move(made.userDefined));
                m_done += text.size();
                if (m_progress) m_progress(m_done, m_total);
            }
            m_section = section;
            m_documents = std::move(made.documents);
        }
        return std::exchange(m_documents[static_cast<size_t>(index)], {});
    }

    void report(EpubWrite& result) const {
        result.dropped = m_dropped.places;
        result.droppedPlaces = m_dropped.count;
        result.userDefined = m_userDefined.places;
        result.userDefinedPlaces = m_userDefined.count;
    }

private:
    struct Prepared {
        std::vector<EntryBytes> documents;
        QList<quint32> dropped;
        QList<quint32> userDefined;
        bool cancelled = false;
    };
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

    Prepared make(int section) const {
        const BookPlan::Section& planned = m_plan.sections[static_cast<size_t>(section)];
        SectionDocuments made = contentDocuments(
            m_book.sections[static_cast<size_t>(section)].text, {planned.label, planned.heading},
            DocumentPlan{planned.documents, planned.fullAt}, m_cancel);
        Prepared out{{}, std::move(made.dropped), std::move(made.privateUse), made.cancelled};
        out.documents.reserve(made.documents.size());
        for (QByteArray& document : made.documents) {
            if (out.cancelled || (m_cancel && m_cancel->load())) return {{}, {}, {}, true};
            out.documents.push_back(deflated(std::exchange(document, {})));
        }
        return out;
    }
    // The section from the threads ahead, or made here when none has it.
    Prepared takeAhead(int section) {
        while (!m_ahead.empty() && m_ahead.front().first < section) {
            m_ahead.front().second.wait();
            m_ahead.pop_front();
        }
        if (m_ahead.empty() || m_ahead.front().first != section) return make(section);
        Prepared made = m_ahead.front().second.get();
        m_ahead.pop_front();
        return made;
    }
    void makeAhead(int from) {
        int next = m_ahead.empty() ? from : m_ahead.back().first + 1;
        for (; m_ahead.size() < m_depth && next < static_cast<int>(m_plan.sections.size());
             ++next) {
            try {
                m_ahead.emplace_back(
                    next, std::async(std::launch::async, [this, next] { return make(next); }));
            } catch (const std::system_error&) {
                return; // no thread to be had: the section is made when it is reached
            }
        }
    }
    void notePlaces(int section, QByteArrayView text, QList<quint32> dropped,
                    QList<quint32> userDefined) {
        if (m_plan.namesWithDrops.contains(section)) m_dropped.note({section, 0});
        m_dropped.noteLines(section, text, std::move(dropped));
        if (m_plan.namesWithUserDefined.contains(section)) m_userDefined.note({section, 0});
        m_userDefined.noteLines(section, text, std::move(userDefined));
    }

    const Book& m_book;
    const BookPlan& m_plan;
    const std::atomic<bool>* m_cancel;
    const EpubProgress& m_progress;
    const size_t m_depth; // sections made ahead at once
    int m_section = -1;
    std::vector<EntryBytes> m_documents;
    std::deque<std::pair<int, std::future<Prepared>>> m_ahead;
    std::vector<bool> m_made;
    qint64 m_total = 0;
    qint64 m_done = 0;
    Places m_dropped;
    Places m_userDefined;
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
    source.report(result);
    return result;
}

} // namespace pote::epub
