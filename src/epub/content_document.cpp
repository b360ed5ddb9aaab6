#include "epub/content_document.h"

#include "core/cp932.h"
#include "core/text_lines.h"

#include "epub/paragraph_markup.h"
#include "vertical/notation.h"

namespace pote::epub {

namespace {

// The paragraphs between two looks at the stop flag: a long section stops within moments.
constexpr int kParagraphsPerCancelCheck = 256;

QByteArray documentStart(const ContentHead& head) {
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<!DOCTYPE html>\n"
                     "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"ja\" lang=\"ja\">\n"
                     "<head>\n"
                     "<meta charset=\"UTF-8\"/>\n"
                     "<title>";
    out += head.title;
    out += "</title>\n"
           "<link rel=\"stylesheet\" type=\"text/css\" href=\"../style.css\"/>\n"
           "</head>\n"
           "<body>\n";
    return out;
}

constexpr char kDocumentEnd[] = "</body>\n</html>\n";

} // namespace

DocumentPlan planDocuments(QByteArrayView text) {
    // A page break needs the note's characters, so only the lines that hold their bytes are
    // read as notation. (No trail byte of CP932 is a CR or an LF, so a hit lies in the line
    // being walked.)
    static const QByteArray note = cp932::encode(u"［＃改ページ］");
    static const QByteArray rubyOpen = cp932::encode(u"《");
    // What a line's paragraph adds besides its characters, and what a ruby adds (its tags and
    // the brackets for readers without ruby).
    constexpr qsizetype kParagraphTags = 8;
    constexpr qsizetype kRubyTags = 48;
    DocumentPlan plan;
    vertical::LineParser parser;
    qsizetype size = 0; // of the current document so far, reckoned
    qsizetype hit = text.indexOf(note);
    qsizetype ruby = text.indexOf(rubyOpen);
    for (qsizetype at = 0; at < text.size();) {
        const LineSpan line = line_at(text, at);
        qsizetype lineSize = (line.end - at) * 3 / 2 + kParagraphTags;
        for (; ruby >= 0 && ruby < line.end; ruby = text.indexOf(rubyOpen, ruby + 2))
            lineSize += kRubyTags;
        if (size > 0 && size + lineSize > kDocumentBytes) {
            plan.fullAt.append(at);
            ++plan.count;
            size = 0;
        }
        size += lineSize;
        if (hit >= 0 && hit < line.end) {
            int breaks = 0;
            for (const vertical::Paragraph& p :
                 parser.parse(text.sliced(at, line.end - at), static_cast<quint32>(at)))
                breaks += p.pageBreakBefore;
            if (breaks > 0) size = lineSize; // the line is the new document's, more or less
            plan.count += breaks;
            hit = line.next < text.size() ? text.indexOf(note, line.next) : -1;
        }
        at = line.next;
    }
    return plan;
}

bool holdsRuby(QByteArrayView text) {
    static const QByteArray open = cp932::encode(u"《");
    vertical::LineParser parser;
    for (qsizetype hit = text.indexOf(open); hit >= 0;) {
        qsizetype start = hit;
        while (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r')
            --start;
        const LineSpan line = line_at(text, start);
        for (const vertical::Paragraph& p :
             parser.parse(text.sliced(start, line.end - start), static_cast<quint32>(start)))
            if (!p.ruby.isEmpty()) return true;
        hit = line.next < text.size() ? text.indexOf(open, line.next) : -1;
    }
    return false;
}

SectionDocuments contentDocuments(QByteArrayView text, const ContentHead& head,
                                  const DocumentPlan& plan, const std::atomic<bool>* cancel) {
    const int documents = plan.count;
    SectionDocuments result;
    result.documents.reserve(static_cast<size_t>(qMax(documents, 1)));
    const QByteArray start = documentStart(head);
    QByteArray current = start;
    // CP932 takes two bytes for what UTF-8 takes three; the markup adds some more.
    current.reserve(start.size() + qMin(text.size() * 2, kDocumentBytes) + 64);
    if (!head.heading.isEmpty()) current += "<h1>" + head.heading + "</h1>\n";
    const auto nextDocument = [&] {
        if (static_cast<int>(result.documents.size()) + 1 >= documents) return;
        current += kDocumentEnd;
        result.documents.push_back(std::move(current));
        current = start;
    };

    int seen = 0;
    qsizetype full = 0; // the next of plan.fullAt
    vertical::LineParser parser;
    for (qsizetype at = 0; at < text.size();) {
        const LineSpan line = line_at(text, at);
        if (full < plan.fullAt.size() && plan.fullAt[full] == at) {
            nextDocument();
            ++full;
        }
        for (const vertical::Paragraph& p :
             parser.parse(text.sliced(at, line.end - at), static_cast<quint32>(at))) {
            if (cancel && ++seen % kParagraphsPerCancelCheck == 0 && cancel->load()) {
                result.cancelled = true;
                return result;
            }
            if (p.pageBreakBefore) nextDocument();
            // A line of nothing but page breaks is the breaks, not an empty line.
            if (p.pageBreakBefore && p.chars.isEmpty()) continue;
            current += "<p>";
            const qsizetype before = current.size();
            appendParagraphMarkup(current, p, result.dropped, &result.privateUse);
            if (current.size() == before) current += "<br/>";
            current += "</p>\n";
        }
        at = line.next;
    }
    current += kDocumentEnd;
    result.documents.push_back(std::move(current));
    // A plan that expected more documents than the text makes still gets them.
    while (static_cast<int>(result.documents.size()) < documents)
        result.documents.push_back(start + kDocumentEnd);
    return result;
}

} // namespace pote::epub
