#pragma once
// Sentences as a Japanese reader sees them: a sentence ends at 。！？ (and their half-width
// kin) with the closing brackets that follow, or at the paragraph's end. Brackets are counted
// so that what a character says (「……」) is told from the narration around it.

#include <QStringView>

#include <vector>

namespace pote::revision {

struct Sentence {
    qsizetype first = 0;
    qsizetype last = 0;      // after its terminator and the brackets that close after it
    qsizetype ending = 0;    // where the terminator starts (last when there is none)
    bool terminated = false; // ended by a terminator, not by the paragraph's end
    bool spoken = false;     // its terminator (or its end) lies inside brackets: dialogue
};

// depth (out): for each character, how many brackets are open before it.
void splitSentences(QStringView paragraph, std::vector<Sentence>& out, std::vector<quint8>& depth);

bool isOpeningBracket(char16_t ch);
bool isClosingBracket(char16_t ch);
// The opener a closer belongs to (0 when ch closes nothing).
char16_t openerOf(char16_t closer);
bool isTerminator(char16_t ch);

} // namespace pote::revision
