#include "core/section_store.h"

#include <utility>

namespace pote {

SectionStore::SectionStore() : displayName(newDocumentName()) {}

QString SectionStore::newDocumentName() {
    return QStringLiteral("新規");
}

void SectionStore::resetToNew() {
    const bool hadPassword = hasPassword();
    Document::clear();
    documentPath.clear();
    displayName = newDocumentName();
    current = 0;
    endPlainTextMode();
    if (hadPassword) stateChanged();
}

void SectionStore::replaceDocument(DocumentContent&& content) {
    const bool hadPassword = hasPassword();
    const QByteArray oldPassword = password();
    Document::replace(std::move(content));
    current = 0;
    if (hasPassword() != hadPassword || password() != oldPassword) stateChanged();
}

void SectionStore::stateChanged() const {
    if (m_observer) m_observer();
}

void SectionStore::setModified(bool modified) {
    if (m_modified == modified) return;
    m_modified = modified;
    stateChanged();
}

void SectionStore::setPassword(QByteArray password) {
    const bool changed = !hasPassword() || this->password() != password;
    Document::setPassword(std::move(password));
    if (changed) stateChanged();
}

void SectionStore::clearPassword() {
    const bool changed = hasPassword();
    Document::clearPassword();
    if (changed) stateChanged();
}

void SectionStore::enterPlainTextMode(QString textPath) {
    m_textPath = std::move(textPath);
    if (m_plainTextMode) return;
    m_plainTextMode = true;
    stateChanged();
}

void SectionStore::endPlainTextMode() {
    m_textPath.clear();
    if (!m_plainTextMode) return;
    m_plainTextMode = false;
    stateChanged();
}

} // namespace pote
