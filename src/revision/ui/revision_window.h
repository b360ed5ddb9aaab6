#pragma once
// The 推敲 window: which rules to run and over what, the progress of a run, and what it found,
// grouped by rule. It shows and asks; the controller runs the check and moves the pane.

#include "revision/finding.h"
#include "revision/rules.h"

#include <QWidget>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace pote::revision {

// A finding as listed: where it is as the writer counts (section number and line from 1, byte
// column from 1, as the status bar shows them).
struct ListedFinding {
    Finding finding;
    qint64 line = 1;
    qint64 column = 1;
};

class RevisionWindow : public QWidget {
    Q_OBJECT
public:
    explicit RevisionWindow(QWidget* parent = nullptr);

    RevisionOptions options() const;
    void setOptions(const RevisionOptions& options);
    bool allSections() const;

    void setRunning(bool running);
    void setProgress(int done, int total);
    // Replaces the list; note (when not empty) is the cat's word on the run.
    void showFindings(std::vector<ListedFinding> findings, const QString& note);
    // Takes every finding with this ignore key off the list.
    void removeIgnored(const QString& key);
    void setNote(const QString& note);

    // The finding behind a row of the list; null for a rule's row.
    const ListedFinding* findingAt(const QTreeWidgetItem* item) const;
    QTreeWidget* list() const { return m_list; }
    const std::vector<ListedFinding>& findings() const { return m_findings; }

signals:
    void runRequested();
    void stopRequested();
    void findingActivated(int index);
    void ignoreRequested(int index);

private:
    void rebuildList();
    int currentIndex() const;

    std::array<QCheckBox*, kRuleCount> m_rules{};
    QSpinBox* m_length = nullptr;
    QComboBox* m_scope = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_ignore = nullptr;
    QProgressBar* m_progress = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_note = nullptr;
    std::vector<ListedFinding> m_findings;
    std::vector<bool> m_hidden; // ignored since the run
};

} // namespace pote::revision
