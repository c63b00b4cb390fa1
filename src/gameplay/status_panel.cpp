// Placeholder until this part of the game is written.
#include "gameplay/status_panel.h"

#include <cstdlib>

void DrawPanelLabels() {}
void DrawStatusPanel() {}
