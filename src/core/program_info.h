#pragma once
// What the program says about itself on the command line.

#include <QString>
#include <QStringList>

namespace pote {

QString programVersion(); // "0.10"

enum class ProgramOption {
    Run,     // start the window (with "/d" or a file, or nothing)
    Help,    // --help, -h: print commandLineHelp() and stop
    Version, // --version: print versionLine() and stop
};

// Decided by the first argument only, so that "/d" and file names keep their meaning.
ProgramOption programOption(const QStringList& arguments);

// Ends with where the manual is, so a user of an installed program can find it.
QString commandLineHelp(const QString& manualFolder);
QString versionLine(); // "ぽてまるエディター (poteedit) Version 0.10"

} // namespace pote
