#pragma once
// Turns the outcome of file work and refused requests into the cat's messages, the same way for
// every command: the cat reacts first, then the box.

#include <QString>

namespace pote {

class Prompter;
class MascotReactions;
struct SpaceCheck;

class Reporter {
public:
    Reporter(Prompter& prompter, MascotReactions& mascot)
        : m_prompter(prompter), m_mascot(mascot) {}

    // A file could not be read or written: the file's name, then the platform's text.
    void fileError(const QString& path, const QString& error);
    // The program refuses a file or a request; message is the whole text of the box.
    void refusal(const QString& message);
    // A free-space check before a write failed.
    void spaceShortage(const SpaceCheck& check);

private:
    Prompter& m_prompter;
    MascotReactions& m_mascot;
};

} // namespace pote
