// The well, the falling pair and the NEXT box, composed on BackP and shown on Main.
#pragma once

void DrawWell();
