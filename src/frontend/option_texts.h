// The texts of the option screen, in code page 932 as they are drawn.
#pragma once

#include <array>
#include <string>

struct OptionHelp {
  std::string heading;
  std::array<std::string, 3> body;  // an empty line is not drawn
  std::string hint;
};

struct OptionTexts {
  std::string title;
  std::array<std::string, 4> labels;
  std::array<OptionHelp, 4> help;
};

// Converted once, on first use.
const OptionTexts& OptionScreenTexts();
