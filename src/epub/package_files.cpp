#include "epub/package_files.h"

#include "epub/xml_text.h"

namespace pote::epub {

namespace {

QByteArray documentId(int index) {
    return QStringLiteral("p%1").arg(index + 1, 5, 10, QLatin1Char('0')).toLatin1();
}

} // namespace

QByteArray containerDocument() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<container version=\"1.0\" "
           "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
           "<rootfiles>\n"
           "<rootfile full-path=\"" +
           QByteArray(kPackagePath) +
           "\" media-type=\"application/oebps-package+xml\"/>\n"
           "</rootfiles>\n"
           "</container>\n";
}

QByteArray packageDocument(const BookOptions& options, const BookPlan& plan) {
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
                     "unique-identifier=\"book-id\" xml:lang=\"ja\">\n"
                     "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                     "<dc:identifier id=\"book-id\">";
    out += xmlText(options.identifier);
    out += "</dc:identifier>\n<dc:title>" + plan.title + "</dc:title>\n";
    if (const QByteArray author = xmlText(options.author); !author.trimmed().isEmpty())
        out += "<dc:creator>" + author + "</dc:creator>\n";
    out += "<dc:language>ja</dc:language>\n<meta property=\"dcterms:modified\">";
    out += options.modified.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toLatin1();
    out += "</meta>\n</metadata>\n<manifest>\n"
           "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
           "properties=\"nav\"/>\n"
           "<item id=\"style\" href=\"style.css\" media-type=\"text/css\"/>\n";
    for (int i = 0; i < plan.documentCount; ++i)
        out += "<item id=\"" + documentId(i) + "\" href=\"" + contentDocumentPath(i).toLatin1() +
               "\" media-type=\"application/xhtml+xml\"/>\n";
    out += "</manifest>\n<spine page-progression-direction=\"";
    out += options.horizontal ? "ltr" : "rtl";
    out += "\">\n";
    for (int i = 0; i < plan.documentCount; ++i)
        out += "<itemref idref=\"" + documentId(i) + "\"/>\n";
    out += "</spine>\n</package>\n";
    return out;
}

QByteArray navigationDocument(const BookPlan& plan) {
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<!DOCTYPE html>\n"
                     "<html xmlns=\"http://www.w3.org/1999/xhtml\" "
                     "xmlns:epub=\"http://www.idpf.org/2007/ops\" xml:lang=\"ja\" lang=\"ja\">\n"
                     "<head>\n<meta charset=\"UTF-8\"/>\n<title>";
    out += plan.title;
    out += "</title>\n"
           "<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\"/>\n"
           "</head>\n<body>\n"
           "<nav epub:type=\"toc\" id=\"toc\">\n<h1>目次</h1>\n<ol>\n";
    for (const BookPlan::Section& s : plan.sections)
        out += "<li><a href=\"" + contentDocumentPath(s.firstDocument).toLatin1() + "\">" +
               s.label + "</a></li>\n";
    out += "</ol>\n</nav>\n</body>\n</html>\n";
    return out;
}

QByteArray styleSheet(bool horizontal) {
    const QByteArray mode = horizontal ? "horizontal-tb" : "vertical-rl";
    // In vertical writing the space after a heading's column is on its left.
    const QByteArray headingMargin = horizontal ? "0 0 1.5em 0" : "0 0 0 1.5em";
    return "@charset \"UTF-8\";\n"
           "html {\n"
           "  writing-mode: " +
           mode +
           ";\n"
           "  -webkit-writing-mode: " +
           mode +
           ";\n"
           "  -epub-writing-mode: " +
           mode +
           ";\n"
           "}\n"
           "body {\n"
           "  margin: 0;\n"
           "  font-family: serif;\n"
           "  line-height: 1.8;\n"
           "}\n"
           "h1 {\n"
           "  font-size: 1.4em;\n"
           "  margin: " +
           headingMargin +
           ";\n"
           "}\n"
           "p {\n"
           "  margin: 0;\n"
           "}\n"
           "rt {\n"
           "  font-size: 0.5em;\n"
           "}\n"
           ".em-sesame {\n"
           "  text-emphasis-style: sesame;\n"
           "  -webkit-text-emphasis-style: sesame;\n"
           "  -epub-text-emphasis-style: sesame;\n"
           "}\n"
           ".tcy {\n"
           "  text-combine-upright: all;\n"
           "  -webkit-text-combine: horizontal;\n"
           "  -epub-text-combine: horizontal;\n"
           "}\n";
}

} // namespace pote::epub
