// The side panel: labels, numbers, the level gauge and the scores.
#pragma once

void DrawPanelLabels();
void DrawStatusPanel();
