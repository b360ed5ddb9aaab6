#pragma once
// "推敲": the revision check's window. A run reads a snapshot of the sections on a worker
// thread while the writer goes on writing; the findings come back to the window, a double
// click shows one in the pane, and an ignored finding stays ignored for the document in the
// settings file.

#include "app/ui/background_job.h"
#include "revision/revision_check.h"
#include "revision/ui/revision_window.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

namespace pote {

struct AppContext;

class RevisionCommands : public QObject {
    Q_OBJECT
public:
    explicit RevisionCommands(AppContext& context, QObject* parent = nullptr);
    // Stops a run and waits for its worker.
    ~RevisionCommands() override;

    // Opens the window, or brings it back.
    void nx_revisionClick();
    void run();
    void stop() { m_job.stop(); }
    bool running() const { return m_job.running(); }

    // Null until first opened.
    revision::RevisionWindow* window() const { return m_window; }

private:
    void finished(const std::shared_ptr<const revision::RevisionOutcome>& outcome,
                  const std::shared_ptr<const std::vector<revision::SectionToCheck>>& checked);
    void goToFinding(int index);
    void ignore(int index);
    // Where the ignored findings of the document at hand are kept.
    QStringList& ignoredHere();
    void keepOptions(const revision::RevisionOptions& options);

    AppContext& m_context;
    QPointer<revision::RevisionWindow> m_window;
    // The writer goes on writing while it runs.
    BackgroundJob m_job;
};

} // namespace pote
