#pragma once
// `縦書きプレビュー`: the document's vertical pages two at a time, read right to left, with the
// format, face and options that set them, zoom, and the commands to write them to PDF or print
// them. It lays out only the pages it shows; the page numbers across a long document are
// counted in the background.

#include "vertical/document_pages.h"
#include "vertical/preview_options.h"

#include <QFutureWatcher>
#include <QWidget>

#include <atomic>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;

namespace pote::vertical {

class SpreadView;
class VerticalFont;

// What the document looks like now, for the preview.
struct DocumentSnapshot {
    QList<SectionSource> sections;
    int current = 0;       // the section of the caret, in sections
    quint32 caretByte = 0; // the caret's byte offset in that section
    // Where it was taken from: the document's section of the caret and its sections in all.
    int documentSection = 0;
    int documentSectionCount = 1;
};

// What the preview asks of the program around it.
class PreviewHost {
public:
    virtual ~PreviewHost() = default;
    // Only reads the document: what is shown is the preview's to keep.
    virtual DocumentSnapshot snapshot(bool allSections) = 0;
    // The face's font, or null when it cannot be had (the host has said why).
    virtual std::shared_ptr<VerticalFont> font(const QString& face) = 0;
    virtual void exportPdf() = 0;
    virtual void print() = 0;
    // The options changed: the host keeps them.
    virtual void keepOptions(const PreviewOptions& options) = 0;
};

class VerticalPreview : public QWidget {
    Q_OBJECT
public:
    VerticalPreview(PreviewHost& host, PreviewOptions options, QWidget* parent = nullptr);
    ~VerticalPreview() override;

    // Takes the document afresh and shows the page of the caret.
    void reload();
    // The section of the caret changed its text: it is laid out again, the page kept.
    void sectionChanged(int section, SectionSource text);
    // Whether the pages shown were taken with the caret in that section of a document of that
    // many sections; when not, a change of text calls for a reload.
    bool follows(int section, int sectionCount) const;

    const PreviewOptions& options() const { return m_options; }
    const PageFormat& format() const { return m_options.format; }
    DocumentPages& pages() { return *m_pages; }
    VerticalFont* font() const { return m_font.get(); }
    std::shared_ptr<VerticalFont> sharedFont() const { return m_font; }
    PagePlace place() const { return m_place; }
    // "p / N"; a total still being counted shows as "…".
    QString statusText() const;
    SpreadView* spread() const { return m_spread; }

    void nextPage();
    void previousPage();
    void firstPage();
    void lastPage();
    void setZoom(int percent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void optionsChanged();
    // The options changed in m_options: the host keeps them.
    void keepOptions() { m_host.keepOptions(m_options); }
    void faceChanged();
    // The first (right) page of the spread that holds place.
    PagePlace spreadStart(PagePlace place) const;
    // Shows the spread that holds place.
    void showPlace(PagePlace place);
    void refresh();
    void fitSpread();
    void scrollToStart();
    // Lays out the snapshot's sections afresh, in the format now set.
    void takePages(const DocumentSnapshot& snapshot);
    void startCounting(const QList<SectionSource>& sections);
    void takeCounts();

    PreviewHost& m_host;
    PreviewOptions m_options;
    std::unique_ptr<DocumentPages> m_pages;
    std::shared_ptr<VerticalFont> m_font;
    PagePlace m_place;
    // What the pages were taken from.
    int m_shownSection = -1;
    int m_shownSectionCount = 0;
    // The sections being counted, with the flag that stops a count no longer wanted.
    QFutureWatcher<QList<int>> m_counting;
    std::shared_ptr<std::atomic<bool>> m_stopCounting;

    QComboBox* m_format = nullptr;
    QSpinBox* m_chars = nullptr;
    QSpinBox* m_lines = nullptr;
    QComboBox* m_face = nullptr;
    QCheckBox* m_name = nullptr;
    QCheckBox* m_indent = nullptr;
    QComboBox* m_scope = nullptr;
    QComboBox* m_zoom = nullptr;
    QScrollArea* m_scroll = nullptr;
    SpreadView* m_spread = nullptr;
    QLabel* m_status = nullptr;
};

} // namespace pote::vertical
