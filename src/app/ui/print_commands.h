#pragma once
// "印刷(&P)": the current section's text to the default printer, or to a PDF file when there is
// no printer.

#include <QPrinterInfo>

#include <functional>

namespace pote {

struct AppContext;

class PrintCommands {
public:
    explicit PrintCommands(AppContext& context);

    void Print1Click();

    // Where a print job goes; by default the system's default printer. Tests point it away
    // from real printers.
    void setPrinterLookup(std::function<QPrinterInfo()> lookup) {
        m_printerLookup = std::move(lookup);
    }

private:
    QString printableText() const;
    void printToPdf(const QString& text, const QString& title);

    AppContext& m_context;
    std::function<QPrinterInfo()> m_printerLookup;
};

} // namespace pote
