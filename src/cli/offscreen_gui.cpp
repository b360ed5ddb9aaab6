#include "cli/offscreen_gui.h"

#include <QGuiApplication>

namespace pote::cli {

void needGui() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ptmtool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

} // namespace pote::cli
