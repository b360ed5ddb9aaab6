#pragma once
// The document's contents as its file holds them: up to 500 sections at positions 0..count-1,
// the group name table, the password and the header's reserved word. Positions 0..500 exist;
// 500 is never used.
//
// A plain value: readers, writers and exports take it, and a copy (a recovery snapshot) shares
// the texts' buffers until one side changes them. What the window shows about the document
// being edited lives in SectionStore, which owns one of these.
//
// Texts are QByteArrays of CP932 bytes. Moving a section moves its buffer (swap/move), never a
// copy of its bytes. The reserved values R1..R3 belong to positions, not to sections: moving or
// swapping sections leaves them where they are.

#include <QByteArray>

#include <array>
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

// What a reader hands over to replace the document (see Document::replace).
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

class Document {
public:
    static constexpr int kMaxSections = 500;
    static constexpr int kPositions = 501;
    static constexpr int kMaxGroups = 500;

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
    // Total bytes of all section texts.
    qint64 totalTextBytes() const;

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

    // --- password and header --------------------------------------------------------------
    bool hasPassword() const { return m_hasPassword; }
    const QByteArray& password() const { return m_password; }
    void setPassword(QByteArray password);
    void clearPassword();
    quint16 headerReserved = 0;

    // --- whole document -------------------------------------------------------------------
    // One empty section, no groups, no password, reserved word 0; R1, R2 zeroed and R3 kept in
    // every position.
    void clear();
    // Takes sections, groups, password and reserved word from what a reader produced.
    // Never fails: readers validate before they hand content over.
    void replace(DocumentContent&& content);

private:
    void clearPosition(int pos);

    int m_count = 1;
    std::array<Section, kPositions> m_sections;
    std::array<PositionReserved, kPositions> m_reserved;
    std::vector<QByteArray> m_groupNames;
    bool m_hasPassword = false;
    QByteArray m_password;
};

} // namespace pote
