// Faults on purpose. Writers are killed with SIGKILL at random moments, disks are full or
// read-only, targets are folders, and an editor with unsaved changes is killed. Whatever
// happens, a target is the complete old or the complete new file, no temporary file is left
// behind, the user is told, and a killed editor's work comes back byte for byte.
//
// POTE_FAULT_ROUNDS: kills per writer (200 by default; scripts/fault-injection.sh --long runs
// more). POTE_FAULT_SEED repeats the moments of an earlier run (each run prints its seed).

#include "fault_support.h"
#include "gui_fixture.h"

#include "app/ui/backup_commands.h"
#include "app/ui/document_commands.h"
#include "app/ui/epub_commands.h"
#include "app/ui/password_dialogs.h"
#include "core/cp932.h"
#include "core/document_file.h"
#include "core/file_io.h"
#include "recovery/recovery_file.h"
#include "settings/settings_values.h"
#include "support/test_files.h"
#include "textio/text_folder.h"
#include "textio/ui/rewrite_fm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <optional>

#include <sys/mount.h>
#include <unistd.h>

namespace pote::test {
namespace {

constexpr qsizetype kBigDocument = 50'000'000;

int rounds() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("POTE_FAULT_ROUNDS", &ok);
    return ok && n > 0 ? n : 200;
}

quint32 seed() {
    static const quint32 value = [] {
        bool ok = false;
        const quint32 given = qEnvironmentVariable("POTE_FAULT_SEED").toUInt(&ok);
        const quint32 s = ok ? given : QRandomGenerator::global()->generate();
        std::printf("fault injection: POTE_FAULT_SEED=%u, %d rounds\n", s, rounds());
        return s;
    }();
    return value;
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

// A process that writes a target, to be killed.
struct WriterRun {
    QString program;
    QStringList arguments;
    // A line the process prints just before it writes; empty: it writes from its start.
    QByteArray readyLine;
};

// Starts run and waits for its ready line; null when it did not start or say it.
std::unique_ptr<QProcess> start(const WriterRun& run) {
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(run.program, run.arguments);
    if (!process->waitForStarted(10000)) return nullptr;
    if (run.readyLine.isEmpty()) return process;
    QByteArray seen;
    while (!seen.contains(run.readyLine)) {
        if (!process->waitForReadyRead(60000)) return nullptr;
        seen += process->readAllStandardOutput();
    }
    return process;
}

void killNow(QProcess& process) {
    // Never kill(0): that would be the whole process group.
    if (const qint64 pid = process.processId(); pid > 0 && process.state() != QProcess::NotRunning)
        ::kill(pid_t(pid), SIGKILL);
    process.waitForFinished(10000);
}

// A writer that can be killed: how to write variant 0 or 1 of the document to a target.
struct KillEntry {
    const char* name;
    std::function<WriterRun(const QString& target, int variant)> run;
};

// A small tmpfs of our own, for a disk that fills up or turns read-only. Only root may mount.
class SmallDisk {
public:
    static std::unique_ptr<SmallDisk> mount(const QString& at, qint64 bytes, QString& why) {
        if (::geteuid() != 0) {
            why = QStringLiteral("not running as root, so no tmpfs can be mounted");
            return nullptr;
        }
        QDir().mkpath(at);
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
        if (::mount("tmpfs", QFile::encodeName(at).constData(), "tmpfs", 0, options.constData()) !=
            0) {
            why = QStringLiteral("mounting a tmpfs failed: %1").arg(qt_error_string(errno));
            return nullptr;
        }
        return std::unique_ptr<SmallDisk>(new SmallDisk(at, bytes));
    }
    ~SmallDisk() { ::umount2(QFile::encodeName(m_at).constData(), MNT_DETACH); }
    bool makeReadOnly() {
        const QByteArray options = "size=" + QByteArray::number(m_bytes);
        return ::mount("tmpfs", QFile::encodeName(m_at).constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY, options.constData()) == 0;
    }

private:
    SmallDisk(QString at, qint64 bytes) : m_at(std::move(at)), m_bytes(bytes) {}
    QString m_at;
    qint64 m_bytes;
};

// What a write told the user (each box, or what a program wrote to stderr), and whether it
// failed.
struct Outcome {
    bool failed = false;
    QStringList messages;
};

// The platform's words for a full disk (in the user's language or, from a program that never
// set its locale, in English), or the free-space check's.
bool namesAFullDisk(const QString& message) {
    return message.contains(diskFullMessage()) || message.contains(qt_error_string(ENOSPC)) ||
           message.contains(QStringLiteral("No space left on device")) ||
           message.contains(QStringLiteral("ディスクの空き容量が足りないみたいだにゃ。"));
}

class FaultInjection : public WindowTest {
protected:
    QString folder(const QString& name) {
        const QString f = path(name);
        QDir().mkpath(f);
        return f;
    }

    // The document of a variant as a .ptm file and as pack JSON, in the test's own folder.
    QString documentFile(int variant, qsizetype bytes) {
        const QString file = path(QStringLiteral("版%1-%2.ptm").arg(variant).arg(bytes));
        if (!QFile::exists(file)) {
            EXPECT_TRUE(
                docfile::writeDocument(file, fault::faultDocument(variant, bytes).document()).ok());
        }
        return file;
    }
    QString jsonFile(int variant, qsizetype bytes) {
        const QString file = path(QStringLiteral("版%1-%2.json").arg(variant).arg(bytes));
        if (!QFile::exists(file))
            writeAll(file, fault::packJson(fault::faultDocument(variant, bytes)));
        return file;
    }

    Outcome runTool(const QStringList& arguments) {
        QProcess tool;
        tool.start(QStringLiteral(PTMTOOL_PATH), arguments);
        const bool finished = tool.waitForFinished(120000);
        EXPECT_TRUE(finished) << arguments.join(u' ').toStdString();
        return {tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0,
                {QString::fromUtf8(tool.readAllStandardError())}};
    }

    // The errors the window showed since the prompter was last cleared.
    QStringList windowErrors() const {
        QStringList texts;
        for (const Asked& a : prompter->asked())
            if (a.type == Asked::Type::Message && a.kind == MessageKind::Error) texts << a.text;
        return texts;
    }

    std::vector<KillEntry> killEntries() {
        return {
            {"ptmtool pack",
             [this](const QString& target, int variant) {
                 return WriterRun{QStringLiteral(PTMTOOL_PATH),
                                  {QStringLiteral("pack"), jsonFile(variant, kBigDocument), target},
                                  {}};
             }},
            {"window save",
             [this](const QString& target, int variant) {
                 return WriterRun{QStringLiteral(FAULT_HELPER_PATH),
                                  {QStringLiteral("save"), folder(QStringLiteral("helper")), target,
                                   QString::number(variant)},
                                  "ready"};
             }},
        };
    }

    // Kills the writer again and again while it replaces a file, and looks at what is left.
    void killWhileWriting(const KillEntry& entry, quint32 seed) {
        QRandomGenerator rng(seed);
        SCOPED_TRACE(entry.name);
        const QString where =
            folder(QStringLiteral("kill-%1").arg(QString::fromLatin1(entry.name)));
        const QString target = where + QStringLiteral("/原稿.ptm");

        // Both versions written in full once: the reference bytes and the time a write takes.
        QByteArray versions[2];
        qint64 writeMillis = 0;
        for (int variant = 1; variant >= 0; --variant) {
            const WriterRun run = entry.run(target, variant);
            std::unique_ptr<QProcess> process = start(run);
            ASSERT_TRUE(process) << "could not start " << run.program.toStdString();
            QElapsedTimer clock;
            clock.start();
            ASSERT_TRUE(process->waitForFinished(120000));
            ASSERT_EQ(process->exitCode(), 0);
            writeMillis = qMax(writeMillis, clock.elapsed());
            versions[variant] = readAll(target);
            ASSERT_GT(versions[variant].size(), kBigDocument / 2);
        }
        ASSERT_NE(versions[0], versions[1]);

        int completed = 0;
        int strays = 0;
        QElapsedTimer clock;
        clock.start();
        for (int round = 0; round < rounds(); ++round) {
            const int variant = (round + 1) % 2; // the other version than the one there
            std::unique_ptr<QProcess> process = start(entry.run(target, variant));
            ASSERT_TRUE(process) << "round " << round;
            QThread::usleep(rng.bounded(quint32(writeMillis * 1200)));
            if (process->state() == QProcess::NotRunning) ++completed;
            killNow(*process);

            const QByteArray now = readAll(target);
            ASSERT_TRUE(now == versions[0] || now == versions[1])
                << "round " << round << ": the target is neither version (" << now.size()
                << " bytes)";
            for (const QString& name : entriesOf(where)) {
                if (name == QFileInfo(target).fileName()) continue;
                // A kill between the two steps of replacing a file leaves a complete copy
                // under a temporary name; anything else would be a half-written file.
                const QString stray = QDir(where).filePath(name);
                const QByteArray bytes = readAll(stray);
                EXPECT_TRUE(bytes == versions[0] || bytes == versions[1])
                    << "round " << round << ": half-written " << name.toStdString();
                ++strays;
                QFile::remove(stray);
            }
        }
        std::printf("%s: %d kills in %.0f s (a write takes %lld ms), %d after the write ended, "
                    "%d temporary files left\n",
                    entry.name, rounds(), double(clock.elapsed()) / 1000, writeMillis, completed,
                    strays);
        // A stray needs a kill within microseconds between linking and renaming the new file.
        EXPECT_LE(strays, rounds() / 100) << "temporary files pile up";
        EXPECT_LT(completed, rounds() / 2) << "most kills should land while the file is written";
    }

    // A window command that asks for its target: what it told the user, and whether that was
    // a failure.
    Outcome throughWindow(const char* action, const QString& target) {
        prompter->clear();
        prompter->answerFile(target).answer(Answer::Yes).answer(Answer::Ok).answer(Answer::Ok);
        window->trigger(QString::fromLatin1(action));
        const QStringList errors = windowErrors();
        prompter->clear();
        return {!errors.isEmpty(), errors};
    }

    // The backup from the window, flat into target, of a source folder that holds a newer file
    // of `bytes` bytes in all for each entry of target (one file when target is empty).
    Outcome backUpInto(const QString& target, qsizetype bytes) {
        const QString source = folder(QStringLiteral("backup-source-%1").arg(++m_backups));
        QStringList names = entriesOf(target);
        if (names.isEmpty()) names << QStringLiteral("原稿.txt");
        const QDateTime newer = QDateTime::currentDateTime().addSecs(60);
        for (const QString& name : names) {
            const QString file = QDir(source).filePath(name);
            writeAll(file, QByteArray(qMax<qsizetype>(1, bytes / names.size()), 'x'));
            QFile f(file);
            EXPECT_TRUE(f.open(QIODevice::ReadWrite) &&
                        f.setFileTime(newer, QFileDevice::FileModificationTime));
        }
        Settings& settings = window->settings();
        settings.BackupDir = {source, {}, {}, {}, {}};
        settings.BackupCopyDir = target;
        settings.BackupExt = QStringLiteral("txt,ptm,txm");
        settings.BackupFolderCopy = false;
        prompter->clear();
        prompter->answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok);
        window->tool_state_refresh();
        window->trigger(QStringLiteral("nx_backup"));
        auto* commands = &window->controllers().backup();
        EXPECT_TRUE(QTest::qWaitFor([commands] { return !commands->running(); }, 120000));
        const QStringList errors = windowErrors();
        prompter->clear();
        return {!errors.isEmpty(), errors};
    }
    int m_backups = 0;

    // The book from the window, waiting for the worker that writes it.
    Outcome epubThroughWindow(const QString& target, qsizetype bytes) {
        fault::showDocument(*window, fault::hardToCompressDocument(bytes));
        prompter->clear();
        prompter->answerFile(target).answer(Answer::Ok).answer(Answer::Ok);
        // The export dialog as it opens: the document's name, a new identifier, a drawn cover.
        window->setModalRunner([](QDialog&) { return int(QDialog::Accepted); });
        window->trigger(QStringLiteral("nx_epub_save"));
        auto* commands = &window->controllers().epub();
        EXPECT_TRUE(QTest::qWaitFor([commands] { return !commands->running(); }, 120000));
        QCoreApplication::processEvents();
        const QStringList errors = windowErrors();
        prompter->clear();
        return {!errors.isEmpty(), errors};
    }
    QString bookDocumentFile(qsizetype bytes) {
        const QString file = path(QStringLiteral("本-%1.ptm").arg(bytes));
        if (!QFile::exists(file))
            EXPECT_TRUE(
                docfile::writeDocument(file, fault::hardToCompressDocument(bytes).document()).ok());
        return file;
    }

    // Writers of documents and exports, each given a document of `bytes` and its target.
    struct WriteEntry {
        const char* name;
        bool writesFolder;
        std::function<Outcome(const QString& target, qsizetype bytes)> write;
    };
    std::vector<WriteEntry> writeEntries() {
        return {
            {"document save (window)", false,
             [this](const QString& target, qsizetype bytes) {
                 fault::showDocument(*window, fault::faultDocument(1, bytes));
                 prompter->clear();
                 prompter->answer(Answer::Yes).answer(Answer::Ok).answer(Answer::Ok);
                 const bool written = window->controllers().documents().document_write(target);
                 const Outcome outcome{!written, windowErrors()};
                 prompter->clear();
                 return outcome;
             }},
            {"linked-text export (window)", false,
             [this](const QString& target, qsizetype bytes) {
                 fault::showDocument(*window, fault::faultDocument(1, bytes));
                 return throughWindow("nx_txm_save", target);
             }},
            {"folder export (window)", true,
             [this](const QString& target, qsizetype bytes) {
                 fault::showDocument(*window, fault::faultDocument(1, bytes));
                 window->setModalRunner([](QDialog& d) {
                     dynamic_cast<Trewrite_fm&>(d).all_bt->click();
                     return d.result();
                 });
                 return throughWindow("nx_folder_save", target);
             }},
            {"recovery copy", false,
             [](const QString& target, qsizetype bytes) {
                 const SectionStore store = fault::faultDocument(1, bytes);
                 const Result<void> written = recovery::writeRecoveryFile(
                     target, recovery::headerFor(store, QDateTime::currentDateTimeUtc()),
                     store.document());
                 return Outcome{!written, {written ? QString() : written.error().text}};
             }},
            {"backup", true,
             [this](const QString& target, qsizetype bytes) { return backUpInto(target, bytes); }},
            {"EPUB export (window)", false,
             [this](const QString& target, qsizetype bytes) {
                 return epubThroughWindow(target, bytes);
             }},
            {"ptmtool pack", false,
             [this](const QString& target, qsizetype bytes) {
                 return runTool({QStringLiteral("pack"), jsonFile(1, bytes), target});
             }},
            {"ptmtool txm-export", false,
             [this](const QString& target, qsizetype bytes) {
                 return runTool({QStringLiteral("txm-export"), documentFile(1, bytes), target});
             }},
            {"ptmtool epub", false,
             [this](const QString& target, qsizetype bytes) {
                 return runTool({QStringLiteral("epub"), bookDocumentFile(bytes), target});
             }},
            {"ptmtool folder-export", true,
             [this](const QString& target, qsizetype bytes) {
                 return runTool({QStringLiteral("folder-export"), documentFile(1, bytes), target,
                                 QStringLiteral("--overwrite")});
             }},
        };
    }

    static QString targetName(const WriteEntry& entry) {
        return entry.writesFolder ? QStringLiteral("/書き出し") : QStringLiteral("/原稿.ptm");
    }

    // The old state of a target: a file, or a folder holding the files an export would
    // replace. Returns what each path held.
    std::map<QString, QByteArray> plantOld(const WriteEntry& entry, const QString& target) {
        std::map<QString, QByteArray> old;
        if (!entry.writesFolder) {
            old[target] = readAll(documentFile(0, 20'000));
        } else {
            QDir().mkpath(target);
            const SectionStore store = fault::faultDocument(1, 20'000);
            const FolderSavePlan plan = plan_folder_save(
                target, store.document(), QStringLiteral("版1-%1").arg(kBigDocument));
            for (const FolderSaveItem& item : plan.items)
                old[item.path] = "old " + QFile::encodeName(item.path);
        }
        for (const auto& [file, bytes] : old)
            writeAll(file, bytes);
        return old;
    }

    // Nothing but the old files where the target is, each as it was.
    void expectUntouched(const char* entry, const QString& where,
                         const std::map<QString, QByteArray>& old) {
        QStringList expected;
        for (const auto& [file, bytes] : old) {
            expected << QFileInfo(file).fileName();
            EXPECT_EQ(readAll(file), bytes) << entry << ": " << file.toStdString() << " changed";
        }
        expected.sort();
        QStringList present = entriesOf(where);
        EXPECT_EQ(present, expected) << entry << ": files left behind in " << where.toStdString();
    }
};

TEST_F(FaultInjection, KilledWritersLeaveTheOldOrTheNewFile) {
    quint32 entrySeed = seed();
    for (const KillEntry& entry : killEntries())
        killWhileWriting(entry, entrySeed++);
}

TEST_F(FaultInjection, FullDiskKeepsTheOldFilesAndTellsTheUser) {
    QString why;
    const QString mountPoint = path(QStringLiteral("disk"));
    std::unique_ptr<SmallDisk> disk = SmallDisk::mount(mountPoint, 4 << 20, why);
    if (!disk) GTEST_SKIP() << "full disk cases skipped: " << why.toStdString();
    for (const WriteEntry& entry : writeEntries()) {
        const QString where = mountPoint + u'/' + QString::fromLatin1(entry.name);
        QDir().mkpath(where);
        const QString target = where + targetName(entry);
        const std::map<QString, QByteArray> old = plantOld(entry, target);
        const Outcome outcome = entry.write(target, 8'000'000);
        EXPECT_TRUE(outcome.failed) << entry.name << " reported success on a full disk";
        EXPECT_FALSE(outcome.messages.isEmpty()) << entry.name << " said nothing";
        for (const QString& message : outcome.messages)
            EXPECT_TRUE(namesAFullDisk(message))
                << entry.name << " does not say the disk is full: " << message.toStdString();
        expectUntouched(entry.name, entry.writesFolder ? target : where, old);
        QDir(where).removeRecursively();
    }
}

TEST_F(FaultInjection, ReadOnlyTargetKeepsTheOldFilesAndTellsTheUser) {
    QString why;
    const QString mountPoint = path(QStringLiteral("ro"));
    std::unique_ptr<SmallDisk> disk = SmallDisk::mount(mountPoint, 4 << 20, why);
    // Without root, permissions make the target read-only; root writes past them, so root
    // needs the read-only mount.
    if (!disk && ::geteuid() == 0) GTEST_SKIP() << "read-only cases skipped: " << why.toStdString();
    if (!disk) QDir().mkpath(mountPoint);
    const std::vector<WriteEntry> entries = writeEntries();
    std::vector<std::map<QString, QByteArray>> olds;
    for (const WriteEntry& entry : entries) {
        const QString where = mountPoint + u'/' + QString::fromLatin1(entry.name);
        QDir().mkpath(where);
        olds.push_back(plantOld(entry, where + targetName(entry)));
    }
    if (disk) {
        ASSERT_TRUE(disk->makeReadOnly()) << qt_error_string(errno).toStdString();
    } else {
        for (const WriteEntry& entry : entries) {
            const QString where = mountPoint + u'/' + QString::fromLatin1(entry.name);
            for (const QString& name : entriesOf(where))
                QFile::setPermissions(QDir(where).filePath(name),
                                      QFile::ReadOwner | QFile::ExeOwner);
            QFile::setPermissions(where, QFile::ReadOwner | QFile::ExeOwner);
        }
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        const WriteEntry& entry = entries[i];
        const QString where = mountPoint + u'/' + QString::fromLatin1(entry.name);
        const QString target = where + targetName(entry);
        const Outcome outcome = entry.write(target, 100'000);
        EXPECT_TRUE(outcome.failed) << entry.name << " reported success on a read-only target";
        EXPECT_FALSE(outcome.messages.join(QString()).trimmed().isEmpty())
            << entry.name << " said nothing";
        expectUntouched(entry.name, entry.writesFolder ? target : where, olds[i]);
    }
    if (!disk)
        for (const WriteEntry& entry : entries) {
            const QString where = mountPoint + u'/' + QString::fromLatin1(entry.name);
            QFile::setPermissions(where, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
}

TEST_F(FaultInjection, TargetThatIsAFolderIsRefusedAndLeftAlone) {
    for (const WriteEntry& entry : writeEntries()) {
        const QString where =
            folder(QStringLiteral("folder-%1").arg(QString::fromLatin1(entry.name)));
        // A file target that is a folder; for a folder export, a folder where a file would go.
        QString blocked = where + QStringLiteral("/原稿.ptm");
        if (entry.writesFolder) {
            const SectionStore store = fault::faultDocument(1, 20'000);
            blocked = plan_folder_save(where, store.document(), QString()).items.at(0).path;
        }
        QDir().mkpath(blocked);
        writeAll(blocked + QStringLiteral("/中身.txt"), "inside");
        const Outcome outcome = entry.write(entry.writesFolder ? where : blocked, 100'000);
        EXPECT_TRUE(outcome.failed) << entry.name << " reported success";
        EXPECT_FALSE(outcome.messages.join(QString()).trimmed().isEmpty())
            << entry.name << " said nothing";
        EXPECT_EQ(entriesOf(blocked), QStringList{QStringLiteral("中身.txt")}) << entry.name;
        EXPECT_EQ(readAll(blocked + QStringLiteral("/中身.txt")), "inside") << entry.name;
    }
}

TEST_F(FaultInjection, KilledEditorGetsItsWorkBackByteForByte) {
    QRandomGenerator rng(seed());
    const auto typePassword = [](const QString& password) {
        return [password](QDialog& d) {
            auto& dialog = dynamic_cast<Tread_pass_fm&>(d);
            dialog.mask_ed->setText(password);
            dialog.set_btClick();
            return dialog.result();
        };
    };
    for (const QString& password : {QString(), QStringLiteral("Neko2024")}) {
        SCOPED_TRACE(password.isEmpty() ? "plain document" : "protected document");
        const QString work = folder(QStringLiteral("editor-%1").arg(password));
        const QString document = documentFile(5, 2'000'000);
        const QByteArray documentBytes = readAll(document);

        // What saving the edits would have written.
        restart({});
        ASSERT_TRUE(window->controllers().documents().document_read(document));
        if (!password.isEmpty()) store().setPassword(password.toLatin1());
        fault::makeEdits(*window);
        const QString expected = path(QStringLiteral("expected%1.ptm").arg(password));
        ASSERT_TRUE(window->controllers().documents().document_write(expected));

        // The same edits in an editor killed once its copy is written.
        std::unique_ptr<QProcess> editor =
            start({QStringLiteral(FAULT_HELPER_PATH),
                   {QStringLiteral("edit"), work, document, password},
                   "copied"});
        ASSERT_TRUE(editor);
        QThread::msleep(rng.bounded(300));
        killNow(*editor);

        restart({}, [&](StartOptions& options, ScriptedPrompter& p) {
            options.recovery.folder = fault::recoveryFolderIn(work);
            if (!password.isEmpty()) options.modalRunner = typePassword(password);
            p.answer(Answer::Yes);
        });
        ASSERT_EQ(prompter->asked().size(), 1u);
        EXPECT_TRUE(prompter->asked()[0].text.startsWith(
            QStringLiteral("前回、保存しないで終わっちゃったみたいにゃ。")));
        EXPECT_TRUE(store().isModified());
        EXPECT_EQ(store().documentPath, document);
        EXPECT_EQ(readAll(document), documentBytes) << "the original was written over";
        const QString restored = path(QStringLiteral("restored%1.ptm").arg(password));
        ASSERT_TRUE(window->controllers().documents().document_write(restored));

        if (password.isEmpty()) {
            EXPECT_EQ(readAll(restored), readAll(expected));
        } else {
            const auto withPassword = [&](const QByteArray& c) { return c == password.toLatin1(); };
            const Result<docfile::DocumentRead> a = docfile::readDocument(restored, withPassword);
            const Result<docfile::DocumentRead> b = docfile::readDocument(expected, withPassword);
            ASSERT_TRUE(a.ok());
            ASSERT_TRUE(b.ok());
            ASSERT_EQ(a->content.sections.size(), b->content.sections.size());
            for (size_t i = 0; i < a->content.sections.size(); ++i) {
                EXPECT_EQ(a->content.sections[i].section.name, b->content.sections[i].section.name);
                EXPECT_EQ(a->content.sections[i].section.text, b->content.sections[i].section.text)
                    << "section " << i + 1;
            }
        }
    }
}

} // namespace
} // namespace pote::test
