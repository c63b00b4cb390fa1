// The synthesizer's SoundFont loader: it reads the files given to ServeSoundFontSubset with
// only some of their presets (soundfont_subset.h), and every other file as it is.
#pragma once

#include <fluidsynth.h>

#include <set>
#include <string>

// A loader to add to a synthesizer (fluid_synth_add_sfloader) before it loads a SoundFont.
fluid_sfloader_t* NewSoundFontSubsetLoader(fluid_settings_t* settings);

enum class FontServing {
  kSubset,       // with some presets only
  kWhole,        // its preset data cannot be cut down
  kNoSoundFont,  // no SoundFont whose lists can be read: the synthesizer would not load it
};
// From now on the file at `path` loads with only the presets of `programs` (any bank), or
// whole; how is the answer.
FontServing ServeSoundFontSubset(const std::string& path, const std::set<int>& programs);
// From now on the file at `path` loads whole.
void ServeWholeSoundFont(const std::string& path);
