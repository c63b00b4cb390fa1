// Pacing of the front end's animations and the whole-picture copies they are made of.
#pragma once

#include <cstdint>

#include "platform/gdi.h"
#include "platform/system.h"

// Waits until `periodMs` have passed since `frameTick`, then takes the tick anew: the frame
// may be drawn. The tick is taken before drawing, so the drawing time counts toward the
// period and a slow frame is followed at once by the next; no frame is ever skipped.
inline void WaitForFrame(std::uint32_t& frameTick, std::uint32_t periodMs) {
  for (std::uint32_t elapsed; (elapsed = TickSince(frameTick)) < periodMs;)
    Idle(periodMs - elapsed);
  frameTick = GetTickCount();
}

// target <- source, the whole of target's size from (0, 0).
inline void CopyWholeSurface(Surface& target, const Surface& source) {
  BitBlt(target, 0, 0, target.Width(), target.Height(), source, 0, 0, SRCCOPY);
}
