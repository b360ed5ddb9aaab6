#include "revision/ui/revision_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pote::revision {

namespace {

constexpr int kIndexRole = Qt::UserRole + 1;
// A run-on sentence is listed by its beginning.
constexpr qsizetype kShownCharacters = 24;

QString shortText(const QString& text) {
    QString shown =
        text.size() > kShownCharacters ? text.left(kShownCharacters) + QStringLiteral("…") : text;
    // Stray bytes and controls show as what they are not: nothing.
    for (QChar& c : shown)
        if (c.unicode() < 0x20 || c.isSurrogate()) c = QChar(u'・');
    return shown;
}

} // namespace

RevisionWindow::RevisionWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("推敲"));
    setObjectName(QStringLiteral("Trevision_fm"));

    auto* rules = new QGroupBox(QStringLiteral("調べること"), this);
    auto* grid = new QGridLayout(rules);
    for (int i = 0; i < kRuleCount; ++i) {
        m_rules[size_t(i)] = new QCheckBox(ruleCaption(kAllRules[size_t(i)]), rules);
        m_rules[size_t(i)]->setObjectName(QStringLiteral("cb_") + ruleId(kAllRules[size_t(i)]));
        grid->addWidget(m_rules[size_t(i)], i / 4, i % 4);
    }
    auto* lengthRow = new QHBoxLayout;
    m_length = new QSpinBox(rules);
    m_length->setObjectName(QStringLiteral("length_ed"));
    m_length->setRange(kMinLongSentence, kMaxLongSentence);
    m_length->setSuffix(QStringLiteral(" 文字"));
    lengthRow->addWidget(new QLabel(QStringLiteral("長い文とするのは"), rules));
    lengthRow->addWidget(m_length);
    lengthRow->addWidget(new QLabel(QStringLiteral("より長い文"), rules));
    lengthRow->addStretch();
    grid->addLayout(lengthRow, 2, 0, 1, 4);

    m_scope = new QComboBox(this);
    m_scope->setObjectName(QStringLiteral("scope_cb"));
    m_scope->addItems({QStringLiteral("編集中のセクション"), QStringLiteral("すべてのセクション")});
    m_scope->setCurrentIndex(1);
    m_run = new QPushButton(QStringLiteral("調べる(&R)"), this);
    m_run->setObjectName(QStringLiteral("run_bt"));
    m_run->setDefault(true);
    m_stop = new QPushButton(QStringLiteral("中止"), this);
    m_stop->setObjectName(QStringLiteral("stop_bt"));
    m_stop->setEnabled(false);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(m_scope);
    runRow->addWidget(m_run);
    runRow->addWidget(m_stop);
    runRow->addWidget(m_progress, 1);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("finding_list"));
    m_list->setColumnCount(3);
    m_list->setHeaderLabels(
        {QStringLiteral("場所"), QStringLiteral("文字"), QStringLiteral("ぽてまる君から")});
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Interactive);
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(1, 180);
    m_list->setUniformRowHeights(true);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lb_note"));
    m_note->setWordWrap(true);
    m_ignore = new QPushButton(QStringLiteral("無視する(&I)"), this);
    m_ignore->setObjectName(QStringLiteral("ignore_bt"));
    m_ignore->setToolTip(QStringLiteral("この文書では、同じ規則で同じ文字をもう指摘しないにゃ"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_note, 1);
    bottomRow->addWidget(m_ignore);
    bottomRow->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rules);
    layout->addLayout(runRow);
    layout->addWidget(m_list, 1);
    layout->addLayout(bottomRow);
    resize(760, 520);

    connect(m_run, &QPushButton::clicked, this, &RevisionWindow::runRequested);
    connect(m_stop, &QPushButton::clicked, this, &RevisionWindow::stopRequested);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Double click and Enter alike.
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QVariant index = item->data(0, kIndexRole);
        if (index.isValid()) emit findingActivated(index.toInt());
    });
    connect(m_ignore, &QPushButton::clicked, this, [this] {
        const int index = currentIndex();
        if (index >= 0) emit ignoreRequested(index);
    });
    setOptions(RevisionOptions{});
}

RevisionOptions RevisionWindow::options() const {
    RevisionOptions options;
    for (int i = 0; i < kRuleCount; ++i)
        options.set(kAllRules[size_t(i)], m_rules[size_t(i)]->isChecked());
    options.longSentence = m_length->value();
    return options;
}

void RevisionWindow::setOptions(const RevisionOptions& options) {
    for (int i = 0; i < kRuleCount; ++i)
        m_rules[size_t(i)]->setChecked(options.on(kAllRules[size_t(i)]));
    m_length->setValue(options.longSentence);
}

bool RevisionWindow::allSections() const {
    return m_scope->currentIndex() == 1;
}

void RevisionWindow::setRunning(bool running) {
    m_run->setEnabled(!running);
    m_stop->setEnabled(running);
    m_scope->setEnabled(!running);
    if (running) {
        m_progress->setRange(0, 1);
        m_progress->setValue(0);
        setNote(QStringLiteral("調べてるにゃ……"));
    }
}

void RevisionWindow::setProgress(int done, int total) {
    m_progress->setRange(0, qMax(total, 1));
    m_progress->setValue(done);
}

void RevisionWindow::showFindings(std::vector<ListedFinding> findings, const QString& note) {
    m_findings = std::move(findings);
    m_hidden.assign(m_findings.size(), false);
    rebuildList();
    QString text = m_findings.empty() ? QStringLiteral("気になるところは見つからなかったにゃ。")
                                      : QStringLiteral("%1か所、見てほしいところがあるにゃ。"
                                                       "ダブルクリックでそこへ行くにゃん。")
                                            .arg(m_findings.size());
    if (!note.isEmpty()) text = note + QLatin1Char('\n') + text;
    setNote(text);
}

void RevisionWindow::removeIgnored(const QString& key) {
    for (size_t i = 0; i < m_findings.size(); ++i)
        if (!m_hidden[i] && ignoreKey(m_findings[i].finding) == key) m_hidden[i] = true;
    rebuildList();
}

void RevisionWindow::setNote(const QString& note) {
    m_note->setText(note);
}

const ListedFinding* RevisionWindow::findingAt(const QTreeWidgetItem* item) const {
    const QVariant index = item ? item->data(0, kIndexRole) : QVariant();
    if (!index.isValid() || index.toInt() < 0 || size_t(index.toInt()) >= m_findings.size())
        return nullptr;
    return &m_findings[size_t(index.toInt())];
}

int RevisionWindow::currentIndex() const {
    const QTreeWidgetItem* item = m_list->currentItem();
    const QVariant index = item ? item->data(0, kIndexRole) : QVariant();
    return index.isValid() ? index.toInt() : -1;
}

void RevisionWindow::rebuildList() {
    m_list->clear();
    std::array<QTreeWidgetItem*, kRuleCount> groups{};
    std::array<int, kRuleCount> counts{};
    // Rules in their fixed order, findings in the order of the text.
    for (int r = 0; r < kRuleCount; ++r) {
        groups[size_t(r)] = new QTreeWidgetItem(m_list);
        groups[size_t(r)]->setFirstColumnSpanned(true);
    }
    for (size_t i = 0; i < m_findings.size(); ++i) {
        if (m_hidden[i]) continue;
        const ListedFinding& listed = m_findings[i];
        const int r = static_cast<int>(listed.finding.rule);
        auto* item = new QTreeWidgetItem(groups[size_t(r)]);
        item->setText(0, QStringLiteral("No.%1  %2行 %3桁")
                             .arg(listed.finding.section + 1, 3, 10, QLatin1Char('0'))
                             .arg(listed.line)
                             .arg(listed.column));
        item->setText(1, shortText(listed.finding.text));
        item->setText(2, listed.finding.message);
        item->setToolTip(2, listed.finding.suggestion.isEmpty()
                                ? listed.finding.message
                                : listed.finding.message + QStringLiteral("\n→ ") +
                                      listed.finding.suggestion);
        item->setData(0, kIndexRole, int(i));
        ++counts[size_t(r)];
    }
    for (int r = kRuleCount - 1; r >= 0; --r) {
        if (counts[size_t(r)] == 0) {
            delete groups[size_t(r)];
            continue;
        }
        groups[size_t(r)]->setText(0, QStringLiteral("%1（%2）")
                                          .arg(ruleCaption(kAllRules[size_t(r)]))
                                          .arg(counts[size_t(r)]));
        groups[size_t(r)]->setExpanded(true);
    }
}

} // namespace pote::revision
