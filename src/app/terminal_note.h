#pragma once
// Trouble that must not interrupt the user (settings that could not be read, a recovery copy
// that failed) still leaves one line for whoever started the program from a terminal.

#include <QString>

namespace pote {

void tellTerminal(const QString& what);

} // namespace pote
