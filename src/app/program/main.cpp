// ぽてまるエディター: start-up.

#include "app/document_names.h"
#include "app/ui/application_setup.h"
#include "app/ui/main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    pote::setUpApplication(app);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    pote::StartOptions options;
    options.arguments = std::move(arguments);
    pote::Tmain_fm window(std::move(options));
    window.show();
    return app.exec();
}
