#pragma once
// Turns the outcome of file work and refused requests into the cat's messages, the same way for
// every command: the cat reacts first, then the box.

#include <QString>

namespace pote {

class Prompter;
class MascotReactions;
struct Error;

class Reporter {
public:
    Reporter(Prompter& prompter, MascotReactions& mascot)
        : m_prompter(prompter), m_mascot(mascot) {}

    // Nothing for a cancelled request. Otherwise the cat's error reaction, then an error box:
    // an error about a file names the file above its text; any other is the cat's whole message.
    void report(const Error& error);
    // The program refuses a request; message is the whole text of the box.
    void refusal(const QString& message);

private:
    Prompter& m_prompter;
    MascotReactions& m_mascot;
};

} // namespace pote
