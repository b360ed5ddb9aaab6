#pragma once
// Find and replace in the pane, and the search across all sections: "検索(&S)" with its
// modeless dialog, F3, "置換(&R)" with the replace dialog, and the hit list.

#include "editing/section_search_job.h"

#include <QObject>
#include <QPointer>

namespace pote {

struct AppContext;
struct PaneRange;
class EditPane;
class FindDialog;
class SectionHitsWindow;
class Trep_fm;

class SearchCommands : public QObject {
    Q_OBJECT
public:
    explicit SearchCommands(AppContext& context, QObject* parent = nullptr);
    ~SearchCommands() override;

    // Find1Click: opens the find dialog, or brings it back.
    void Find1Click();
    // Fd_find: the find dialog's find-next.
    void Fd_find();
    // F3: the find dialog's search again; the dialog itself when nothing was searched yet.
    void findAgain();
    // nx_replaceClick: creates, shows and destroys the replace dialog.
    void nx_replaceClick();
    // The find dialog's "すべてのセクションを検索".
    void searchAllSections();

    // Null until first opened.
    FindDialog* findDialog() const;
    SectionHitsWindow* hitsWindow() const;

private:
    void find_btClick(Trep_fm& dialog);
    void rep_btClick(Trep_fm& dialog);
    void all_rep_btClick(Trep_fm& dialog);
    void sel_rep_btClick(Trep_fm& dialog);

    void searchFinished(const std::shared_ptr<const SectionSearchOutcome>& outcome);
    // Shows the chosen row's hit in the pane, switching sections when it lies in another.
    void goToHit(int row);
    // Reaction 2 and the hit selected in the pane.
    void showHit(const PaneRange& hit, bool middle);
    SectionHitsWindow* ensureHitsWindow();

    AppContext& m_context;
    EditPane& m_pane;
    QPointer<FindDialog> m_find;
    QPointer<SectionHitsWindow> m_hits;
    SectionSearchJob m_job;
};

} // namespace pote
