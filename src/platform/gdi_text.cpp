#include "platform/gdi.h"

float Surface::TextWidth(std::string_view) const { return 0; }

int TextOutA(Surface&, int, int, const char*, int) { return 0; }
