// What the people of the world answer: a non-player creature with answers
// listens to what players say next to it, and when a word it knows is
// spoken, it says its answer. The answers come from the world file
// ("Answer" statements, server/data/README.md).
#pragma once

#include "server/Creatures.h"

#include <string>

namespace server::npcs {

// How near a player has to stand to be heard, in fields on both axes.
inline constexpr int HEARING_RANGE = 3;

// Forgets every answer (a world is about to be read).
void ResetAnswers();
// The creature named Name answers Text when one of the Keywords (words
// separated by blanks, matched whole and regardless of case) is said; "%N"
// in the text becomes the speaker's name.
void AddAnswer(const std::string& Name, const std::string& Keywords, const std::string& Text);
// A player said Text: the creatures with answers within hearing range on
// his floor answer, each with its first matching answer.
void Hear(Player& Speaker, const std::string& Text);

}  // namespace server::npcs
