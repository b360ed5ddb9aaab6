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

} // namespace pote
