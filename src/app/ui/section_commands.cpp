#include "app/ui/section_commands.h"

#include "app/document_names.h"
#include "app/ui/app_context.h"
#include "app/ui/section_binding.h"
#include "core/section_store.h"
#include "editing/ui/pane_undo.h"
#include "sections/ui/group_set_fm.h"
#include "sections/ui/gswap_fm.h"
#include "sections/ui/select_fm.h"
#include "settings/settings_values.h"

namespace pote {

SectionCommands::SectionCommands(AppContext& context) : m_context(context) {
    CommandRegistry& commands = context.commands;
    commands.registerCommand(Command::SectionAdd, [this] { nx_sect_add_lastClick(); });
    commands.registerCommand(Command::SectionDelete, [this] { nx_sect_del_insClick(); });
    commands.registerCommand(Command::SectionSwap, [this] { nx_sect_swapClick(); });
    commands.registerCommand(Command::GroupSettings, [this] { nx_group_setClick(); });
    commands.registerCommand(Command::SectionPicker, [this] { select_bitbtClick(); });

    m_picker = new Tselect_fm(
        context.store,
        [this](int position) {
            m_context.commands.runAsCommand([this, position] {
                m_context.binding.section_switch(m_context.store.current, position);
            });
        },
        context.view.dialogParent());
    m_picker->setPlacement([this] { return m_context.view.pickerAnchor(); });
}

SectionCommands::~SectionCommands() {
    delete m_picker;
}

void SectionCommands::nx_sect_add_lastClick() {
    section_append();
}

bool SectionCommands::section_append() {
    SectionStore& store = m_context.store;
    if (store.isFull()) return false;
    leavePlainTextMode();
    const int position = store.appendEmpty();
    m_context.binding.section_switch(store.current, position);
    store.setModified(true);
    return true;
}

void SectionCommands::leavePlainTextMode() {
    SectionStore& store = m_context.store;
    if (!store.plainTextMode()) return;
    store.endPlainTextMode();
    // The title may name the text file by its whole path (a start with a file named): the
    // document is that file no more.
    m_context.view.setTitle(documentTitle(store.displayName));
}

void SectionCommands::nx_sect_del_insClick() {
    section_delete(m_context.store.current);
}

void SectionCommands::section_delete(int index) {
    SectionStore& store = m_context.store;
    if (index < 0 || index >= store.count() || store.count() <= 1) return;
    SectionBinding& binding = m_context.binding;
    // The snapshot holds the deleted section's text: undone into the section that moves up,
    // it would overwrite that one.
    m_context.undo.clear();
    binding.section_commit(store.current);
    store.removeAt(index);
    if (store.current >= store.count()) store.current = store.count() - 1;
    binding.section_load(store.current); // refreshes the number and the status bar itself
    store.setModified(true);
}

void SectionCommands::section_swap(int a, int b) {
    SectionStore& store = m_context.store;
    if (a == b || a < 0 || b < 0 || a >= store.count() || b >= store.count()) return;
    SectionBinding& binding = m_context.binding;
    m_context.undo.clear();
    binding.section_commit(store.current);
    store.swapNamesAndTexts(a, b);
    if (a == store.current || b == store.current)
        binding.section_load(store.current); // refreshes the number and the status bar itself
    store.setModified(true);
}

void SectionCommands::nx_sect_swapClick() {
    auto* dialog = new Tgswap_fm(
        m_context.store,
        [this](int a, int b) {
            m_context.commands.runAsCommand([=, this] { section_swap(a, b); });
        },
        m_context.view.dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void SectionCommands::nx_group_setClick() {
    auto* dialog =
        new Tgroup_set_fm(m_context.store, m_context.prompter, m_context.view.dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void SectionCommands::select_bitbtClick() {
    if (m_context.store.plainTextMode()) return;
    m_picker->setSingleClickMove(m_context.settings.SclickMove);
    m_picker->open();
}

} // namespace pote
