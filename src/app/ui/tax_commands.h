#pragma once
// The cat's tax calculation over the yen amounts of the pane or the selection, and the amount
// report entries of the Insert menus that write its last result into the text.

#include <QByteArray>

namespace pote {

struct AppContext;

class TaxCommands {
public:
    explicit TaxCommands(AppContext& context);

    void nx_hexpClick();
    void nx_hexp_insClick();

    // A calculation has succeeded in this run, so there is an amount to report.
    bool amountAvailable() const { return m_amountAvailable; }

private:
    // The selection, or the whole pane when nothing is selected, as CP932 bytes.
    QByteArray sourceBytes() const;

    AppContext& m_context;
    qint64 m_amount = 0;
    bool m_amountAvailable = false;
};

} // namespace pote
