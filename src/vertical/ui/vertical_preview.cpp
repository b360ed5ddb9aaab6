#include "vertical/ui/vertical_preview.h"

#include "vertical/ui/font_file.h"
#include "vertical/ui/spread_view.h"
#include "vertical/ui/vertical_font.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <limits>

namespace pote::vertical {

namespace {

const QString kCustomFormat = QStringLiteral("custom");
constexpr int kZooms[] = {50, 75, 100, 150, 200, 300, 400};
// Below this the whole document is counted at once: quicker than a blink.
constexpr qint64 kCountAtOnceBytes = 2 * 1024 * 1024;

qint64 totalBytes(const QList<SectionSource>& sections) {
    qint64 n = 0;
    for (const SectionSource& s : sections)
        n += s.text.size() + s.name.size();
    return n;
}

// The character a page starts with, to find the same text again in another format.
quint32 firstOffset(const Page& page) {
    for (const Line& line : page.lines)
        if (!line.cells.isEmpty()) return line.cells.first().offset;
    return 0;
}

} // namespace

VerticalPreview::VerticalPreview(PreviewHost& host, PreviewOptions options, QWidget* parent)
    : QWidget(parent, Qt::Window), m_host(host), m_options(std::move(options)) {
    setObjectName(QStringLiteral("vertical_preview_fm"));
    setWindowTitle(QStringLiteral("縦書きプレビュー"));
    buildControls();
    // As large as a page pair wants, within the screen's room (its frame and title included).
    const QSize room = screen()->availableGeometry().size() - QSize(16, 48);
    resize(QSize(1100, 760).boundedTo(room).expandedTo(minimumSizeHint()));
    connect(&m_counting, &QFutureWatcher<QList<int>>::finished, this, &VerticalPreview::takeCounts);
}

VerticalPreview::~VerticalPreview() {
    if (m_stopCounting) m_stopCounting->store(true);
    m_counting.waitForFinished();
}

void VerticalPreview::buildControls() {
    // Two rows, what sets the pages above what shows and writes them, so that the window fits
    // a small screen or a large scale factor: one row of everything is wider than 1,100 pixels.
    auto* bar = new QHBoxLayout;
    const auto label = [this](QHBoxLayout* row, const QString& text) {
        row->addWidget(new QLabel(text, this));
    };
    const auto clickFocus = [](QWidget* w) { w->setFocusPolicy(Qt::ClickFocus); };

    label(bar, QStringLiteral("書式"));
    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("vp_format"));
    m_format->addItem(QStringLiteral("原稿用紙 20×20"), QStringLiteral("genkou"));
    m_format->addItem(QStringLiteral("応募形式 40×30 (A4横)"), QStringLiteral("a4-40x30"));
    m_format->addItem(QStringLiteral("字数×行数"), kCustomFormat);
    m_chars = new QSpinBox(this);
    m_chars->setObjectName(QStringLiteral("vp_chars"));
    m_lines = new QSpinBox(this);
    m_lines->setObjectName(QStringLiteral("vp_lines"));
    for (QSpinBox* box : {m_chars, m_lines}) {
        box->setRange(10, 60);
        clickFocus(box);
    }
    m_chars->setSuffix(QStringLiteral(" 字"));
    m_lines->setSuffix(QStringLiteral(" 行"));
    m_format->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    bar->addWidget(m_format);
    bar->addWidget(m_chars);
    bar->addWidget(m_lines);

    label(bar, QStringLiteral("書体"));
    m_face = new QComboBox(this);
    m_face->setObjectName(QStringLiteral("vp_face"));
    m_face->addItems(japaneseFaces());
    if (m_face->findText(m_options.face) < 0) m_face->addItem(m_options.face);
    m_face->setCurrentText(m_options.face);
    // A long face name must not widen the window; the open list shows it whole.
    m_face->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_face->setMinimumContentsLength(10);
    bar->addWidget(m_face);
    bar->addStretch();

    auto* row = new QHBoxLayout;

    m_name = new QCheckBox(QStringLiteral("セクション名"), this);
    m_name->setObjectName(QStringLiteral("vp_name"));
    m_name->setChecked(m_options.format.sectionNameFirst);
    m_indent = new QCheckBox(QStringLiteral("字下げを補う"), this);
    m_indent->setObjectName(QStringLiteral("vp_indent"));
    m_indent->setChecked(m_options.format.indentParagraphs);
    row->addWidget(m_name);
    row->addWidget(m_indent);

    m_scope = new QComboBox(this);
    m_scope->setObjectName(QStringLiteral("vp_scope"));
    m_scope->addItem(QStringLiteral("全セクション"));
    m_scope->addItem(QStringLiteral("編集中のセクション"));
    m_scope->setCurrentIndex(m_options.allSections ? 0 : 1);
    row->addWidget(m_scope);

    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("vp_zoom"));
    for (int z : kZooms)
        m_zoom->addItem(QStringLiteral("%1%").arg(z), z);
    row->addWidget(m_zoom);
    row->addStretch();

    auto* pdf = new QPushButton(QStringLiteral("PDFに書き出す"), this);
    pdf->setObjectName(QStringLiteral("vp_pdf"));
    auto* print = new QPushButton(QStringLiteral("印刷"), this);
    print->setObjectName(QStringLiteral("vp_print"));
    row->addWidget(pdf);
    row->addWidget(print);
    for (QWidget* w : std::initializer_list<QWidget*>{m_format, m_face, m_name, m_indent, m_scope,
                                                      m_zoom, pdf, print})
        clickFocus(w);

    m_spread = new SpreadView(this);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_spread);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_spread->installEventFilter(this);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("vp_status"));
    auto* keys = new QLabel(
        QStringLiteral("← / PageDown: 次のページ　→ / PageUp: 前のページ　Home / End: 最初 / 最後"),
        this);
    keys->setWordWrap(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_status);
    bottom->addStretch();
    bottom->addWidget(keys);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(row);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(bottom);

    const PageFormat& f = m_options.format;
    const int known = m_format->findData(f.name());
    m_format->setCurrentIndex(known >= 0 ? known : m_format->findData(kCustomFormat));
    m_chars->setValue(f.charsPerLine);
    m_lines->setValue(f.linesPerPage);
    const bool custom = m_format->currentData() == kCustomFormat;
    m_chars->setEnabled(custom);
    m_lines->setEnabled(custom);
    const auto* zoom = std::find(std::begin(kZooms), std::end(kZooms), m_options.zoom);
    m_zoom->setCurrentIndex(zoom != std::end(kZooms) ? int(zoom - std::begin(kZooms)) : 2);

    connect(m_format, &QComboBox::currentIndexChanged, this, &VerticalPreview::optionsChanged);
    connect(m_chars, &QSpinBox::valueChanged, this, &VerticalPreview::optionsChanged);
    connect(m_lines, &QSpinBox::valueChanged, this, &VerticalPreview::optionsChanged);
    connect(m_name, &QCheckBox::toggled, this, &VerticalPreview::optionsChanged);
    connect(m_indent, &QCheckBox::toggled, this, &VerticalPreview::optionsChanged);
    connect(m_scope, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_options.allSections = index == 0;
        keepOptions();
        reload();
    });
    connect(m_face, &QComboBox::currentTextChanged, this, &VerticalPreview::faceChanged);
    connect(m_zoom, &QComboBox::currentIndexChanged, this,
            [this] { setZoom(m_zoom->currentData().toInt()); });
    connect(pdf, &QPushButton::clicked, this, [this] { m_host.exportPdf(); });
    connect(print, &QPushButton::clicked, this, [this] { m_host.print(); });
}

void VerticalPreview::reload() {
    if (!m_font) m_font = m_host.font(m_options.face);
    const DocumentSnapshot snapshot = m_host.snapshot(m_options.allSections);
    takePages(snapshot);
    showPlace(m_pages->placeOf(snapshot.current, snapshot.caretByte));
}

void VerticalPreview::takePages(const DocumentSnapshot& snapshot) {
    m_pages = std::make_unique<DocumentPages>(snapshot.sections, format());
    m_shownSection = snapshot.documentSection;
    m_shownSectionCount = snapshot.documentSectionCount;
    startCounting(snapshot.sections);
}

bool VerticalPreview::follows(int section, int sectionCount) const {
    return m_pages && section == m_shownSection && sectionCount == m_shownSectionCount;
}

void VerticalPreview::sectionChanged(int section, SectionSource text) {
    if (!m_pages) return;
    // In the one-section view the section being edited is the only one.
    const int shown = m_options.allSections ? section : 0;
    m_pages->setSection(shown, std::move(text));
    m_pages->pagesOf(shown); // counted now, so that an older count in flight cannot undo it
    if (m_place.section == shown && m_place.page >= m_pages->pagesOf(shown))
        m_place = spreadStart(m_pages->placeOf(shown, std::numeric_limits<quint32>::max()));
    refresh();
}

void VerticalPreview::optionsChanged() {
    const bool custom = m_format->currentData() == kCustomFormat;
    m_chars->setEnabled(custom);
    m_lines->setEnabled(custom);
    const QString name = custom
                             ? QStringLiteral("%1x%2").arg(m_chars->value()).arg(m_lines->value())
                             : m_format->currentData().toString();
    m_options.format = PageFormat::fromName(name).value_or(PageFormat::genkou());
    m_options.format.sectionNameFirst = m_name->isChecked();
    m_options.format.indentParagraphs = m_indent->isChecked();
    keepOptions();
    if (!m_pages) return;
    // The same text stays in view.
    const int section = m_place.section;
    const quint32 offset = firstOffset(m_pages->pageAt(m_place));
    takePages(m_host.snapshot(m_options.allSections));
    showPlace(m_pages->placeOf(section, offset));
    fitSpread();
    m_spread->setFocus();
}

void VerticalPreview::faceChanged() {
    const QString face = m_face->currentText();
    if (face.isEmpty() || face == m_options.face) return;
    if (std::shared_ptr<VerticalFont> font = m_host.font(face)) {
        m_font = std::move(font);
        m_options.face = face;
        keepOptions();
    } else {
        const QSignalBlocker quiet(m_face);
        m_face->setCurrentText(m_options.face);
    }
    refresh();
    m_spread->setFocus();
}

void VerticalPreview::startCounting(const QList<SectionSource>& sections) {
    if (m_stopCounting) m_stopCounting->store(true);
    if (totalBytes(sections) < kCountAtOnceBytes) {
        const std::atomic<bool> never{false};
        m_pages->adoptCounts(countPages(sections, m_pages->format(), never));
        return;
    }
    m_stopCounting = std::make_shared<std::atomic<bool>>(false);
    m_counting.setFuture(
        QtConcurrent::run([sections, format = m_pages->format(), stop = m_stopCounting] {
            return countPages(sections, format, *stop);
        }));
}

void VerticalPreview::takeCounts() {
    if (!m_pages || m_counting.isCanceled()) return;
    const QList<int> counts = m_counting.result();
    // A count stopped half-way, or of another format, is no use.
    if (counts.size() != m_pages->sectionCount()) return;
    m_pages->adoptCounts(counts);
    refresh();
}

PagePlace VerticalPreview::spreadStart(PagePlace place) const {
    // A spread is an odd page on the right and the even one after it, as in a bound book.
    // While the pages before are still being counted the number is unknown, and the page
    // asked for leads.
    const std::optional<int> number = m_pages->numberOf(place);
    if (!number || *number % 2 == 0) return place;
    return m_pages->previous(place).value_or(place);
}

void VerticalPreview::showPlace(PagePlace place) {
    m_place = spreadStart(place);
    refresh();
    scrollToStart();
}

void VerticalPreview::scrollToStart() {
    // Reading starts at the top of the right page.
    m_scroll->horizontalScrollBar()->setValue(m_scroll->horizontalScrollBar()->maximum());
    m_scroll->verticalScrollBar()->setValue(0);
}

void VerticalPreview::refresh() {
    if (!m_pages) return;
    const auto shown = [this](PagePlace p) {
        const std::optional<int> n = m_pages->numberOf(p);
        return SpreadView::Shown{m_pages->pageAt(p), n ? *n + 1 : 0};
    };
    std::optional<SpreadView::Shown> left;
    if (const std::optional<PagePlace> next = m_pages->next(m_place)) left = shown(*next);
    m_spread->setPages(m_pages->format(), m_font.get(), shown(m_place), left);
    m_status->setText(statusText());
}

QString VerticalPreview::statusText() const {
    if (!m_pages) return {};
    const std::optional<int> p = m_pages->numberOf(m_place);
    const std::optional<int> n = m_pages->knownPageCount();
    const QString unknown = QStringLiteral("…");
    return QStringLiteral("%1 / %2").arg(p ? QString::number(*p + 1) : unknown,
                                         n ? QString::number(*n) : unknown);
}

void VerticalPreview::nextPage() {
    if (!m_pages) return;
    // A turn shows a whole new spread; the last one stays when it is already in view.
    const std::optional<PagePlace> left = m_pages->next(m_place);
    if (const std::optional<PagePlace> p = left ? m_pages->next(*left) : std::nullopt)
        showPlace(*p);
}

void VerticalPreview::previousPage() {
    if (!m_pages) return;
    if (const std::optional<PagePlace> p = m_pages->previous(m_place)) showPlace(*p);
}

void VerticalPreview::firstPage() {
    if (m_pages) showPlace(m_pages->first());
}

void VerticalPreview::lastPage() {
    if (m_pages) showPlace(m_pages->last());
}

void VerticalPreview::setZoom(int percent) {
    m_options.zoom = std::clamp(percent, kPreviewZoomMin, kPreviewZoomMax);
    keepOptions();
    const int index = m_zoom->findData(m_options.zoom);
    if (index >= 0 && index != m_zoom->currentIndex()) {
        const QSignalBlocker quiet(m_zoom);
        m_zoom->setCurrentIndex(index);
    }
    fitSpread();
}

void VerticalPreview::fitSpread() {
    const QSize viewport = m_scroll->maximumViewportSize();
    const QSize fit = m_spread->fittingSize(viewport) * (m_options.zoom / 100.0);
    m_spread->resize(fit.expandedTo(viewport));
    scrollToStart();
}

void VerticalPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitSpread();
}

bool VerticalPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        if (event->isAccepted()) return true;
    }
    return QWidget::eventFilter(watched, event);
}

void VerticalPreview::keyPressEvent(QKeyEvent* event) {
    // Pages are read right to left: the next one lies to the left.
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_PageDown:
        nextPage();
        break;
    case Qt::Key_Right:
    case Qt::Key_PageUp:
        previousPage();
        break;
    case Qt::Key_Home:
        firstPage();
        break;
    case Qt::Key_End:
        lastPage();
        break;
    case Qt::Key_Plus:
    case Qt::Key_Minus: {
        const int step = event->key() == Qt::Key_Plus ? 1 : -1;
        setZoom(m_zoom->itemData(std::clamp(m_zoom->currentIndex() + step, 0, m_zoom->count() - 1))
                    .toInt());
        break;
    }
    default:
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace pote::vertical
