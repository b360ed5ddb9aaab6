// The window's side of the fault-injection suite, run as a process of its own so that the suite
// can kill it with SIGKILL at any moment:
//
//   fault_helper save FOLDER TARGET VARIANT [loop]
//       shows the document variant, prints "ready" and saves it to TARGET through the window's
//       save; with loop, saves variants VARIANT and VARIANT+1 in turns until killed.
//   fault_helper edit FOLDER DOCUMENT [PASSWORD]
//       opens DOCUMENT (gives it PASSWORD), makes the suite's edits without saving, prints
//       "copied" once the recovery copy holds them, and waits to be killed.
//
// FOLDER holds the window's settings and recovery folder. Any question the window would ask
// ends the helper with exit code 3: nothing here may wait for a user.

#include "app/ui/application_setup.h"
#include "app/ui/document_commands.h"
#include "app/ui/main_window.h"
#include "fault_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <cstdio>

namespace {

using namespace pote;

class NoQuestions : public Prompter {
public:
    Answer message(MessageKind, Answers, const QString& text) override { fail(text); }
    std::optional<QString> inputText(const QString&, const QString& prompt,
                                     const QString&) override {
        fail(prompt);
    }
    std::optional<QString> openFile(const FileDialogRequest& r) override { fail(r.title); }
    std::optional<QString> saveFile(const FileDialogRequest& r) override { fail(r.title); }
    std::optional<QString> chooseFolder(const QString& caption, const QString&, bool) override {
        fail(caption);
    }

private:
    [[noreturn]] static void fail(const QString& what) {
        std::fprintf(stderr, "fault_helper: unexpected question: %s\n", qUtf8Printable(what));
        std::_Exit(3);
    }
};

void say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

std::unique_ptr<Tmain_fm> windowIn(const QString& folder, RecoveryOptions recovery) {
    StartOptions options;
    options.prompter = std::make_unique<NoQuestions>();
    options.settingsPath = fault::settingsPathIn(folder);
    QFile settings(options.settingsPath);
    if (!settings.exists() &&
        (!settings.open(QIODevice::WriteOnly) || settings.write("[General]\nTABWidth=8\n") < 0)) {
        std::fprintf(stderr, "fault_helper: cannot write %s\n",
                     qUtf8Printable(options.settingsPath));
        std::_Exit(2);
    }
    recovery.folder = fault::recoveryFolderIn(folder);
    options.recovery = std::move(recovery);
    return std::make_unique<Tmain_fm>(std::move(options));
}

int save(const QStringList& args) {
    const QString target = args.value(1);
    const int variant = args.value(2).toInt();
    const bool loop = args.value(3) == QLatin1String("loop");
    auto window = windowIn(args.value(0), {});
    // A single save needs one version only; making a 50 MB document takes a moment.
    std::vector<SectionStore> documents;
    documents.push_back(fault::faultDocument(variant, 50'000'000));
    if (loop) documents.push_back(fault::faultDocument(variant + 1, 50'000'000));
    say("ready");
    for (size_t round = 0;; ++round) {
        fault::showDocument(*window, documents[round % documents.size()]);
        if (!window->controllers().documents().document_write(target)) return 1;
        if (!loop) return 0;
    }
}

int edit(const QStringList& args) {
    auto window = windowIn(
        args.value(0), {QString(), std::chrono::milliseconds(0), std::chrono::milliseconds(20)});
    if (!window->controllers().documents().document_read(args.value(1))) return 1;
    if (!args.value(2).isEmpty()) window->store().setPassword(args.value(2).toLatin1());
    fault::makeEdits(*window);
    const QDir recovery(fault::recoveryFolderIn(args.value(0)));
    while (recovery.entryList({QStringLiteral("*.recovery")}, QDir::Files).isEmpty()) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    say("copied");
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpApplication(app);
    QStringList args = QCoreApplication::arguments().mid(1);
    const QString mode = args.isEmpty() ? QString() : args.takeFirst();
    if (mode == QLatin1String("save") && args.size() >= 3) return save(args);
    if (mode == QLatin1String("edit") && args.size() >= 2) return edit(args);
    std::fprintf(stderr, "usage: fault_helper save FOLDER TARGET VARIANT [loop]\n"
                         "       fault_helper edit FOLDER DOCUMENT [PASSWORD]\n");
    return 2;
}
