#pragma once
// The open document in memory: up to 500 sections at positions 0..count-1, the group name table
// and the document-level state. Positions 0..500 exist; 500 is never used.
//
// Texts are QByteArrays of CP932 bytes. Moving a section moves its buffer (swap/move), never a
// copy of its bytes. The reserved values R1..R3 belong to positions, not to sections: moving or
// swapping sections leaves them where they are.

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace pote {

struct Section {
    QByteArray name;
    QByteArray text;
    qint32 group = 0; // 0 = no group, 1..groupCount() = member of that group
};

struct PositionReserved {
    quint32 r1 = 0;
    quint32 r2 = 0;
    quint32 r3 = 0;
};

// What a reader hands over to replace the document (see SectionStore::replaceDocument).
struct DocumentContent {
    struct Entry {
        Section section;
        // Version 2 files carry all three values; old files set R2 to 0 and leave R1, R3 alone.
        std::optional<PositionReserved> reserved;
    };
    std::vector<Entry> sections;        // 1..500 entries
    std::vector<QByteArray> groupNames; // group 1 is groupNames[0]
    quint16 headerReserved = 0;
    bool hasPassword = false;
    QByteArray password;
};

class SectionStore {
public:
    static constexpr int kMaxSections = 500;
    static constexpr int kPositions = 501;
    static constexpr int kMaxGroups = 500;

    SectionStore();

    // --- sections -------------------------------------------------------------------------
    int count() const { return m_count; }
    bool isFull() const { return m_count >= kMaxSections; }
    const Section& section(int pos) const;
    Section& section(int pos);
    const PositionReserved& reserved(int pos) const;
    PositionReserved& reserved(int pos);

    // Adds one empty section after the last (group 0, R1 = R2 = 0, R3 kept) and returns its
    // position, or -1 when the document already has 500 sections.
    int appendEmpty();
    // Removes the section at pos; later sections move down one position with their names,
    // groups and texts. The freed position's text is released. False when pos is out of range
    // or it is the only section.
    bool removeAt(int pos);
    // Exchanges names and texts of a and b; groups and reserved values stay with the numbers.
    bool swapNamesAndTexts(int a, int b);
    // Sets the count directly (readers that fill positions themselves). Positions from n on
    // are emptied (name, text, group); reserved values stay.
    void setCount(int n);

    // --- groups (1-based) -----------------------------------------------------------------
    int groupCount() const { return static_cast<int>(m_groupNames.size()); }
    const QByteArray& groupName(int group) const;
    void setGroupName(int group, QByteArray name);
    // Adds a group at number groupCount()+1; -1 when 500 groups exist.
    int addGroup(QByteArray name);
    // Removes group g: later groups move down, its members become unassigned and members of
    // later groups follow their group's new number.
    bool dissolveGroup(int group);
    // Positions whose group is `group`, ascending. The k-th list entry of every section list
    // stands for element k.
    std::vector<int> membersOf(int group) const;

    // --- whole document -------------------------------------------------------------------
    // The store side of a new document: one empty section, no groups, no password, no paths,
    // reserved word 0; R1, R2 zeroed and R3 kept in every position.
    void resetToNew();
    // Replaces sections, groups, password and reserved word with what a reader produced.
    // Never fails: readers validate before they hand content over.
    void replaceDocument(DocumentContent&& content);
    // Total bytes of all section texts.
    qint64 totalTextBytes() const;

    // --- document state -------------------------------------------------------------------
    int current = 0;
    bool loading = true;
    QString documentPath;
    QString displayName;
    quint16 headerReserved = 0;

    // The states the window shows (title, enabled commands, indicators) change only through
    // these setters, which tell the observer when a value really changed.
    bool isModified() const { return m_modified; }
    void setModified(bool modified);
    bool hasPassword() const { return m_hasPassword; }
    const QByteArray& password() const { return m_password; }
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
    void clearPosition(int pos);
    void stateChanged() const;

    int m_count = 1;
    std::array<Section, kPositions> m_sections;
    std::array<PositionReserved, kPositions> m_reserved;
    std::vector<QByteArray> m_groupNames;
    bool m_modified = false;
    bool m_plainTextMode = false;
    QString m_textPath;
    bool m_hasPassword = false;
    QByteArray m_password;
    std::function<void()> m_observer;
};

} // namespace pote
