#include "app/ui/edit_commands.h"

#include "app/ui/busy_cursor.h"
#include "app/ui/document_host.h"
#include "core/cp932.h"
#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "core/section_store.h"
#include "core/text_convert.h"
#include "editing/line_transforms.h"
#include "editing/ui/edit_pane.h"
#include "editing/ui/pane_undo.h"
#include "editing/ui/text_printer.h"

#include <QApplication>
#include <QDir>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>

namespace pote {

namespace {

bool isArrowKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

// Ctrl, Alt and the like go down on their own before every keyboard command, Ctrl+Z and
// Alt+E U among them; a snapshot at that moment would leave the undo nothing to undo.
bool isCommandModifier(int key) {
    return key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_AltGr ||
           key == Qt::Key_Meta || key == Qt::Key_Super_L || key == Qt::Key_Super_R;
}

QString noPrinterQuestion() {
    return QStringLiteral("プリンターが見つからないにゃ。\r\n") +
           QStringLiteral("かわりにPDFファイルに保存するにゃん？");
}

} // namespace

EditCommands::EditCommands(DocumentHost& host, QObject* parent)
    : QObject(parent), m_host(host), m_pane(*host.pane()),
      m_undo(std::make_unique<PaneUndo>(*host.pane())),
      m_printerLookup([] { return QPrinterInfo::defaultPrinter(); }) {
    m_pane.setTabWidthSource([this] { return m_host.tabWidth(); });
    m_pane.pasteFilter = [this](const QString& text) {
        if (!text.contains(u'\t'))
            return text;
        // Line breaks of any kind stay as they are until the pane reads them.
        return cp932::decodeForPane(expand_tabs(cp932::encode(text), m_host.tabWidth()));
    };
    connect(&m_pane, &EditPane::keyDown, this, &EditCommands::ed_kd);
    connect(&m_pane, &EditPane::mousePressed, this, [this] { m_host.status_update(); });
    connect(&m_pane, &EditPane::lineCountsSettled, this, [this] { m_host.status_update(); });
    registerCommands();
}

EditCommands::~EditCommands() {
    // The pane outlives its commands while the window takes itself apart.
    m_pane.pasteFilter = nullptr;
    m_pane.setTabWidthSource(nullptr);
}

void EditCommands::registerCommands() {
    m_host.registerCommand(Command::Undo, [this] { nx_edit_undoClick(); });
    m_host.registerCommand(Command::Cut, [this] { nx_edcutClick(); });
    m_host.registerCommand(Command::Copy, [this] { nx_edcopyClick(); });
    m_host.registerCommand(Command::Paste, [this] { nx_edpasteClick(); });
    m_host.registerCommand(Command::EditDelete, [this] { nx_ed_delClick(); });
    m_host.registerCommand(Command::PopupDelete, [this] { pop_eddelClick(); });
    m_host.registerCommand(Command::SelectAll, [this] { N12Click(); });
    m_host.registerCommand(Command::BlankLineCut, [this] { nx_linecutClick(); });
    m_host.registerCommand(Command::ShiftRight, [this] { pop_right_moveClick(); });
    m_host.registerCommand(Command::Print, [this] { Print1Click(); });
}

bool EditCommands::undoAvailable() const { return m_undo->available(); }

void EditCommands::undo_take() {
    const bool wasAvailable = m_undo->available();
    m_undo->take();
    // The undo button changes only here and in undo_clear.
    if (!wasAvailable)
        m_host.tool_state_refresh();
}

void EditCommands::undo_clear() {
    const bool wasAvailable = m_undo->available();
    m_undo->clear();
    if (wasAvailable)
        m_host.tool_state_refresh();
}

void EditCommands::ed_kd(int key) {
    m_host.status_update();
    if (!isArrowKey(key) && !isCommandModifier(key))
        undo_take();
}

void EditCommands::sel_ch() {
    m_host.tool_state_refresh();
    m_host.status_update();
    // The store filling the pane is no caret move of the user's.
    if (m_host.store().loading)
        return;
    const int reaction = m_host.mascot().currentReaction();
    if (reaction == ReactionIdle || reaction == ReactionDozing || reaction == ReactionAsleep)
        m_host.mascot().mascot_react(ReactionCaretMoved);
}

void EditCommands::nx_edit_undoClick() { m_undo->swap(); }

void EditCommands::nx_edcutClick() {
    undo_take();
    m_pane.cut();
    m_host.tool_state_refresh();
}

void EditCommands::nx_edcopyClick() {
    m_pane.copy();
    m_host.tool_state_refresh();
}

void EditCommands::nx_edpasteClick() {
    undo_take();
    m_pane.paste();
}

void EditCommands::removeSelection() {
    QTextCursor cursor = m_pane.textCursor();
    cursor.removeSelectedText();
    m_pane.setTextCursor(cursor);
}

void EditCommands::nx_ed_delClick() {
    undo_take();
    removeSelection();
}

void EditCommands::pop_eddelClick() { removeSelection(); }

void EditCommands::N12Click() { m_pane.selectAll(); }

void EditCommands::nx_linecutClick() {
    undo_take();
    QTextCursor cursor = m_pane.textCursor();
    const QByteArray selected = cp932::encodeFromPane(cursor.selectedText());
    cursor.insertText(cp932::decodeForPane(blank_line_cut(selected)));
    m_pane.setTextCursor(cursor);
}

void EditCommands::pop_right_moveClick() {
    undo_take();
    const QTextCursor selection = m_pane.textCursor();
    if (m_pane.wraps())
        shiftRightDisplayedLines(selection.selectionStart(), selection.selectionEnd());
    else
        shiftRightBlocks(selection.selectionStart(), selection.selectionEnd());
    // The lines were rewritten as a whole: like any whole-text rewrite, the caret goes back to
    // the start of the text.
    QTextCursor start(m_pane.document());
    m_pane.setTextCursor(start);
    m_pane.ensureCursorVisible();
}

void EditCommands::shiftRightBlocks(int selectionStart, int selectionEnd) {
    // Without wrap a displayed line is a block: the lines from the selection's first to its
    // last go through the byte transformation in one pass.
    QTextDocument* document = m_pane.document();
    const QTextBlock first = document->findBlock(selectionStart);
    const QTextBlock last = document->findBlock(selectionEnd);
    QTextCursor lines(document);
    lines.setPosition(first.position());
    lines.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    const QByteArray bytes = cp932::encodeFromPane(lines.selectedText());
    lines.insertText(cp932::decodeForPane(shift_right(bytes)));
}

void EditCommands::shiftRightDisplayedLines(int selectionStart, int selectionEnd) {
    // With wrap on, every displayed line gets the spaces, and each insertion may wrap its
    // paragraph anew: the lines are taken by number, the next one's start read after each
    // insertion.
    EditPane::LineRef line = m_pane.lineRefAt(selectionStart);
    const EditPane::LineRef last = m_pane.lineRefAt(selectionEnd);
    qint64 count = 1;
    for (EditPane::LineRef walk = line; !(walk == last) && m_pane.nextLine(walk);)
        ++count;
    for (qint64 i = 0; i < count; ++i) {
        QTextCursor at(m_pane.document());
        at.setPosition(m_pane.startOf(line));
        at.insertText(QStringLiteral("    "));
        if (i + 1 < count && !m_pane.nextLine(line))
            break;
    }
}

QString EditCommands::printableText() const {
    // Tabs typed into the pane print as the spaces they will be stored as.
    const QString text = m_pane.toPlainText();
    if (!text.contains(u'\t'))
        return text;
    return cp932::decodeForPane(expand_tabs(cp932::encode(text), m_host.tabWidth()));
}

void EditCommands::Print1Click() {
    const SectionStore& store = m_host.store();
    const QString title = cp932::decode(store.section(store.current).name);
    const QPrinterInfo printerInfo = m_printerLookup();
    if (printerInfo.isNull()) {
        // Printing into nothing would fail silently; offer a file instead.
        const Answer answer = m_host.prompter().message(MessageKind::Confirmation,
                                                        Answer::Yes | Answer::No, noPrinterQuestion());
        if (answer == Answer::Yes)
            printToPdf(printableText(), title);
        return;
    }
    BusyCursor busy;
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setDocName(title);
    if (printText(printer, printableText(), m_pane.font()) == 0)
        reportPrintFailure();
}

void EditCommands::printToPdf(const QString& text, const QString& title) {
    FileDialogRequest request;
    request.title = QStringLiteral("PDFファイルに保存");
    request.filters = {{QStringLiteral("PDFファイル(*.pdf)"), QStringLiteral("*.pdf")}};
    request.defaultSuffix = QStringLiteral("pdf");
    request.directory = m_host.workFolder();
    request.fileName = m_host.store().displayName + QStringLiteral(".pdf");
    const std::optional<QString> path = m_host.prompter().saveFile(request);
    if (!path)
        return;
    BusyCursor busy;
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_host.mascot().mascot_react(ReactionError);
        m_host.prompter().message(MessageKind::Error, Answer::Ok,
                                  QDir::toNativeSeparators(*path) + QStringLiteral("\r\n") + file.errorString());
        return;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("ぽてまるエディター"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        if (printText(writer, text, m_pane.font()) == 0) {
            file.cancelWriting();
            reportPrintFailure();
            return;
        }
    }
    if (!file.commit()) {
        m_host.mascot().mascot_react(ReactionError);
        m_host.prompter().message(MessageKind::Error, Answer::Ok,
                                  QDir::toNativeSeparators(*path) + QStringLiteral("\r\n") + file.errorString());
    }
}

void EditCommands::reportPrintFailure() {
    m_host.mascot().mascot_react(ReactionError);
    m_host.prompter().message(MessageKind::Error, Answer::Yes,
                              QStringLiteral("印刷を始められなかったにゃ。ゴメンにゃん。"));
}

} // namespace pote
