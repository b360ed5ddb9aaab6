// ぽてまるエディター: start-up.

#include "app/document_names.h"
#include "app/ui/application_setup.h"
#include "app/ui/main_window.h"
#include "core/program_files.h"
#include "core/program_info.h"

#include <QApplication>

#include <cstdio>

namespace {

// --help and --version answer before any window exists, so they work without a display.
bool answeredOnTheCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const pote::ProgramOption option = pote::programOption(arguments);
    if (option == pote::ProgramOption::Run) return false;
    const QCoreApplication core(argc, argv);
    QString text;
    switch (option) {
    case pote::ProgramOption::Run:
        return false;
    case pote::ProgramOption::Help:
        text = pote::commandLineHelp(pote::manualFolderFor(QCoreApplication::applicationDirPath()));
        break;
    case pote::ProgramOption::Version:
        text = pote::versionLine() + QLatin1Char('\n');
        break;
    }
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (answeredOnTheCommandLine(argc, argv)) return std::fflush(stdout) == 0 ? 0 : 1;
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
