// The opening and closing animations of the option screen.
#pragma once

#include <cstdint>

void OptionTransition(const std::int16_t& Opening);
