#include "platform/gdi.h"

int Rectangle(Surface&, int, int, int, int) { return 0; }
int RoundRect(Surface&, int, int, int, int, int, int) { return 0; }
int Ellipse(Surface&, int, int, int, int) { return 0; }
int Polygon(Surface&, const POINT*, int) { return 0; }
