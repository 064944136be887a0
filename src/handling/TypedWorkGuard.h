#pragma once

#include "run/PlatformServices.h"
#include "run/Run.h"

#include <string>

namespace drilbank {

// The actions that would throw away typed text, each asked about before it is taken.
enum class GuardedAction { NextQuestion, ClearBox, CloseWindow, Quit, DisplayEverything };

// The question for an action, naming the boxes whose typed text is at stake.
GuardQuestion guardQuestion(GuardedAction action, bool inAnswerBox, bool inQuestionBox);

// Whether the answer box holds text the student typed: anything other than the answer
// prompt, the empty text and the single blank the box starts with.
bool answerBoxTyped(Run& run);

// The text the student typed into the question box and has not recorded: what the box holds
// beyond what the program put there, without the blanks and line breaks around it. Blanks and
// line breaks alone are not typed work.
std::string questionBoxTyping(Run& run);

// Replaces the question box's text and scrolls it to the byte inViewFrom of the text (see
// PlatformServices::setQuestionText): the caller says what the student is to see. Text the
// student typed there and that the new text keeps in its place still counts as typed work;
// anything else the program put there does not.
void showInQuestionBox(Run& run, const std::string& text, std::size_t inViewFrom);

// Whether the action would lose text the student typed and has not recorded.
bool typedWorkAtStake(Run& run, GuardedAction action);

// True when nothing the action would lose is typed, or when the student chose to go on and
// lose it. The safe answer, the default, keeps the typed work and the action is not taken.
// Clearing the box and going on to the next question lose only the answer box's text;
// "display everything" only the question box's; closing and quitting both.
bool mayDiscardTypedWork(Run& run, GuardedAction action);

} // namespace drilbank
