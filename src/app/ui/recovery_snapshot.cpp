#include "app/ui/recovery_snapshot.h"

#include "app/ui/pane_moves.h"
#include "app/ui/section_binding.h"
#include "core/section_store.h"
#include "editing/ui/edit_pane.h"

#include <QDateTime>
#include <QTextCursor>
#include <QTextDocument>

namespace pote {

namespace {

int paneLength(const EditPane& pane) {
    return pane.document()->characterCount() - 1;
}

// A selection's text in the form toPlainText gives the whole text.
QString plainForm(QString text) {
    for (QChar& c : text) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xFDD0: // the toolkit's frame markers
        case 0xFDD1:
            c = u'\n';
            break;
        case QChar::Nbsp:
            c = u' ';
            break;
        default:
            break;
        }
    }
    return text;
}

} // namespace

PaneTracker::PaneTracker(EditPane& pane, SectionBinding& binding, QObject* parent)
    : QObject(parent), m_pane(pane), m_binding(binding) {
    connect(&pane, &EditPane::textEdited, this,
            [this](int position, int removed, int added, int length) {
                ++m_changes;
                m_edits.change(position, removed, added, length);
            });
    // A load is tracked from when all of it has arrived; its bytes come from the binding,
    // which announces them once the load has begun.
    connect(&pane, &EditPane::aboutToReplaceText, this, [this] { m_edits.invalidate(); });
    connect(&pane, &EditPane::textLoaded, this, [this](int length) {
        ++m_changes;
        m_edits.reset(length);
    });
    connect(&binding, &SectionBinding::paneLoaded, this,
            [this](const QByteArray& bytes) { m_loaded = bytes; });
}

std::optional<recovery::PaneCopy> PaneTracker::copy() const {
    if (!m_binding.paneEdited()) return std::nullopt;
    if (!m_edits.valid() || m_edits.length() != paneLength(m_pane))
        return recovery::PaneCopy::wholeText(m_pane.toPlainText());
    recovery::PaneCopy copy;
    copy.loaded = m_loaded;
    copy.loadedUnits = m_edits.loadedLength();
    copy.stretches = m_edits.stretches();
    copy.texts.reserve(copy.stretches.size());
    QTextCursor cursor = m_pane.textCursor();
    for (const recovery::EditedStretch& s : copy.stretches) {
        cursor.setPosition(int(s.start));
        cursor.setPosition(int(s.start + s.length), QTextCursor::KeepAnchor);
        copy.texts.push_back(plainForm(cursor.selectedText()));
    }
    return copy;
}

std::vector<QByteArray> PaneTracker::carried() const {
    return m_binding.moves().carried();
}

recovery::RecoveryJob takeRecoverySnapshot(const SectionStore& store, const PaneTracker& pane,
                                           int tabWidth, const QString& path) {
    std::optional<recovery::PaneCopy> paneCopy = pane.copy();
    std::vector<QByteArray> carried;
    if (paneCopy) carried = pane.carried();
    return {path,
            recovery::headerFor(store, QDateTime::currentDateTimeUtc()),
            store.document(),
            std::move(paneCopy),
            tabWidth,
            std::move(carried)};
}

} // namespace pote
