// game-first-paint: the game's start-up exactly as the program runs it, ending right after its
// first paint (see first_paint_exit.h); timed against empty-window.
#include "first_paint_exit.h"
#include "ui/application.h"

using kv_bench::ExitAfterFirstPaint;
Q_COREAPP_STARTUP_FUNCTION(ExitAfterFirstPaint)

int main(int argc, char** argv) { return kv::RunApplication(argc, argv); }
