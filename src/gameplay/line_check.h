// The board check after every landing: lines of three, the super landing, chains.
#pragma once

void CheckBoard();
