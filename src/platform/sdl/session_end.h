// How the world outside ends the game: a termination signal (a kill, Ctrl+C, a logout) or the
// loss of the display (the X server ends with the desktop session). Either way the game ends
// through its own end of session, which saves; the defaults would end the program on the
// spot and lose the exit's save.
#pragma once

// Before SDL starts: SIGTERM, SIGINT and SIGHUP only note that they came (one ignored when
// the program started, under nohup or as a background job, stays ignored), and a write that
// fails, such as a message to a standard error nobody reads any more, fails alone.
void CatchEndSignals();
// True once a termination signal has come; never cleared. The game's thread looks at it
// where it pumps events, idles or waits in a message box.
bool EndSignalled();

// Once SDL has opened the display (harmless where SDL does not use X): `lost` runs on the
// thread whose X call found the connection broken; no X call may follow, and it must not
// return. A request the X server refuses costs that request alone and is told on standard
// error, once for each kind of request and refusal; focus refused to a window not mapped yet,
// which a window manager still starting brings, is not told.
void WatchXConnection(void (*lost)());
