#pragma once
// The desktop's file associations as the commands see them: the document type (.ptm) and the
// plain-text type (.txt). A change that fails is Refused with the cat's whole message.

#include "core/result.h"

namespace pote {

class FileAssociations {
public:
    virtual ~FileAssociations() = default;
    // .ptm files open with this program.
    virtual bool ptmAssociated() = 0;
    virtual Result<void> associatePtm() = 0;
    virtual Result<void> removePtm() = 0;
    // .txt files open with this program (and would still after a move of the program: no).
    virtual bool txtIsOurs() = 0;
    virtual Result<void> takeTxt() = 0;
    virtual Result<void> restoreTxt() = 0;
};

} // namespace pote
