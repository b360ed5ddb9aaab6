#pragma once
// The desktop's file associations as the commands see them: the document type (.ptm) and the
// plain-text type (.txt). Each change answers with an error text, empty when it worked.

#include <QString>

namespace pote {

class FileAssociations {
public:
    virtual ~FileAssociations() = default;
    // .ptm files open with this program.
    virtual bool ptmAssociated() = 0;
    virtual QString associatePtm() = 0;
    virtual QString removePtm() = 0;
    // .txt files open with this program (and would still after a move of the program: no).
    virtual bool txtIsOurs() = 0;
    virtual QString takeTxt() = 0;
    virtual QString restoreTxt() = 0;
};

// For a desktop without associations: nothing is associated and changes do nothing.
class NoFileAssociations : public FileAssociations {
public:
    bool ptmAssociated() override { return false; }
    QString associatePtm() override { return {}; }
    QString removePtm() override { return {}; }
    bool txtIsOurs() override { return false; }
    QString takeTxt() override { return {}; }
    QString restoreTxt() override { return {}; }
};

} // namespace pote
