#pragma once
// The revision check over a document's sections: what every rule finds, in the order of the
// text. Rules that compare the whole document (spellings, marks, the 。 habit) decide at the end.

#include "core/result.h"
#include "revision/finding.h"
#include "revision/rules.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace pote::revision {

class Analyzer;

class RevisionCheck {
public:
    // analyzer may be null: the rules that need one are then skipped.
    RevisionCheck(const RevisionOptions& options, Analyzer* analyzer);
    ~RevisionCheck();

    // cancel (optional) is read after every paragraph; a stopped section gives what it found
    // so far.
    void checkSection(int section, QByteArrayView text, const std::atomic<bool>* cancel = nullptr);
    // The findings, sorted by section, offset and rule.
    std::vector<Finding> finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

struct SectionToCheck {
    int section = 0; // its position in the document
    QByteArray text;
};

struct RevisionOutcome {
    std::vector<Finding> findings;
    // Why the rules that read words did not run (the dictionary); empty when they did or were
    // not asked for.
    QString skipped;
    bool cancelled = false;
};

// Checks the sections in order; progress(done, total) after each. The analyzer is opened here,
// on the calling thread.
RevisionOutcome checkSections(const std::vector<SectionToCheck>& sections,
                              const RevisionOptions& options,
                              const std::atomic<bool>* cancel = nullptr,
                              const std::function<void(int, int)>& progress = {},
                              const QString& dictionaryDir = {});

} // namespace pote::revision
