#pragma once
// `ptmtool pdf`: the document's vertical pages as a PDF file, drawn with no display at all. The
// drawing needs a Gui application; only this command makes one, on the offscreen platform, so
// every other command stays as light as it was.

#include "core/result.h"
#include "vertical/document_pages.h"

#include <QList>
#include <QString>

namespace pote::cli {

struct PdfRequest {
    QList<vertical::SectionSource> sections;
    vertical::PageFormat format;
    QString face;
    bool faceNamed = false; // named by the user: that face or none, never a stand-in
    QString title;
    QString out;
};

// The number of pages written; the error's text is the whole message for the command line, and
// a refused face is an Error::Kind::Refused.
Result<int> writeVerticalPdf(const PdfRequest& request);

} // namespace pote::cli
