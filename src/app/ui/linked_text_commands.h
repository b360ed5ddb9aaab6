#pragma once
// The linked text: the whole document exported as one text file in which a "*section" header
// line introduces every section, and such a file split back into a new document.

#include <QString>

#include <vector>

namespace pote {

struct AppContext;
class DocumentCommands;

class LinkedTextCommands {
public:
    LinkedTextCommands(AppContext& context, DocumentCommands& documents);

    // Export (the menu item and the tool button).
    void nx_marge_text_save1Click();
    // Import (the menu item and the tool button).
    void nx_marge_convClick();

    // Replaces the document by the sections of the linked text at path, without asking; a file
    // that is refused or cannot be read leaves the document as it was. True when it was read.
    bool linked_text_read(const QString& path);

private:
    // Asks question about the sections at positions (none: nothing to ask); true to go on.
    bool confirmSections(std::vector<int> positions, QString (*question)(const std::vector<int>&));

    AppContext& m_context;
    DocumentCommands& m_documents;
};

} // namespace pote
