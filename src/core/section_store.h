#pragma once
// The document being edited: its contents (a Document) and the editing state around them, the
// current section, where it came from and what the window shows about it.
//
// Not copyable: the window's observer belongs to the one store it watches. A copy of what the
// document holds is document(), a plain value.

#include "core/document.h"

#include <QString>

#include <functional>

namespace pote {

class SectionStore : private Document {
public:
    using Document::kMaxGroups;
    using Document::kMaxSections;
    using Document::kPositions;

    SectionStore();
    SectionStore(const SectionStore&) = delete;
    SectionStore& operator=(const SectionStore&) = delete;
    SectionStore(SectionStore&&) = default;
    SectionStore& operator=(SectionStore&&) = default;

    // The contents alone, for readers of the whole document (writers, exports, copies).
    const Document& document() const { return *this; }

    // Sections and groups are edited in place; see Document.
    using Document::addGroup;
    using Document::appendEmpty;
    using Document::count;
    using Document::dissolveGroup;
    using Document::groupCount;
    using Document::groupName;
    using Document::headerReserved;
    using Document::isFull;
    using Document::membersOf;
    using Document::removeAt;
    using Document::reserved;
    using Document::section;
    using Document::setCount;
    using Document::setGroupName;
    using Document::swapNamesAndTexts;
    using Document::totalTextBytes;

    // --- whole document -------------------------------------------------------------------
    // The store side of a new document: the contents cleared (see Document::clear), no paths,
    // the first section current.
    void resetToNew();
    // Replaces sections, groups, password and reserved word with what a reader produced and
    // makes the first section current.
    void replaceDocument(DocumentContent&& content);

    // --- editing state --------------------------------------------------------------------
    int current = 0;
    bool loading = true;
    QString documentPath;
    QString displayName;

    // The states the window shows (title, enabled commands, indicators) change only through
    // these setters, which tell the observer when a value really changed.
    bool isModified() const { return m_modified; }
    void setModified(bool modified);
    using Document::hasPassword;
    using Document::password;
    void setPassword(QByteArray password);
    void clearPassword();
    // Plain-text mode: the document is one .txt file edited in place, at textPath().
    bool plainTextMode() const { return m_plainTextMode; }
    const QString& textPath() const { return m_textPath; }
    void enterPlainTextMode(QString textPath);
    // Leaves plain-text mode (the text path goes with it).
    void endPlainTextMode();
    // The .txt file last loaded into the pane or chosen for saving it, outside plain-text mode.
    void setTextPath(QString textPath) { m_textPath = std::move(textPath); }
    // Called after any of the states above changed.
    void setStateObserver(std::function<void()> observer) { m_observer = std::move(observer); }

    static QString newDocumentName(); // "新規"

private:
    void stateChanged() const;

    bool m_modified = false;
    bool m_plainTextMode = false;
    QString m_textPath;
    std::function<void()> m_observer;
};

} // namespace pote
