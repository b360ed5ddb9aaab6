#include "app/ui/utf8_question.h"

#include "app/ui/busy_cursor.h"
#include "core/prompter.h"
#include "textio/text_messages.h"

namespace pote {

Utf8Choice utf8ChoiceAsking(Prompter& prompter) {
    return Utf8Choice([&prompter] {
        // The folder add asks in the middle of its busy work.
        NormalCursor normal;
        return prompter.message(MessageKind::Confirmation, Answer::Yes | Answer::No,
                                textmsg::utf8Question()) == Answer::Yes;
    });
}

void reportUtf8Losses(Prompter& prompter, const Utf8Choice& choice) {
    if (choice.unmappable() > 0)
        prompter.message(MessageKind::Information, Answer::Ok,
                         textmsg::utf8Unmappable(choice.unmappable()));
}

} // namespace pote
