#pragma once
// The UTF-8 question of the commands that read text files: asked once per command, at the first
// file that looks like UTF-8, and the characters that could not be kept reported at its end.

#include "textio/utf8_text.h"

namespace pote {

class Prompter;

// A choice that asks through prompter when a file first looks like UTF-8.
Utf8Choice utf8ChoiceAsking(Prompter& prompter);
// After the command: tells how many characters became "?", if any did.
void reportUtf8Losses(Prompter& prompter, const Utf8Choice& choice);

} // namespace pote
