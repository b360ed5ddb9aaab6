#pragma once
// ptmtool lint: the revision check on the command line.

#include <QStringList>

namespace pote::cli {

// args: what follows "lint". Exit codes as grep's: 0 nothing found, 1 findings, 2 trouble (usage,
// an unreadable or refused file), 3 a protected document without its right --password.
int lint(const QStringList& args);

} // namespace pote::cli
