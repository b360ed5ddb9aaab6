#include "app/ui/tax_commands.h"

#include "app/ui/app_context.h"
#include "app/ui/busy_cursor.h"
#include "app/ui/pane_insertion.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "editing/tax.h"
#include "editing/ui/edit_pane.h"
#include "settings/settings_values.h"

namespace pote {

TaxCommands::TaxCommands(AppContext& context) : m_context(context) {
    context.commands.registerCommand(Command::Tax, [this] { nx_hexpClick(); });
    context.commands.registerCommand(Command::InsertAmount, [this] { nx_hexp_insClick(); });
}

QByteArray TaxCommands::sourceBytes() const {
    const QTextCursor cursor = m_context.pane.textCursor();
    // Select all is the usual way to a large selection; the whole text is cheaper to take
    // below than piece by piece.
    const bool wholeText = cursor.selectionStart() == 0 &&
                           cursor.selectionEnd() == m_context.pane.document()->characterCount() - 1;
    if (cursor.hasSelection() && !wholeText) return cp932::encodeFromPane(cursor.selectedText());
    // An unedited pane shows the section's stored bytes: summing those spares converting a
    // text of many megabytes twice over.
    if (!m_context.binding.paneEdited())
        return m_context.store.section(m_context.store.current).text;
    return cp932::encodeFromPane(m_context.pane.toPlainText());
}

void TaxCommands::nx_hexpClick() {
    qint64 sum = 0;
    {
        BusyCursor busy;
        sum = yen_sum(sourceBytes());
    }
    const TaxReport report = tax_report(sum, m_context.settings.CTax);
    m_context.mascot.mascot_react(report.reaction);
    m_context.prompter.message(MessageKind::Confirmation, Answer::Yes, report.message);
    if (report.calculated) {
        m_amount = report.amount;
        m_amountAvailable = true;
    }
}

void TaxCommands::nx_hexp_insClick() {
    // Before any calculation there is nothing to report; both entries stay disabled until then.
    if (m_amountAvailable && selectionEmpty(m_context.pane))
        insertAtCaret(m_context, amount_report_text(m_amount));
}

} // namespace pote
