#pragma once
// The list of every hit of a search across all sections: section, line and the line's text
// around the hit. It shows the progress while the search runs and stays open beside the
// window; choosing a row asks for the hit to be shown in the pane.

#include "editing/section_search_job.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QTreeView;

namespace pote {

class SectionHitsModel;

class SectionHitsWindow : public QWidget {
    Q_OBJECT
public:
    explicit SectionHitsWindow(QWidget* parent);
    ~SectionHitsWindow() override;

    // A search has started: the list empties and the stop button wakes.
    void searching(const QString& note);
    void showProgress(const QString& note);
    // sectionLabels: what the section column shows for each section of the outcome.
    void showOutcome(std::shared_ptr<const SectionSearchOutcome> outcome, QStringList sectionLabels,
                     const QString& note);
    void setNote(const QString& note);
    QString note() const;

    int rowCount() const;
    // Column 0 section, 1 line, 2 the text around the hit.
    QString rowText(int row, int column) const;
    const ListedHit* hitAt(int row) const;
    std::shared_ptr<const SectionSearchOutcome> outcome() const;
    // As a double click or Enter on the row.
    void chooseRow(int row);

signals:
    void hitChosen(int row);
    // The stop button, or the window closed while a search runs.
    void stopRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SectionHitsModel* m_model = nullptr;
    QLabel* m_note = nullptr;
    QTreeView* m_list = nullptr;
    QPushButton* m_stop = nullptr;
};

} // namespace pote
