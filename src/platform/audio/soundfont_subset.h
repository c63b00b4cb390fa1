// A SoundFont (SF2) seen with fewer presets: the same file up to its preset data, which is
// rebuilt with only the presets of some program numbers and the instruments they use. The
// synthesizer keeps every preset it loads in memory (about 2 KB per zone, 5 MB for a whole
// General MIDI font), while a tune uses a handful; the samples themselves stay where they
// are in the file.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

class SoundFontSubset {
 public:
  // Null when the file is not a SoundFont whose preset data can be read.
  static std::optional<SoundFontSubset> Read(const std::string& path);

  // Where the preset data starts: the file's bytes before it are used as they are.
  std::uint64_t PresetDataOffset() const { return pdtaOffset_; }
  // The preset data (the whole "pdta" list) keeping every preset, of any bank, whose
  // program number is in `programs`. Null when the file's data does not hold together.
  std::optional<std::vector<std::uint8_t>> PresetData(const std::set<int>& programs) const;

 private:
  std::uint64_t pdtaOffset_ = 0;
  std::vector<std::uint8_t> pdta_;  // the original "pdta" list, its header included
};
