#pragma once
// Files that reach the editor without a dialog: dropped onto the window, or named on the
// command line. The file's extension decides: a text goes into the current section, a linked
// text replaces the document, a document file is opened.

#include <QList>
#include <QStringList>
#include <QUrl>

class QDragMoveEvent;
class QDropEvent;
class QObject;

namespace pote {

struct AppContext;
class DocumentCommands;
class LinkedTextCommands;
class TextFileCommands;
struct OpenByType;

class OpenCommands {
public:
    // Makes the window and every part of it that takes dropped text take dropped files.
    OpenCommands(AppContext& context, DocumentCommands& documents, TextFileCommands& texts,
                 LinkedTextCommands& linked);
    ~OpenCommands();
    OpenCommands(const OpenCommands&) = delete;
    OpenCommands& operator=(const OpenCommands&) = delete;

    // The window's drag and drop events (a drag entering is a drag moving in Qt's terms).
    void dragEnter(QDragMoveEvent& event);
    void drop(QDropEvent& event);

    // on_files_dropped: only the first file counts.
    void on_files_dropped(const QList<QUrl>& urls);
    // open_from_command_line: the parameters name one file, possibly split at its spaces.
    void open_from_command_line(const QStringList& parameters);

private:
    void bringWindowToFront();
    // Asks the save question when the open would replace unsaved work, then opens; true when
    // the file was opened.
    bool carryOut(const OpenByType& open);

    AppContext& m_context;
    DocumentCommands& m_documents;
    TextFileCommands& m_texts;
    LinkedTextCommands& m_linked;
    QObject* m_dropFilter = nullptr; // owned by the window
};

} // namespace pote
