#include "app/reporter.h"

#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "core/result.h"
#include "textio/free_space.h"

#include <QDir>

namespace pote {

void Reporter::report(const Error& error) {
    if (error.kind == Error::Kind::Cancelled) return;
    m_mascot.mascot_react(ReactionError);
    if (error.path.isEmpty())
        m_prompter.message(MessageKind::Error, Answer::Yes, error.text);
    else
        m_prompter.message(MessageKind::Error, Answer::Ok,
                           QDir::toNativeSeparators(error.path) + QStringLiteral("\r\n") +
                               error.text);
}

void Reporter::refusal(const QString& message) {
    report(Error::refused(message));
}

void Reporter::fileError(const QString& path, const QString& error) {
    report(Error::io(path, error));
}

void Reporter::spaceShortage(const SpaceCheck& check) {
    refusal(check.message);
}

} // namespace pote
