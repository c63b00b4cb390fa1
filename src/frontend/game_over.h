// The game-over sequence; it ends the program.
#pragma once

[[noreturn]] void GameOver();
