#include "app/ui/section_binding.h"

#include "app/ui/app_context.h"
#include "app/ui/busy_cursor.h"
#include "app/ui/pane_moves.h"
#include "core/byte_keeping_encode.h"
#include "core/cp932.h"
#include "core/mascot_reactions.h"
#include "core/section_store.h"
#include "core/text_convert.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/notice_bubble.h"
#include "editing/ui/pane_undo.h"
#include "editing/unencodable_notice.h"
#include "settings/settings_values.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

namespace pote {

SectionBinding::SectionBinding(Services services, EditPane* edit, QLineEdit* sec_name_ed,
                               QLabel* secno_view, QObject* parent)
    : QObject(parent), m_services(services), m_store(services.store), m_edit(edit),
      m_nameEdit(sec_name_ed), m_secnoView(secno_view),
      m_moves(new PaneMoves(
          *edit, services.undo, [this] { return paneBytes(); }, this)) {
    connect(m_edit, &EditPane::textEdited, this, &SectionBinding::Ed_ch);
    // Only the user's edits: setting the edit while loading a section must never count as a
    // change, even for names whose bytes re-encode differently.
    connect(m_nameEdit, &QLineEdit::textEdited, this, &SectionBinding::secn_ch);
}

bool SectionBinding::paneEdited() const {
    return m_edit->edited();
}

QByteArray SectionBinding::paneBytesReencoded() const {
    return paneEdited() ? cp932::encodeFromPane(m_edit->toPlainText())
                        : m_store.section(m_store.current).text;
}

QByteArray SectionBinding::paneBytes() const {
    return paneBytes(m_store.current);
}

QByteArray SectionBinding::paneBytes(int pos) const {
    // What the edit left alone keeps its stored bytes, duplicate codes included, and so does
    // what it moved.
    const QByteArray& stored = m_store.section(pos).text;
    return paneEdited()
               ? encodeKeepingStoredBytes(stored, m_edit->toPlainText(), m_moves->carried())
               : stored;
}

void SectionBinding::section_commit(int pos) {
    QByteArray bytes = paneBytes(pos);
    m_store.section(pos).text =
        expand_tabs(strip_trailing_nul(std::move(bytes)), m_services.settings.TABWidth);
    m_moves->storeChanged();
}

void SectionBinding::section_load(int pos) {
    BusyCursor busy;
    SectionStore& store = m_store;
    const Section& section = store.section(pos);
    store.loading = true;
    m_moves->storeChanged();
    m_edit->loadBytes(section.text);
    m_nameEdit->setText(cp932::decode(section.name));
    m_nameEdit->setCursorPosition(0);
    m_edit->setFontAndTabStops(m_edit->font(), m_services.settings.TABWidth);
    m_edit->selectRange(0, 0);
    store.loading = false;
    emit paneLoaded(section.text);
    secno_refresh();
    m_services.view.status_update();
}

void SectionBinding::section_switch(int from, int to) {
    BusyCursor busy;
    m_services.undo.clear();
    section_commit(from);
    m_store.current = to;
    section_load(to); // refreshes the number and the status bar itself
    m_services.mascot.mascot_react(ReactionSectionSwitched);
}

void SectionBinding::secno_refresh() {
    m_secnoView->setText(QStringLiteral("No.") + QString::number(m_store.current + 1));
}

void SectionBinding::secn_ch(const QString& text) {
    SectionStore& store = m_store;
    QString shown = text;
    if (!cp932::canEncode(text)) {
        // Show what will be stored, keeping the caret where it was, and say what was lost.
        const int caret = m_nameEdit->cursorPosition();
        shown = cp932::toEncodable(text);
        m_nameEdit->setText(shown);
        m_nameEdit->setCursorPosition(qMin(caret, static_cast<int>(shown.size())));
        if (const QStringList lost = cp932::lostCharacters(text); !lost.isEmpty())
            showNotice(*m_nameEdit, QPoint(0, m_nameEdit->height()), unencodableNotice(lost));
    }
    const QByteArray bytes = cp932::encode(shown);
    QByteArray& name = store.section(store.current).name;
    if (bytes != name) {
        name = bytes;
        store.setModified(true);
    }
}

void SectionBinding::Ed_ch() {
    if (!m_store.loading) m_store.setModified(true);
}

} // namespace pote
