#include "app/reporter.h"

#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "core/result.h"

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

} // namespace pote
