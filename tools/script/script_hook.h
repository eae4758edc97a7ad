#pragma once
// A developer's scripted run of the main window, used by the scripted-game tool behind
// tools/screenshot; the game itself never runs a script. The script is a list of steps separated
// by ";", run one after another from the event loop:
//   type=<text>      the path box gets the text
//   press=<button>   press and release over load, shuffle, newgame, exit or about
//   pick=<name>      clicks the file list's row of that name
//   count=<N>        the player chooses N in the piece-count box
//   browse=<file>    the browser opens the file's folder and the player selects the file's row
//   solve[=<K>]      drags pieces 1..K (all when K is left out) home with the mouse
//   drag=<k>,<dx>,<dy>  drags piece k by (dx, dy)
//   wait=<ms>        lets the event loop run for a while
//   shot=<file.png>  saves a picture of the client area of the modal box that is open, else of
//                    the main window
//   close            closes the modal box that is open (as its close box does)
//   quit             closes the window (the program ends)
// While a script runs, message boxes are answered at once and their texts printed to stderr.
#include <string>
#include <vector>

namespace kv {

class SimulatedMouse;
class TForm1;

// Drags piece k home with the mouse as a player would: grabbed where nothing covers it; when
// other pieces lie over all of it, the top-most of them is first dragged aside. False when the
// piece does not exist or cannot be uncovered.
bool DragPieceHome(TForm1& form, SimulatedMouse& mouse, int k);

struct ScriptStep {
    std::string command;
    std::string argument;
};

// Splits a script into steps; blank steps are dropped.
std::vector<ScriptStep> ParseScript(const std::string& script);

// Starts a script on the form; it runs from the event loop. Unknown steps are reported on
// stderr and skipped.
void StartScript(TForm1& form, const std::vector<ScriptStep>& steps);

}  // namespace kv
