#include "app/ui/search_commands.h"

#include "app/ui/app_context.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/mascot_reactions.h"
#include "core/section_store.h"
#include "editing/replace.h"
#include "editing/search_messages.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/find_dialog.h"
#include "editing/ui/pane_search.h"
#include "editing/ui/pane_undo.h"
#include "editing/ui/rep_fm.h"
#include "editing/ui/section_hits_window.h"
#include "sections/section_lists.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>

namespace pote {

namespace {

CaseMode caseMode(bool matchCase) {
    return matchCase ? CaseMode::Sensitive : CaseMode::Insensitive;
}

// The text of the pane from start over length (within one line: hits never span a break).
QString paneTextAt(const QTextDocument& document, const PaneRange& range) {
    const QTextBlock block = document.findBlock(range.start);
    return block.text().mid(range.start - block.position(), range.length);
}

} // namespace

SearchCommands::SearchCommands(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_pane(context.pane) {
    CommandRegistry& commands = m_context.commands;
    commands.registerCommand(Command::Find, [this] { Find1Click(); });
    commands.registerCommand(Command::FindNext, [this] { findAgain(); });
    commands.registerCommand(Command::Replace, [this] { nx_replaceClick(); });

    connect(&m_job, &SectionSearchJob::progressed, this,
            [this](int done, int sections, qint64 hits) {
                if (m_hits) m_hits->showProgress(searchingNote(done, sections, hits));
            });
    connect(&m_job, &SectionSearchJob::finished, this,
            [this](const std::shared_ptr<const SectionSearchOutcome>& outcome) {
                m_context.commands.runAsCommand([&] { searchFinished(outcome); });
            });
}

SearchCommands::~SearchCommands() = default;

FindDialog* SearchCommands::findDialog() const {
    return m_find;
}

SectionHitsWindow* SearchCommands::hitsWindow() const {
    return m_hits;
}

void SearchCommands::Find1Click() {
    if (!m_find) {
        m_find = new FindDialog(m_context.view.dialogParent());
        connect(m_find, &FindDialog::findNext, this,
                [this] { m_context.commands.runAsCommand([this] { Fd_find(); }); });
        connect(m_find, &FindDialog::searchAllSections, this,
                [this] { m_context.commands.runAsCommand([this] { searchAllSections(); }); });
    }
    m_find->present();
}

void SearchCommands::findAgain() {
    if (!m_find || m_find->findText().isEmpty()) {
        Find1Click();
        return;
    }
    Fd_find();
}

void SearchCommands::Fd_find() {
    // A ticked case box is honoured: an option the dialog shows must not be a dead one.
    const PaneSearcher searcher(*m_pane.document(), cp932::encode(m_find->findText()),
                                caseMode(m_find->matchCase()));
    const PaneRange hit = searcher.find(m_pane.textCursor().selectionEnd());
    if (!hit.found()) {
        // No wrap-around: the selection stays where it is.
        m_context.mascot.mascot_react(ReactionNotFound);
        return;
    }
    showHit(hit, true);
}

void SearchCommands::showHit(const PaneRange& hit, bool middle) {
    m_context.mascot.mascot_react(ReactionHit);
    m_pane.selectRange(hit.start, hit.length);
    if (middle) scroll_to_middle(m_pane);
    m_pane.setFocus();
}

void SearchCommands::nx_replaceClick() {
    Trep_fm dialog(m_context.view.dialogParent());
    connect(&dialog, &Trep_fm::findNext, this, [&] { find_btClick(dialog); });
    connect(&dialog, &Trep_fm::replaceNext, this, [&] { rep_btClick(dialog); });
    connect(&dialog, &Trep_fm::replaceAll, this, [&] { all_rep_btClick(dialog); });
    connect(&dialog, &Trep_fm::replaceSelection, this, [&] { sel_rep_btClick(dialog); });
    m_context.view.runModal(dialog);
}

void SearchCommands::find_btClick(Trep_fm& dialog) {
    const PaneSearcher searcher(*m_pane.document(), cp932::encode(dialog.findText()),
                                caseMode(dialog.matchCase()));
    const PaneRange hit = searcher.find(m_pane.textCursor().selectionEnd());
    if (!hit.found()) {
        m_context.mascot.mascot_react(ReactionNotFound);
        dialog.setNote(replaceNote(ReplaceNote::NotFound));
        return;
    }
    showHit(hit, false);
}

void SearchCommands::rep_btClick(Trep_fm& dialog) {
    // The case box counts here too: replacing an occurrence the user excluded by ticking it
    // would change text against their word.
    const PaneSearcher searcher(*m_pane.document(), cp932::encode(dialog.findText()),
                                caseMode(dialog.matchCase()));
    // From the selection's start, so that a selected occurrence is itself replaced.
    const PaneRange hit = searcher.find(m_pane.textCursor().selectionStart());
    if (!hit.found()) {
        m_context.mascot.mascot_react(ReactionNotFound);
        return;
    }
    showHit(hit, false);
    m_context.undo.take();
    QTextCursor cursor = m_pane.textCursor();
    cursor.insertText(dialog.replacementText());
    m_pane.setTextCursor(cursor);
    m_pane.setFocus();

    const PaneRange next = searcher.find(cursor.position());
    if (next.found())
        showHit(next, false);
    else
        dialog.setNote(replaceNote(ReplaceNote::NoMore));
}

void SearchCommands::all_rep_btClick(Trep_fm& dialog) {
    const QTextDocument& document = *m_pane.document();
    const PaneSearcher searcher(document, cp932::encode(dialog.findText()),
                                caseMode(dialog.matchCase()));
    const std::vector<PaneRange> hits = searcher.findAll(0, -1, kReplaceAllLimit);
    if (hits.empty()) {
        dialog.setNote(replaceNote(ReplaceNote::NoneToReplace));
        return;
    }
    m_context.undo.take();
    dialog.setNote(replacedCountNote(static_cast<int>(hits.size())));
    m_context.mascot.mascot_react(ReactionReplaced);

    const QString replacement = dialog.replacementText();
    const bool changes = std::any_of(hits.begin(), hits.end(), [&](const PaneRange& hit) {
        return paneTextAt(document, hit) != replacement;
    });
    if (!changes) return; // the same text again: the pane, its selection included, stays as it is
    // The text is rewritten as a whole would be: the caret goes back to the start.
    m_pane.selectRange(0, 0);
    replace_in_pane(m_pane.textCursor(), hits, replacement);
    m_pane.selectRange(0, 0); // a replacement at the very start pushed it along
    m_pane.ensureCursorVisible();
}

void SearchCommands::sel_rep_btClick(Trep_fm& dialog) {
    const QTextCursor selection = m_pane.textCursor();
    if (!selection.hasSelection()) return;
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    const PaneSearcher searcher(*m_pane.document(), cp932::encode(dialog.findText()),
                                caseMode(dialog.matchCase()));
    const std::vector<PaneRange> hits = searcher.findAll(start, end, kReplaceAllLimit);
    const QString replacement = dialog.replacementText();
    int newEnd = end;
    if (!hits.empty()) {
        m_context.undo.take();
        dialog.setNote(replacedCountNote(static_cast<int>(hits.size())));
        m_context.mascot.mascot_react(ReactionReplaced);
        m_pane.selectRange(start, 0);
        replace_in_pane(m_pane.textCursor(), hits, replacement);
        for (const PaneRange& hit : hits)
            newEnd += static_cast<int>(replacement.size()) - hit.length;
    }
    // The selection counts as replaced by its new text even when nothing in it matched: the
    // caret ends after it and the document counts as changed.
    m_pane.selectRange(newEnd, 0);
    m_context.store.setModified(true);
    m_pane.setFocus();
}

SectionHitsWindow* SearchCommands::ensureHitsWindow() {
    if (!m_hits) {
        m_hits = new SectionHitsWindow(m_context.view.dialogParent());
        connect(m_hits, &SectionHitsWindow::stopRequested, &m_job, &SectionSearchJob::cancel);
        connect(m_hits, &SectionHitsWindow::hitChosen, this,
                [this](int row) { m_context.commands.runAsCommand([=, this] { goToHit(row); }); });
    }
    return m_hits;
}

void SearchCommands::searchAllSections() {
    const SectionStore& store = m_context.store;
    SectionSearchRequest request;
    request.texts = search_snapshot(store, m_context.binding.paneBytesReencoded());
    request.names.reserve(static_cast<size_t>(store.count()));
    for (int i = 0; i < store.count(); ++i)
        request.names.push_back(store.section(i).name);
    request.pattern = cp932::encode(m_find->findText());
    request.mode = caseMode(m_find->matchCase());

    SectionHitsWindow* hits = ensureHitsWindow();
    hits->searching(searchingNote(0, store.count(), 0));
    hits->show();
    hits->raise();
    m_job.start(std::move(request));
}

void SearchCommands::searchFinished(const std::shared_ptr<const SectionSearchOutcome>& outcome) {
    SectionHitsWindow* hits = m_hits;
    if (!hits) return;
    QStringList labels;
    for (int i = 0; i < static_cast<int>(outcome->names.size()); ++i)
        labels << sectionEntryText(i, outcome->names[static_cast<size_t>(i)], EntrySpacing::Picker);
    const auto found = static_cast<qint64>(outcome->hits.size());
    hits->showOutcome(outcome, labels, searchedNote(found, outcome->truncated, outcome->cancelled));
    m_context.mascot.mascot_react(found > 0 ? ReactionHit : ReactionNotFound);
    // The list takes the keyboard only from the search's own windows: whoever went back to
    // writing while it ran goes on writing.
    const QWidget* active = QApplication::activeWindow();
    if (hits->isVisible() && (active == hits || active == m_find)) {
        hits->raise();
        hits->activateWindow();
    }
}

void SearchCommands::goToHit(int row) {
    const std::shared_ptr<const SectionSearchOutcome> outcome = m_hits->outcome();
    const ListedHit* listed = m_hits->hitAt(row);
    if (!outcome || !listed) return;
    SectionStore& store = m_context.store;
    const SectionHit& hit = listed->hit;
    if (hit.section >= store.count()) {
        m_context.mascot.mascot_react(ReactionNotFound);
        m_hits->setNote(sectionGoneNote());
        return;
    }
    if (hit.section != store.current) m_context.binding.section_switch(store.current, hit.section);

    // The text may have changed since the search: the hit where it was, else the next one
    // from its line on, else the first one in the section.
    const QTextDocument& document = *m_pane.document();
    const PaneSearcher searcher(document, outcome->pattern, outcome->mode);
    PaneRange found = searcher.findAt(static_cast<int>(hit.line), hit.offset - hit.lineStart);
    if (!found.found()) {
        const QTextBlock line = document.findBlockByNumber(static_cast<int>(hit.line));
        found = searcher.find(line.isValid() ? line.position() : 0);
    }
    if (!found.found()) found = searcher.find(0);
    if (!found.found()) {
        m_context.mascot.mascot_react(ReactionNotFound);
        m_hits->setNote(hitGoneNote());
        return;
    }
    QWidget* window = m_context.view.dialogParent();
    window->raise();
    window->activateWindow();
    showHit(found, true);
}

} // namespace pote
