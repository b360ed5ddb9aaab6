#include "app/ui/edit_commands.h"

#include "app/ui/app_context.h"
#include "app/ui/pane_moves.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/mascot_reactions.h"
#include "core/section_store.h"
#include "core/text_convert.h"
#include "editing/line_transforms.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "settings/settings_values.h"

#include <QTextBlock>
#include <QTextDocument>

namespace pote {

EditCommands::EditCommands(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_pane(context.pane) {
    m_pane.setTabWidthSource([this] { return m_context.settings.TABWidth; });
    // Line breaks of any kind stay as they are until the pane reads them.
    m_pane.pasteFilter = [this](const QString& text) {
        return expandTabsInPaneText(text, m_context.settings.TABWidth);
    };
    connect(&m_pane, &EditPane::keyDown, this, &EditCommands::ed_kd);
    connect(&m_pane, &EditPane::mousePressed, this, [this] { m_context.view.status_update(); });
    connect(&m_pane, &EditPane::lineCountsSettled, this,
            [this] { m_context.view.status_update(); });
    // The line total of a long text is known once all of it has arrived.
    connect(&m_pane, &EditPane::textLoaded, this, [this] { m_context.view.status_update(); });
    // A caret move is a selection change too.
    connect(&m_pane, &EditPane::selectionChanged, this, &EditCommands::sel_ch);
    connect(&m_pane, &EditPane::cursorPositionChanged, this, &EditCommands::sel_ch);
    registerCommands();
}

EditCommands::~EditCommands() {
    // The pane outlives its commands while the window takes itself apart.
    m_pane.pasteFilter = nullptr;
    m_pane.setTabWidthSource(nullptr);
}

void EditCommands::registerCommands() {
    CommandRegistry& commands = m_context.commands;
    commands.registerCommand(Command::Undo, [this] { nx_edit_undoClick(); });
    commands.registerCommand(Command::Cut, [this] { nx_edcutClick(); });
    commands.registerCommand(Command::Copy, [this] { nx_edcopyClick(); });
    commands.registerCommand(Command::Paste, [this] { nx_edpasteClick(); });
    commands.registerCommand(Command::EditDelete, [this] { nx_ed_delClick(); });
    commands.registerCommand(Command::PopupDelete, [this] { pop_eddelClick(); });
    commands.registerCommand(Command::SelectAll, [this] { N12Click(); });
    commands.registerCommand(Command::BlankLineCut, [this] { nx_linecutClick(); });
    commands.registerCommand(Command::ShiftRight, [this] { pop_right_moveClick(); });
}

void EditCommands::ed_kd(bool changesText) {
    m_context.view.status_update();
    // Only a key that changes the text takes the snapshot, just before it does. A key that
    // leaves the text alone (Ctrl going down before Ctrl+Z, the Ctrl+Z itself when it reaches
    // the pane, a caret move) must not replace the one snapshot there is to go back to.
    if (changesText) m_context.undo.take();
}

void EditCommands::sel_ch() {
    // The store filling the pane is no caret move of the user's.
    if (m_context.store.loading) return;
    const int reaction = m_context.mascot.currentReaction();
    if (reaction == ReactionIdle || reaction == ReactionDozing || reaction == ReactionAsleep)
        m_context.mascot.mascot_react(ReactionCaretMoved);
}

void EditCommands::nx_edit_undoClick() {
    m_context.undo.swap();
}

void EditCommands::nx_edcutClick() {
    m_context.undo.take();
    m_context.binding.moves().cutting();
    m_pane.cut();
}

void EditCommands::nx_edcopyClick() {
    m_pane.copy();
}

void EditCommands::nx_edpasteClick() {
    m_context.undo.take();
    m_context.binding.moves().pasting();
    m_pane.paste();
}

void EditCommands::removeSelection() {
    QTextCursor cursor = m_pane.textCursor();
    cursor.removeSelectedText();
    m_pane.setTextCursor(cursor);
}

void EditCommands::nx_ed_delClick() {
    m_context.undo.take();
    removeSelection();
}

void EditCommands::pop_eddelClick() {
    removeSelection();
}

void EditCommands::N12Click() {
    m_pane.selectAll();
}

void EditCommands::nx_linecutClick() {
    m_context.undo.take();
    QTextCursor cursor = m_pane.textCursor();
    const QByteArray selected = cp932::encodeFromPane(cursor.selectedText());
    cursor.insertText(cp932::decodeForPane(blank_line_cut(selected)));
    m_pane.setTextCursor(cursor);
}

void EditCommands::pop_right_moveClick() {
    m_context.undo.take();
    const QTextCursor selection = m_pane.textCursor();
    if (m_pane.wraps())
        shiftRightDisplayedLines(selection.selectionStart(), selection.selectionEnd());
    else
        shiftRightBlocks(selection.selectionStart(), selection.selectionEnd());
    // The lines were rewritten as a whole: like any whole-text rewrite, the caret goes back to
    // the start of the text.
    m_pane.selectRange(0, 0);
    m_pane.ensureCursorVisible();
}

void EditCommands::shiftRightBlocks(int selectionStart, int selectionEnd) {
    // Without wrap a displayed line is a block: the lines from the selection's first to its
    // last go through the byte transformation in one pass.
    const QTextDocument* document = m_pane.document();
    const QTextBlock first = document->findBlock(selectionStart);
    const QTextBlock last = document->findBlock(selectionEnd);
    QTextCursor lines = m_pane.textCursor();
    lines.setPosition(first.position());
    lines.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    const QByteArray bytes = cp932::encodeFromPane(lines.selectedText());
    lines.insertText(cp932::decodeForPane(shift_right(bytes)));
}

void EditCommands::shiftRightDisplayedLines(int selectionStart, int selectionEnd) {
    // With wrap on, every displayed line gets the spaces, and each insertion may wrap its
    // paragraph anew: the lines are taken by number, the next one's start read after each
    // insertion.
    EditPane::LineRef line = m_pane.lineRefAt(selectionStart);
    const EditPane::LineRef last = m_pane.lineRefAt(selectionEnd);
    qint64 count = 1;
    for (EditPane::LineRef walk = line; !(walk == last) && m_pane.nextLine(walk);)
        ++count;
    for (qint64 i = 0; i < count; ++i) {
        QTextCursor at = m_pane.textCursor();
        at.setPosition(m_pane.startOf(line));
        at.insertText(QStringLiteral("    "));
        if (i + 1 < count && !m_pane.nextLine(line)) break;
    }
}

} // namespace pote
