#include "app/ui/cat_commands.h"

#include "app/ui/app_context.h"
#include "core/mascot_reactions.h"
#include "core/prompter.h"
#include "mascot/ui/cat_fm.h"
#include "settings/settings_values.h"

namespace pote {

CatCommands::CatCommands(AppContext& context, mascot::MascotView& cat)
    : m_context(context), m_cat(cat) {
    context.commands.registerCommand(Command::Exercise, [this] { N10Click(); });
    context.commands.registerCommand(Command::CatWindow, [this] { M1Click(); });
}

void CatCommands::N10Click() {
    m_context.mascot.mascot_react(ReactionExercise);
    m_context.prompter.message(
        MessageKind::Confirmation, Answer::Yes,
        QStringLiteral("にゃ～！！育成ソフトと勘違いしてるにゃ～。\r") +
            QStringLiteral("運動なんかしないにゃ！！「エッサ！エッサ！っと」"));
    m_context.mascot.mascot_react(ReactionExercise);
}

void CatCommands::M1Click() {
    mascot::showCatWindow(m_cat, m_room, m_context.prompter, m_context.settings.RoomPIC,
                          m_context.view.dialogParent());
}

} // namespace pote
