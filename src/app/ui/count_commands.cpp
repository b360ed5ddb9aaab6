#include "app/ui/count_commands.h"

#include "app/ui/app_context.h"
#include "app/ui/busy_cursor.h"
#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "core/section_store.h"
#include "editing/ui/character_count_dialog.h"
#include "editing/ui/edit_pane.h"

namespace pote {

CountCommands::CountCommands(AppContext& context) : m_context(context) {
    m_context.commands.registerCommand(Command::CharacterCount, [this] { nx_char_countClick(); });
}

CountsShown CountCommands::counts() const {
    CountsShown shown;
    const QTextCursor cursor = m_context.pane.textCursor();
    if (cursor.hasSelection())
        shown.selection = count_characters(cp932::encodeFromPane(cursor.selectedText()));
    const QByteArray pane = m_context.binding.paneBytesReencoded();
    shown.section = count_characters(pane);
    const SectionStore& store = m_context.store;
    for (int i = 0; i < store.count(); ++i)
        shown.document +=
            i == store.current ? shown.section : count_characters(store.section(i).text);
    return shown;
}

void CountCommands::nx_char_countClick() {
    std::optional<CharacterCountDialog> dialog;
    {
        BusyCursor busy;
        dialog.emplace(counts(), m_context.view.dialogParent());
    }
    m_context.view.runModal(*dialog);
}

} // namespace pote
