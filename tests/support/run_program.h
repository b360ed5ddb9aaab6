#pragma once
// Runs a program of ours (or a tool the tests read back with) to its end, as a shell would.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace pote::test {

struct ProgramRun {
    int exitCode = -1; // -1: it did not end within a minute, or ended by a signal
    QByteArray out;
    QByteArray err;
};

ProgramRun
runProgram(const QString& program, const QStringList& args,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

} // namespace pote::test
