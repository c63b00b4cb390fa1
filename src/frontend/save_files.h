// The two save files, and the exit that writes them.
#pragma once

[[noreturn]] void QuitGame();
void SaveHighScore();
// Reads HighSc.sav into HighScoreRec and user.ini into UserSettings.
void LoadSaveFiles();
// The session ends (the program is told to stop): the exit without its messages, or, before
// the save files were read, the end alone. An exit under way goes on without its messages.
void EndSession();
