// The two save files, and the exit that writes them.
#pragma once

[[noreturn]] void QuitGame();
void SaveHighScore();
// Reads HighSc.sav into HighScoreRec and user.ini into UserSettings.
void LoadSaveFiles();
