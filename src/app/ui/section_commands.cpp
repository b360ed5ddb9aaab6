#include "app/ui/section_commands.h"

#include "app/ui/document_host.h"
#include "app/ui/section_binding.h"
#include "core/section_store.h"
#include "sections/picker_geometry.h"
#include "sections/ui/group_set_fm.h"
#include "sections/ui/gswap_fm.h"
#include "sections/ui/select_fm.h"

#include <QMainWindow>
#include <QMenuBar>

namespace pote {

SectionCommands::SectionCommands(DocumentHost& host) : m_host(host) {
    m_host.registerCommand(Command::SectionAdd, [this] { nx_sect_add_lastClick(); });
    m_host.registerCommand(Command::SectionDelete, [this] { nx_sect_del_insClick(); });
    m_host.registerCommand(Command::SectionSwap, [this] { nx_sect_swapClick(); });
    m_host.registerCommand(Command::GroupSettings, [this] { nx_group_setClick(); });
    m_host.registerCommand(Command::SectionPicker, [this] { select_bitbtClick(); });

    m_picker = new Tselect_fm(
        m_host.store(),
        [this](int position) { m_host.binding().section_switch(m_host.store().current, position); },
        m_host.window());
    m_picker->setPlacement([this] { return pickerPosition(); });
}

SectionCommands::~SectionCommands() { delete m_picker; }

void SectionCommands::nx_sect_add_lastClick() { section_append(); }

bool SectionCommands::section_append() {
    SectionStore& store = m_host.store();
    if (store.isFull())
        return false;
    store.endPlainTextMode();
    const int position = store.appendEmpty();
    m_host.binding().section_switch(store.current, position);
    store.modified = true;
    m_host.tool_state_refresh();
    return true;
}

void SectionCommands::nx_sect_del_insClick() { section_delete(m_host.store().current); }

void SectionCommands::section_delete(int index) {
    SectionStore& store = m_host.store();
    if (index < 0 || index >= store.count() || store.count() <= 1)
        return;
    SectionBinding& binding = m_host.binding();
    binding.section_commit(store.current);
    store.removeAt(index);
    if (store.current >= store.count())
        store.current = store.count() - 1;
    binding.section_load(store.current); // refreshes the number and the status bar itself
    store.modified = true;
    m_host.tool_state_refresh();
}

void SectionCommands::section_swap(int a, int b) {
    SectionStore& store = m_host.store();
    if (a == b || a < 0 || b < 0 || a >= store.count() || b >= store.count())
        return;
    SectionBinding& binding = m_host.binding();
    m_host.undo_clear();
    binding.section_commit(store.current);
    store.swapNamesAndTexts(a, b);
    if (a == store.current || b == store.current)
        binding.section_load(store.current); // refreshes the number and the status bar itself
    store.modified = true;
    m_host.tool_state_refresh();
}

void SectionCommands::nx_sect_swapClick() {
    auto* dialog = new Tgswap_fm(m_host.store(), [this](int a, int b) { section_swap(a, b); },
                                 m_host.window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void SectionCommands::nx_group_setClick() {
    auto* dialog = new Tgroup_set_fm(m_host.store(), m_host.prompter(), m_host.window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, dialog, [this] { m_host.tool_state_refresh(); });
    dialog->open();
}

void SectionCommands::select_bitbtClick() {
    if (m_host.store().plainTextMode)
        return;
    m_picker->open();
}

QPoint SectionCommands::pickerPosition() const {
    QWidget* window = m_host.window();
    const QWidget* panel = window->findChild<QWidget*>(QStringLiteral("select_panel"));
    const QWidget* section = window->findChild<QWidget*>(QStringLiteral("pa_section"));
    const QWidget* button = window->findChild<QWidget*>(QStringLiteral("select_bitbt"));
    if (!panel || !section || !button)
        return window->geometry().topLeft();
    // The client area is what lies below the menu bar, as the panel positions count from there.
    QSize client = window->size();
    if (const auto* main = qobject_cast<QMainWindow*>(window); main && main->menuWidget())
        client.rheight() -= main->menuWidget()->height();
    return pote::pickerPosition(window->frameGeometry(), client, panel->x(), section->height(),
                                button->geometry());
}

} // namespace pote
