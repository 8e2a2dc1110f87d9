#pragma once
// Answers every question the program would ask, without showing it: alerts
// with their default button (each written to the trace as "alert <text>"),
// the stereo question with Mix, "Save changes before close?" with No, and
// the open dialog with Cancel. For scripted runs and tests of the real
// program, where nobody could answer.
namespace quorvel::gui {

void AnswerEveryQuestion();

} // namespace quorvel::gui
