// The game's answer to trouble on its X connection, in place of the X library's own, which
// ends the program on the spot and so loses the save of the exit.
#pragma once

// Installs the X library's handlers for the whole program (harmless where SDL does not use
// X). `lost` runs on the thread whose X call found the connection broken (the display ended
// with the session, or was killed); no X call may follow, and it must not return. A request
// the server refuses costs that request alone and is told once on standard error.
void WatchXConnection(void (*lost)());
