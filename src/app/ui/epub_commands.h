#pragma once
// "EPUBに書き出す": the document as an EPUB book. The pane is committed and the file asked for
// here; the book is written on a worker thread from a snapshot of the sections (their bytes
// shared, not copied), with the progress in the status bar and "中止" to stop it.

#include "app/ui/background_job.h"
#include "epub/ui/epub_export_dialog.h"

#include <QObject>
#include <QString>

#include <optional>

namespace pote {

struct AppContext;
template <typename T> class Result;
namespace epub {
struct EpubWrite;
struct BookCover;
} // namespace epub

class EpubCommands : public QObject {
    Q_OBJECT
public:
    explicit EpubCommands(AppContext& context, QObject* parent = nullptr);
    // Stops a book still being written and waits for its worker.
    ~EpubCommands() override;

    void nx_epub_saveClick();
    // The book stops after the paragraph at hand; the old file stays.
    void stop() { m_job.stop(); }

    // While the book is written: every other command waits.
    bool busy() const { return m_job.busy(); }
    // From the start to the last report.
    bool running() const { return m_job.running(); }

private:
    // The export dialog, filled from what the settings remember; nullopt when cancelled.
    std::optional<EpubChoices> askChoices();
    // The chosen image, a drawn cover, or none; nullopt when the image was refused (the
    // writer has been told).
    std::optional<epub::BookCover> coverFor(const EpubChoices& chosen, const QString& title);
    void report(const QString& path, const Result<epub::EpubWrite>& written);

    AppContext& m_context;
    BackgroundJob m_job;
    int m_shownPercent = -1;
};

} // namespace pote
