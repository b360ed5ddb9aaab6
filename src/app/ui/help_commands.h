#pragma once
// The Help menu: the manual in the program's own help window, the about box and the maker's
// home page.

#include <QString>

namespace pote {

struct AppContext;
class HelpWindow;
namespace mascot {
class MascotView;
}

class HelpCommands {
public:
    // manualFolder: where the manual's pages are; cat: the picture the about box borrows.
    HelpCommands(AppContext& context, QString manualFolder, const mascot::MascotView& cat);

    void showManual();
    void showAbout();
    // The main window closes: the manual goes with it.
    void closeManual();

private:
    AppContext& m_context;
    QString m_manualFolder;
    const mascot::MascotView& m_cat;
    HelpWindow* m_help = nullptr; // a child of the main window, made on first use
};

} // namespace pote
