#include "app/terminal_note.h"

#include <cstdio>

namespace pote {

void tellTerminal(const QString& what) {
    std::fprintf(stderr, "poteedit: %s\n", qUtf8Printable(what));
}

} // namespace pote
