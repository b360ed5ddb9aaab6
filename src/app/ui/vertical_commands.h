#pragma once
// Vertical writing from the window: `縦書きプレビュー` (the File menu and a tool button), the
// ruby insert command, and the preview's PDF export and printing, with their progress, their
// stop and their messages.

#include "app/ui/background_job.h"
#include "vertical/ui/font_file.h"
#include "vertical/ui/page_printing.h"
#include "vertical/ui/vertical_preview.h"

#include <QHash>
#include <QPointer>
#include <QProgressDialog>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace pote {

struct AppContext;

class VerticalCommands : public vertical::PreviewHost {
public:
    explicit VerticalCommands(AppContext& context);
    ~VerticalCommands() override;

    void nx_vertical_previewClick();
    void nx_ruby_insClick();

    // The preview window, once it has been opened.
    vertical::VerticalPreview* preview() const { return m_preview; }
    // From the start of a PDF export to its last message.
    bool exportRunning() const { return m_pdfJob.running(); }

    // PreviewHost
    vertical::DocumentSnapshot snapshot(bool allSections) override;
    std::shared_ptr<vertical::VerticalFont> font(const QString& face) override;
    void exportPdf() override;
    void print() override;
    void keepOptions(const vertical::PreviewOptions& options) override;

private:
    // The preview's options as the settings hold them; a format the settings hold that is no
    // format at all gives way to manuscript paper.
    vertical::PreviewOptions storedOptions() const;
    // The default face, or the best Japanese one installed when it is not: what the preview
    // falls back on when the face in the settings cannot be had.
    std::shared_ptr<vertical::VerticalFont> standInFont();
    std::shared_ptr<vertical::VerticalFont> loadFont(const QString& face,
                                                     const vertical::FontFile& file);
    // The pane's text changed: an open preview shows it.
    void followText();
    // Called after each page; false when the user stopped the work.
    vertical::PageProgress progressShown(const QString& doing);
    // The PDF export's progress, shown on the window's thread while its job draws the pages.
    void showPdfProgress(int done, int total);
    void reportPdf(const QString& path, const Result<int>& written, const QStringList& withNul);

    AppContext& m_context;
    QPointer<vertical::VerticalPreview> m_preview;
    QTimer m_follow;
    QHash<QString, std::shared_ptr<vertical::VerticalFont>> m_fonts;
    QPointer<QProgressDialog> m_pdfProgress;
    // Declared last: its worker reads the members above and ends before they go.
    BackgroundJob m_pdfJob;
};

} // namespace pote
