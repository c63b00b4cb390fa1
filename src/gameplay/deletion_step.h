// One deletion step of a chain, and the flickering super lamp.
#pragma once

#include <cstdint>

void DeleteMarked(const std::int32_t& Points, const std::int32_t& DigitSum);
void Lamp();
