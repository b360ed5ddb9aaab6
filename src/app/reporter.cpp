#include "app/reporter.h"

#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "textio/free_space.h"

#include <QDir>

namespace pote {

void Reporter::fileError(const QString& path, const QString& error) {
    m_mascot.mascot_react(ReactionError);
    m_prompter.message(MessageKind::Error, Answer::Ok,
                       QDir::toNativeSeparators(path) + QStringLiteral("\r\n") + error);
}

void Reporter::refusal(const QString& message) {
    m_mascot.mascot_react(ReactionError);
    m_prompter.message(MessageKind::Error, Answer::Yes, message);
}

void Reporter::spaceShortage(const SpaceCheck& check) {
    refusal(check.message);
}

} // namespace pote
