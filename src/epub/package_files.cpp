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
    const bool hasCover = options.cover.format != BookCover::Format::None;
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
                     "unique-identifier=\"book-id\" xml:lang=\"ja\">\n"
                     "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                     "<dc:identifier id=\"book-id\">";
    out += xmlText(options.identifier);
    out += "</dc:identifier>\n<dc:title>" + plan.title + "</dc:title>\n";
    if (const QByteArray author = xmlText(options.author); !author.trimmed().isEmpty()) {
        out += "<dc:creator id=\"creator\">" + author +
               "</dc:creator>\n"
               "<meta refines=\"#creator\" property=\"role\" scheme=\"marc:relators\">aut"
               "</meta>\n";
        if (const QByteArray sort = xmlText(options.authorSort); !sort.trimmed().isEmpty())
            out += "<meta refines=\"#creator\" property=\"file-as\">" + sort + "</meta>\n";
    }
    out += "<dc:language>ja</dc:language>\n<meta property=\"dcterms:modified\">";
    out += options.modified.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toLatin1();
    out += "</meta>\n";
    // Readers that predate the spine's direction look for this.
    if (!options.horizontal)
        out += "<meta name=\"primary-writing-mode\" content=\"vertical-rl\"/>\n";
    if (hasCover) out += "<meta name=\"cover\" content=\"cover-image\"/>\n";
    // What a reader with a screen reader or a store's filter needs to know before buying.
    out += "<meta property=\"schema:accessMode\">textual</meta>\n";
    if (hasCover) out += "<meta property=\"schema:accessMode\">visual</meta>\n";
    out += "<meta property=\"schema:accessModeSufficient\">textual</meta>\n";
    for (const char* feature : {"tableOfContents", "readingOrder", "structuralNavigation"})
        out +=
            "<meta property=\"schema:accessibilityFeature\">" + QByteArray(feature) + "</meta>\n";
    if (plan.hasRuby)
        out += "<meta property=\"schema:accessibilityFeature\">rubyAnnotations</meta>\n";
    if (hasCover) out += "<meta property=\"schema:accessibilityFeature\">alternativeText</meta>\n";
    out += "<meta property=\"schema:accessibilityHazard\">none</meta>\n"
           "<meta property=\"schema:accessibilitySummary\">";
    out += xmlText(QStringLiteral("文字で書かれた本です。目次と章の見出しから移動できます。"));
    if (plan.hasRuby)
        out += xmlText(QStringLiteral("ルビはルビの要素で付き、読みの前後には括弧もあります。"));
    if (hasCover) out += xmlText(QStringLiteral("表紙の画像には、題名の代替テキストがあります。"));
    out += "</meta>\n</metadata>\n<manifest>\n"
           "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
           "properties=\"nav\"/>\n"
           "<item id=\"style\" href=\"style.css\" media-type=\"text/css\"/>\n";
    if (hasCover)
        out += "<item id=\"cover-image\" href=\"" +
               coverImagePath(options.cover.format).toLatin1() + "\" media-type=\"" +
               coverMediaType(options.cover.format) +
               "\" properties=\"cover-image\"/>\n"
               "<item id=\"cover\" href=\"text/cover.xhtml\" "
               "media-type=\"application/xhtml+xml\"/>\n";
    for (int i = 0; i < plan.documentCount; ++i)
        out += "<item id=\"" + documentId(i) + "\" href=\"" + contentDocumentPath(i).toLatin1() +
               "\" media-type=\"application/xhtml+xml\"/>\n";
    out += "</manifest>\n<spine page-progression-direction=\"";
    out += options.horizontal ? "ltr" : "rtl";
    out += "\">\n";
    if (hasCover) out += "<itemref idref=\"cover\"/>\n";
    // The contents as a page of the book, after the cover, as printed books have it: the
    // landmarks point at it.
    out += "<itemref idref=\"nav\"/>\n";
    for (int i = 0; i < plan.documentCount; ++i)
        out += "<itemref idref=\"" + documentId(i) + "\"/>\n";
    out += "</spine>\n</package>\n";
    return out;
}

QByteArray navigationDocument(const BookPlan& plan, bool hasCover) {
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
    out += "</ol>\n</nav>\n"
           "<nav epub:type=\"landmarks\" id=\"landmarks\" hidden=\"hidden\">\n"
           "<h2>ランドマーク</h2>\n<ol>\n";
    if (hasCover) out += "<li><a epub:type=\"cover\" href=\"text/cover.xhtml\">表紙</a></li>\n";
    out += "<li><a epub:type=\"toc\" href=\"#toc\">目次</a></li>\n"
           "<li><a epub:type=\"bodymatter\" href=\"" +
           contentDocumentPath(0).toLatin1() +
           "\">本文</a></li>\n"
           "</ol>\n</nav>\n</body>\n</html>\n";
    return out;
}

QByteArray coverPage(const BookOptions& options, const BookPlan& plan) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE html>\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\" "
           "xmlns:epub=\"http://www.idpf.org/2007/ops\" xml:lang=\"ja\" lang=\"ja\">\n"
           "<head>\n<meta charset=\"UTF-8\"/>\n<title>" +
           plan.title +
           "</title>\n"
           "<link rel=\"stylesheet\" type=\"text/css\" href=\"../style.css\"/>\n"
           "</head>\n<body class=\"cover\" epub:type=\"cover\">\n"
           "<div class=\"cover\"><img src=\"../" +
           coverImagePath(options.cover.format).toLatin1() + "\" alt=\"" + plan.title +
           "\"/></div>\n"
           "</body>\n</html>\n";
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
           "body.cover {\n"
           "  writing-mode: horizontal-tb;\n"
           "  -webkit-writing-mode: horizontal-tb;\n"
           "  -epub-writing-mode: horizontal-tb;\n"
           "  text-align: center;\n"
           "}\n"
           "div.cover {\n"
           "  height: 100vh;\n"
           "}\n"
           "div.cover img {\n"
           "  height: 100%;\n"
           "  max-width: 100%;\n"
           "  object-fit: contain;\n"
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
