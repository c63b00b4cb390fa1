// The two save files, and the exit that writes them.
#pragma once

[[noreturn]] void QuitGame();
void SaveHighScore();
// Reads HighSc.sav into HighScoreRec and user.ini into UserSettings.
void LoadSaveFiles();
// The session ends (a termination signal, the display gone): the exit's writes that are left,
// before anything else and without a message, then the end; before the save files were
// read, the end alone.
[[noreturn]] void EndSession();
