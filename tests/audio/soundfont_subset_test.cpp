// The SoundFont seen with only some presets: what the synthesizer is given to load.
#include "platform/audio/soundfont_subset.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "audio/smf_builder.h"
#include "audio/test_backend.h"

namespace {

struct Preset {
  std::string name;
  int program, bank;
  std::vector<int> instruments;  // one zone each
};

void Put(Bytes& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void Zeros(Bytes& out, int bytes) { out.resize(out.size() + static_cast<std::size_t>(bytes), 0); }
void PutName(Bytes& out, const std::string& name) {
  Bytes field(20, 0);
  std::copy(name.begin(), name.end(), field.begin());
  out.insert(out.end(), field.begin(), field.end());
}
Bytes Chunk(const char* id, const Bytes& body) {
  Bytes out(id, id + 4);
  Put(out, static_cast<std::uint32_t>(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}
Bytes List(const char* type, const std::vector<Bytes>& chunks) {
  Bytes body(type, type + 4);
  for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  return Chunk("LIST", body);
}

// The "pdta" list: the presets, and instruments that each play one sample (by number).
Bytes PresetData(const std::vector<Preset>& presets,
                 const std::vector<std::pair<std::string, int>>& instruments) {
  Bytes phdr, pbag, pgen, inst, ibag, igen, shdr, terminalMod(10, 0);
  int bags = 0;
  for (const Preset& preset : presets) {
    PutName(phdr, preset.name);
    Put(phdr, preset.program, 2), Put(phdr, preset.bank, 2), Put(phdr, bags, 2), Zeros(phdr, 12);
    for (int instrument : preset.instruments) {
      Put(pbag, bags++, 2), Put(pbag, 0, 2);
      Put(pgen, 41, 2), Put(pgen, instrument, 2);
    }
  }
  PutName(phdr, "EOP"), Put(phdr, 0, 4), Put(phdr, bags, 2), Zeros(phdr, 12);
  Put(pbag, bags, 2), Put(pbag, 0, 2), Put(pgen, 0, 4);
  for (std::size_t i = 0; i < instruments.size(); ++i) {
    PutName(inst, instruments[i].first), Put(inst, static_cast<std::uint32_t>(i), 2);
    Put(ibag, static_cast<std::uint32_t>(i), 2), Put(ibag, 0, 2);
    Put(igen, 53, 2), Put(igen, instruments[i].second, 2);
  }
  PutName(inst, "EOI"), Put(inst, static_cast<std::uint32_t>(instruments.size()), 2);
  Put(ibag, static_cast<std::uint32_t>(instruments.size()), 2), Put(ibag, 0, 2), Put(igen, 0, 4);
  for (const char* sample : {"low", "mid", "high", "EOS"}) PutName(shdr, sample), Zeros(shdr, 26);
  return List("pdta", {Chunk("phdr", phdr), Chunk("pbag", pbag), Chunk("pmod", terminalMod),
                       Chunk("pgen", pgen), Chunk("inst", inst), Chunk("ibag", ibag),
                       Chunk("imod", terminalMod), Chunk("igen", igen), Chunk("shdr", shdr)});
}

Bytes SoundFont(const Bytes& presetData) {
  Bytes body = {'s', 'f', 'b', 'k'};
  for (const Bytes& list : {List("INFO", {Chunk("ifil", {2, 0, 1, 0})}),
                            List("sdta", {Chunk("smpl", Bytes(16, 0))}), presetData})
    body.insert(body.end(), list.begin(), list.end());
  return Chunk("RIFF", body);
}

TEST(SoundFontSubset, KeepsThePresetsOfTheProgramsInEveryBankAndOnlyTheirInstruments) {
  TempFolder folder("fumbo-soundfont");
  const std::vector<std::pair<std::string, int>> instruments = {
      {"Piano", 0}, {"Snare", 1}, {"Square", 2}};
  const auto font =
      SoundFontSubset::Read(folder.Write("gm.sf2", SoundFont(PresetData({{"Piano", 0, 0, {0}},
                                                                         {"Lead", 80, 0, {2}},
                                                                         {"Kit", 80, 128, {1, 2}},
                                                                         {"Other", 81, 0, {0}}},
                                                                        instruments))));
  ASSERT_TRUE(font);
  // The preset data starts after the RIFF header, INFO (24 bytes) and sdta (36 bytes).
  EXPECT_EQ(font->PresetDataOffset(), 12u + 24 + 36);
  // Instruments 1 and 2 become 0 and 1; the samples keep their numbers.
  EXPECT_EQ(font->PresetData({80}), PresetData({{"Lead", 80, 0, {1}}, {"Kit", 80, 128, {0, 1}}},
                                               {{"Snare", 1}, {"Square", 2}}));
  EXPECT_EQ(font->PresetData({0, 80, 81}), PresetData({{"Piano", 0, 0, {0}},
                                                       {"Lead", 80, 0, {2}},
                                                       {"Kit", 80, 128, {1, 2}},
                                                       {"Other", 81, 0, {0}}},
                                                      instruments));
}

TEST(SoundFontSubset, BrokenPresetDataIsRefusedSoTheFontLoadsWhole) {
  TempFolder folder("fumbo-soundfont");
  // An instrument that does not exist.
  const auto font = SoundFontSubset::Read(
      folder.Write("bad.sf2", SoundFont(PresetData({{"Lead", 80, 0, {7}}}, {{"Square", 2}}))));
  ASSERT_TRUE(font);
  EXPECT_FALSE(font->PresetData({80}));
  EXPECT_FALSE(SoundFontSubset::Read(folder.Write("tune.mid", Bytes{'M', 'T', 'h', 'd'})));
}

}  // namespace
