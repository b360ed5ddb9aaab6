#pragma once
// The standard EPUB validator, run on a book a test wrote.

#include <QString>

namespace pote::test {

// Whether java and the validator's jar are installed (packages default-jre-headless, epubcheck).
bool epubcheckAvailable();

// Empty when the validator reports no error and no warning, else what it said.
QString epubcheckComplaints(const QString& path);

} // namespace pote::test

#define SKIP_WITHOUT_EPUBCHECK()                                                                   \
    if (!pote::test::epubcheckAvailable())                                                         \
    GTEST_SKIP() << "java or /usr/share/java/epubcheck.jar is missing (packages "                  \
                    "default-jre-headless and epubcheck): the books are not validated"
