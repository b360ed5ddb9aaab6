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

int contentDocumentCount(QByteArrayView text) {
    // A page break needs the note's characters, so only the lines that hold their bytes are
    // read as notation: counting costs a search, not a second reading of the whole text. (No
    // trail byte of CP932 is a CR or an LF, so the bytes before a hit find its line's start.)
    static const QByteArray note = cp932::encode(u"［＃改ページ］");
    int count = 1;
    vertical::LineParser parser;
    for (qsizetype hit = text.indexOf(note); hit >= 0;) {
        qsizetype start = hit;
        while (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r')
            --start;
        const LineSpan line = line_at(text, start);
        for (const vertical::Paragraph& p :
             parser.parse(text.sliced(start, line.end - start), static_cast<quint32>(start)))
            count += p.pageBreakBefore;
        hit = line.next < text.size() ? text.indexOf(note, line.next) : -1;
    }
    return count;
}

SectionDocuments contentDocuments(QByteArrayView text, const ContentHead& head, int documents,
                                  const std::atomic<bool>* cancel) {
    SectionDocuments result;
    result.documents.reserve(static_cast<size_t>(qMax(documents, 1)));
    const QByteArray start = documentStart(head);
    QByteArray current = start;
    // CP932 takes two bytes for what UTF-8 takes three; the markup adds a little.
    current.reserve(start.size() + text.size() * 2 / qMax(documents, 1) + 64);
    if (!head.heading.isEmpty()) current += "<h1>" + head.heading + "</h1>\n";

    int seen = 0;
    vertical::forEachParagraph(text, [&](const vertical::Paragraph& p) {
        if (cancel && ++seen % kParagraphsPerCancelCheck == 0 && cancel->load()) {
            result.cancelled = true;
            return false;
        }
        if (p.pageBreakBefore && static_cast<int>(result.documents.size()) + 1 < documents) {
            current += kDocumentEnd;
            result.documents.push_back(std::move(current));
            current = start;
        }
        // A line of nothing but page breaks is the breaks, not an empty line.
        if (p.pageBreakBefore && p.chars.isEmpty()) return true;
        current += "<p>";
        const qsizetype before = current.size();
        appendParagraphMarkup(current, p, result.dropped);
        if (current.size() == before) current += "<br/>";
        current += "</p>\n";
        return true;
    });
    if (result.cancelled) return result;
    current += kDocumentEnd;
    result.documents.push_back(std::move(current));
    // A plan that expected more breaks than the text holds still gets its documents.
    while (static_cast<int>(result.documents.size()) < documents)
        result.documents.push_back(start + kDocumentEnd);
    return result;
}

} // namespace pote::epub
