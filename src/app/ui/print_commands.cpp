#include "app/ui/print_commands.h"

#include "app/file_dialog_kinds.h"
#include "app/reporter.h"
#include "app/ui/app_context.h"
#include "app/ui/busy_cursor.h"
#include "core/cp932.h"
#include "core/file_io.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "core/text_convert.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/text_printer.h"
#include "settings/settings_values.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace pote {

namespace {

QString noPrinterQuestion() {
    return QStringLiteral("プリンターが見つからないにゃ。\r\n") +
           QStringLiteral("かわりにPDFファイルに保存するにゃん？");
}

QString printFailureMessage() {
    return QStringLiteral("印刷を始められなかったにゃ。ゴメンにゃん。");
}

} // namespace

PrintCommands::PrintCommands(AppContext& context)
    : m_context(context), m_printerLookup([] { return QPrinterInfo::defaultPrinter(); }) {
    context.commands.registerCommand(Command::Print, [this] { Print1Click(); });
}

QString PrintCommands::printableText() const {
    // Tabs typed into the pane print as the spaces they will be stored as.
    return expandTabsInPaneText(m_context.pane.toPlainText(), m_context.settings.TABWidth);
}

void PrintCommands::Print1Click() {
    const SectionStore& store = m_context.store;
    const QString title = cp932::decode(store.section(store.current).name);
    const QPrinterInfo printerInfo = m_printerLookup();
    if (printerInfo.isNull()) {
        // Printing into nothing would fail silently; offer a file instead.
        const Answer answer = m_context.prompter.message(
            MessageKind::Confirmation, Answer::Yes | Answer::No, noPrinterQuestion());
        if (answer == Answer::Yes) printToPdf(printableText(), title);
        return;
    }
    BusyCursor busy;
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setDocName(title);
    if (printText(printer, printableText(), m_context.pane.font()) == 0)
        m_context.reporter.refusal(printFailureMessage());
}

void PrintCommands::printToPdf(const QString& text, const QString& title) {
    const FileDialogRequest request =
        pdfSaveRequest(QStringLiteral("PDFファイルに保存"), m_context.settings.WorkDir,
                       m_context.store.displayName);
    const std::optional<QString> path = m_context.prompter.saveFile(request);
    if (!path) return;
    BusyCursor busy;
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_context.reporter.report(Error::io(*path, file.errorString()));
        return;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("ぽてまるエディター"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        if (printText(writer, text, m_context.pane.font()) == 0) {
            file.cancelWriting();
            m_context.reporter.refusal(printFailureMessage());
            return;
        }
    }
    if (const Result<void> committed = commitBuffered(file); !committed)
        m_context.reporter.report(committed.error());
}

} // namespace pote
