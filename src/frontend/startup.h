// The program's entry: splash, start-up, then the main loop.
#pragma once

[[noreturn]] void StartUp();
// Load handler of the splash window: sizes it to its picture and centres it.
void Form_Load();

// The stages of StartUp, in their order.
// The splash with the opening tune: shown, slid in, held, kept up while the tune plays,
// then unloaded.
void RunSplash();
// The main window: its pictures, its size fitted to the game picture, centred and shown.
void ShowMainWindow();
// The first pair, the first super threshold, the first level, the save files, the first
// screen and the first falling pair; then the game tune when music is on.
void PrepareFirstGame();
