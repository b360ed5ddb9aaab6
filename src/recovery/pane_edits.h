#pragma once
// What of the editing pane differs from the text last loaded into it, so that a copy of the
// pane can be taken without copying all of it: the stretches that were edited are copied, the
// rest is the loaded text, which the store already holds.
//
// Positions count the pane's units (UTF-16 units, a line break counting 1), as the pane's
// contentsChange(position, removed, added) reports them.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace pote::recovery {

// A stretch of the pane that replaced loadedLength units of the loaded text.
struct EditedStretch {
    qsizetype start = 0;  // in the pane as it is now
    qsizetype length = 0; // units it has now
    qsizetype loadedLength = 0;
    friend bool operator==(const EditedStretch&, const EditedStretch&) = default;
};

class PaneEdits {
public:
    // Beyond this many stretches the two closest are joined: a copy then takes the text
    // between them too, and each change stays cheap.
    static constexpr size_t kMaxStretches = 32;

    // Tracking starts over: the pane holds the loaded text, units long.
    void reset(qsizetype units);
    // The text was replaced in a way that is not tracked; copies take the whole pane until
    // the next reset.
    void invalidate() { m_valid = false; }
    bool valid() const { return m_valid; }

    // A change as the pane reports it; newLength is the pane's length after it. Reports that
    // overshoot the end (the toolkit counts the closing block separator in some changes) are
    // trimmed; one that does not add up to newLength invalidates the tracking.
    void change(qsizetype position, qsizetype removed, qsizetype added, qsizetype newLength);

    const std::vector<EditedStretch>& stretches() const { return m_stretches; }
    qsizetype length() const { return m_length; }
    qsizetype loadedLength() const { return m_loadedLength; }

private:
    void joinClosest();

    std::vector<EditedStretch> m_stretches; // in order, never touching each other
    qsizetype m_length = 0;
    qsizetype m_loadedLength = 0;
    bool m_valid = false;
};

// A copy of the pane: the loaded bytes and the text of every edited stretch, or (when the
// stretches are not known) the whole text as the only stretch over nothing loaded.
struct PaneCopy {
    QByteArray loaded;
    qsizetype loadedUnits = 0;
    std::vector<EditedStretch> stretches;
    std::vector<QString> texts; // texts[i] is the pane's text of stretches[i]

    static PaneCopy wholeText(QString text);
};

// The pane's text as toPlainText would give it; nullopt when the copy does not fit the loaded
// text (it was taken from a pane that no longer showed it).
std::optional<QString> rebuildPaneText(const PaneCopy& copy);

} // namespace pote::recovery
