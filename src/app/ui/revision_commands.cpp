#include "app/ui/revision_commands.h"

#include "app/ui/app_context.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/mascot_reactions.h"
#include "core/section_store.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_search.h"
#include "revision/finding_places.h"
#include "revision/ui/revision_window.h"
#include "settings/settings_values.h"

#include <QTextBlock>
#include <QTextDocument>

namespace pote {

using revision::Finding;
using revision::ListedFinding;
using revision::RevisionOptions;

RevisionCommands::RevisionCommands(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_job(context, nullptr, BackgroundJob::Holds::Nothing) {
    context.commands.registerCommand(Command::Revision, [this] { nx_revisionClick(); });
}

RevisionCommands::~RevisionCommands() {
    m_job.stopAndWait();
    delete m_window;
}

void RevisionCommands::nx_revisionClick() {
    if (!m_window) {
        m_window = new revision::RevisionWindow(m_context.view.dialogParent());
        m_window->setWindowFlag(Qt::Tool);
        RevisionOptions options;
        for (revision::Rule rule : revision::kAllRules)
            options.set(rule, !m_context.settings.revision.off.contains(revision::ruleId(rule)));
        options.longSentence = m_context.settings.revision.length;
        m_window->setOptions(options);
        connect(m_window, &revision::RevisionWindow::runRequested, this, &RevisionCommands::run);
        connect(m_window, &revision::RevisionWindow::stopRequested, this, &RevisionCommands::stop);
        connect(m_window, &revision::RevisionWindow::findingActivated, this,
                &RevisionCommands::goToFinding);
        connect(m_window, &revision::RevisionWindow::ignoreRequested, this,
                &RevisionCommands::ignore);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void RevisionCommands::keepOptions(const RevisionOptions& options) {
    QStringList off;
    for (revision::Rule rule : revision::kAllRules)
        if (!options.on(rule)) off.append(revision::ruleId(rule));
    m_context.settings.revision.off = off;
    m_context.settings.revision.length = options.longSentence;
}

void RevisionCommands::run() {
    if (m_job.running() || !m_window) return;
    SectionStore& store = m_context.store;
    // The pane's latest words are what is checked; the texts are shared, not copied.
    m_context.binding.section_commit(store.current);
    auto sections = std::make_shared<std::vector<revision::SectionToCheck>>();
    const Document& document = store.document();
    if (m_window->allSections()) {
        for (int i = 0; i < document.count(); ++i)
            sections->push_back({i, document.section(i).text});
    } else {
        sections->push_back({store.current, document.section(store.current).text});
    }
    const RevisionOptions options = m_window->options();
    keepOptions(options);

    m_window->setRunning(true);
    const QPointer<revision::RevisionWindow> window = m_window;
    const auto progress = [this, window](int done, int total) {
        m_job.postProgress([window, done, total] {
            if (window) window->setProgress(done, total);
        });
    };
    m_job.start(
        [sections, options, progress](const BackgroundJob::StopFlag& stop) {
            return std::make_shared<const revision::RevisionOutcome>(
                revision::checkSections(*sections, options, &stop, progress));
        },
        [this, sections](const std::shared_ptr<const revision::RevisionOutcome>& outcome) {
            m_job.finish([this, outcome, sections] { finished(outcome, sections); });
        });
}

void RevisionCommands::finished(
    const std::shared_ptr<const revision::RevisionOutcome>& outcome,
    const std::shared_ptr<const std::vector<revision::SectionToCheck>>& checked) {
    if (!m_window) return;
    m_window->setRunning(false);
    const QStringList& ignored = ignoredHere();
    std::vector<ListedFinding> listed;
    // Each section's findings are in order: one pass over its text places them all.
    const std::vector<Finding>& findings = outcome->findings;
    for (size_t from = 0; from < findings.size();) {
        const int section = findings[from].section;
        size_t to = from;
        std::vector<quint32> offsets;
        for (; to < findings.size() && findings[to].section == section; ++to)
            offsets.push_back(findings[to].offset);
        QByteArrayView text;
        for (const revision::SectionToCheck& s : *checked)
            if (s.section == section) text = s.text;
        const std::vector<revision::LineColumn> places = revision::lineColumns(text, offsets);
        for (size_t k = from; k < to; ++k) {
            if (ignored.contains(revision::ignoreKey(findings[k]))) continue;
            listed.push_back({findings[k], places[k - from].line + 1, places[k - from].column + 1});
        }
        from = to;
    }
    QString note = outcome->skipped;
    if (outcome->cancelled)
        note = (note.isEmpty() ? QString() : note + QLatin1Char('\n')) +
               QStringLiteral("途中でやめたにゃ。そこまでに見つけた分だけ並べるにゃん。");
    m_context.mascot.mascot_react(listed.empty() ? ReactionNotFound : ReactionHit);
    m_window->showFindings(std::move(listed), note);
}

void RevisionCommands::goToFinding(int index) {
    if (!m_window || index < 0 || size_t(index) >= m_window->findings().size()) return;
    const ListedFinding& listed = m_window->findings()[size_t(index)];
    SectionStore& store = m_context.store;
    if (listed.finding.section >= store.count()) {
        m_context.mascot.mascot_react(ReactionNotFound);
        m_window->setNote(QStringLiteral("そのセクションはもうないにゃ。"));
        return;
    }
    if (listed.finding.section != store.current)
        m_context.binding.section_switch(store.current, listed.finding.section);
    // The line as it is now: edits elsewhere since the run do not move the place.
    EditPane& pane = m_context.pane;
    const QTextBlock block = pane.document()->findBlockByNumber(int(listed.line - 1));
    if (!block.isValid()) {
        m_context.mascot.mascot_react(ReactionNotFound);
        m_window->setNote(QStringLiteral("その行はもうないにゃ。"));
        return;
    }
    const QString line = block.text();
    const qsizetype start = cp932::byteToUnitOffset(line, listed.column - 1);
    const qsizetype end =
        cp932::byteToUnitOffset(line, listed.column - 1 + qint64(listed.finding.length));
    m_context.mascot.mascot_react(ReactionHit);
    QWidget* window = m_context.view.dialogParent();
    window->raise();
    window->activateWindow();
    pane.selectRange(block.position() + int(start), int(end - start));
    scroll_to_middle(pane);
    pane.setFocus();
}

QStringList& RevisionCommands::ignoredHere() {
    return m_context.settings.revision.ignored[m_context.store.documentPath];
}

void RevisionCommands::ignore(int index) {
    if (!m_window || index < 0 || size_t(index) >= m_window->findings().size()) return;
    const QString key = revision::ignoreKey(m_window->findings()[size_t(index)].finding);
    QStringList& ignored = ignoredHere();
    if (!ignored.contains(key)) ignored.append(key);
    m_window->removeIgnored(key);
}

} // namespace pote
