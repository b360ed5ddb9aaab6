// Any bytes given to the document reader: it must refuse or read them, never crash, never
// read outside the input and never allocate more than the input can account for.

#include "core/document_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto result = pote::docfile::parseDocument(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
        [](const QByteArray&) { return true; });
    if (result) {
        // What is handed over must fit the document as it is.
        pote::Document document;
        pote::DocumentContent content = result->content;
        document.replace(std::move(content));
        for (int pos = 0; pos < document.count(); ++pos)
            if (document.section(pos).group < 0 ||
                document.section(pos).group > document.groupCount())
                __builtin_trap();
    }
    return 0;
}
