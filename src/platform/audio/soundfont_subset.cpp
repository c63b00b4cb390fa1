#include "platform/audio/soundfont_subset.h"

#include <fcntl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

#include "platform/file_access.h"

namespace {

// Record sizes of the preset data's chunks, in their order in the file.
constexpr const char* kChunkIds[] = {"phdr", "pbag", "pmod", "pgen", "inst",
                                     "ibag", "imod", "igen", "shdr"};
constexpr std::size_t kRecordSizes[] = {38, 4, 10, 4, 22, 4, 10, 4, 46};
enum Chunk { kPhdr, kPbag, kPmod, kPgen, kInst, kIbag, kImod, kIgen, kShdr, kChunkCount };

constexpr std::uint16_t kInstrumentGenerator = 41;

std::uint32_t Read32(const std::uint8_t* at) {
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}
std::uint16_t Read16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}
void Put16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The records of one chunk of the preset data.
struct Records {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;  // of one record
  std::size_t count = 0;
  const std::uint8_t* operator[](std::size_t i) const { return data + i * size; }
};

// A chunk being written: whole records appended, the terminal one last.
struct Output {
  std::size_t size;
  std::vector<std::uint8_t> bytes;
  std::size_t Count() const { return bytes.size() / size; }
  std::uint8_t* Append(const std::uint8_t* record) {
    bytes.insert(bytes.end(), record, record + size);
    return bytes.data() + bytes.size() - size;
  }
  void AppendZeros() { bytes.resize(bytes.size() + size, 0); }
};

// Copies the zones (bags) of one preset or instrument with their generators and modulators.
// `remap` gives the new amount of a generator, or false when the data is broken.
template <typename Remap>
bool CopyZones(const Records& bags, const Records& gens, const Records& mods, std::size_t first,
               std::size_t last, Output& bagOut, Output& genOut, Output& modOut, Remap remap) {
  if (first > last || last >= bags.count) return false;
  for (std::size_t bag = first; bag < last; ++bag) {
    std::uint8_t record[4];
    Put16(record, static_cast<std::uint32_t>(genOut.Count()));
    Put16(record + 2, static_cast<std::uint32_t>(modOut.Count()));
    bagOut.Append(record);
    const std::size_t gen0 = Read16(bags[bag]), gen1 = Read16(bags[bag + 1]);
    const std::size_t mod0 = Read16(bags[bag] + 2), mod1 = Read16(bags[bag + 1] + 2);
    if (gen0 > gen1 || gen1 > gens.count || mod0 > mod1 || mod1 > mods.count) return false;
    for (std::size_t gen = gen0; gen < gen1; ++gen) {
      std::uint8_t* copied = genOut.Append(gens[gen]);
      std::uint16_t amount = Read16(copied + 2);
      if (!remap(Read16(copied), amount)) return false;
      Put16(copied + 2, amount);
    }
    for (std::size_t mod = mod0; mod < mod1; ++mod) modOut.Append(mods[mod]);
  }
  return true;
}

// The nine chunks of the preset data, in order, each a whole number of records.
bool ReadChunks(const std::vector<std::uint8_t>& pdta, Records (&chunks)[kChunkCount]) {
  std::size_t at = 12;  // past the list's header
  for (int i = 0; i < kChunkCount; ++i) {
    if (at + 8 > pdta.size() || std::memcmp(&pdta[at], kChunkIds[i], 4) != 0) return false;
    const std::size_t size = Read32(&pdta[at + 4]);
    if (size > pdta.size() - at - 8 || size % kRecordSizes[i] != 0 || size == 0) return false;
    chunks[i] = Records{&pdta[at + 8], kRecordSizes[i], size / kRecordSizes[i]};
    at += 8 + size;
  }
  return true;
}

// The instruments the presets play (their generator 41), old number to new, numbered anew
// in their old order. Empty when one does not exist.
std::map<std::size_t, std::uint16_t> InstrumentsOf(const Records (&chunks)[kChunkCount],
                                                   const std::vector<std::size_t>& presets) {
  std::map<std::size_t, std::uint16_t> used;
  const Records &bags = chunks[kPbag], &gens = chunks[kPgen];
  for (std::size_t preset : presets) {
    const std::size_t bag1 = Read16(chunks[kPhdr][preset + 1] + 24);
    for (std::size_t bag = Read16(chunks[kPhdr][preset] + 24); bag < bag1 && bag + 1 < bags.count;
         ++bag) {
      const std::size_t gen1 = std::min<std::size_t>(Read16(bags[bag + 1]), gens.count);
      for (std::size_t gen = Read16(bags[bag]); gen < gen1; ++gen)
        if (Read16(gens[gen]) == kInstrumentGenerator) used.emplace(Read16(gens[gen] + 2), 0);
    }
  }
  std::uint16_t next = 0;
  for (auto& [old, renumbered] : used) {
    if (old + 1 >= chunks[kInst].count) return {};
    renumbered = next++;
  }
  return used;
}

// The "pdta" list of the chunks written.
std::vector<std::uint8_t> PresetList(const Output (&out)[kChunkCount]) {
  std::vector<std::uint8_t> list = {'L', 'I', 'S', 'T', 0, 0, 0, 0, 'p', 'd', 't', 'a'};
  for (int i = 0; i < kChunkCount; ++i) {
    list.insert(list.end(), kChunkIds[i], kChunkIds[i] + 4);
    Put32(list, static_cast<std::uint32_t>(out[i].bytes.size()));
    list.insert(list.end(), out[i].bytes.begin(), out[i].bytes.end());
  }
  const auto size = static_cast<std::uint32_t>(list.size() - 8);
  for (int i = 0; i < 4; ++i) list[4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
  return list;
}

}  // namespace

std::optional<SoundFontSubset> SoundFontSubset::Read(const std::string& path) {
  int error = 0;
  const FileHandle file = OpenRegularFile(path, O_RDONLY, error);  // a FIFO is refused at once
  const std::optional<std::uint64_t> fileSize = file.Size();
  std::uint8_t header[12];
  if (!fileSize || !ReadExactlyAt(file.Get(), 0, header, sizeof header) ||
      std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "sfbk", 4) != 0)
    return std::nullopt;
  // The top-level lists: INFO, sdta, pdta; only pdta is read.
  std::uint64_t at = 12;
  while (ReadExactlyAt(file.Get(), at, header, sizeof header)) {
    const std::uint32_t size = Read32(header + 4);
    if (at + 8 + size > *fileSize) return std::nullopt;
    if (std::memcmp(header, "LIST", 4) == 0 && std::memcmp(header + 8, "pdta", 4) == 0) {
      SoundFontSubset font;
      font.pdtaOffset_ = at;
      font.pdta_.resize(std::size_t{8} + size);
      if (!ReadExactlyAt(file.Get(), at, font.pdta_.data(), font.pdta_.size())) return std::nullopt;
      return font;
    }
    at += std::uint64_t{8} + size + (size & 1);
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> SoundFontSubset::PresetData(
    const std::set<int>& programs) const {
  Records chunks[kChunkCount];
  if (!ReadChunks(pdta_, chunks) || chunks[kPhdr].count < 1 || chunks[kInst].count < 1)
    return std::nullopt;
  const Records &presets = chunks[kPhdr], &instruments = chunks[kInst];
  std::vector<std::size_t> keptPresets;
  for (std::size_t preset = 0; preset + 1 < presets.count; ++preset)  // the last ends the list
    if (programs.count(Read16(presets[preset] + 20)) > 0) keptPresets.push_back(preset);
  const auto kept = InstrumentsOf(chunks, keptPresets);
  if (kept.empty() && !keptPresets.empty()) return std::nullopt;

  Output out[kChunkCount];
  for (int i = 0; i < kChunkCount; ++i) out[i].size = kRecordSizes[i];
  auto toKeptInstrument = [&](std::uint16_t oper, std::uint16_t& amount) {
    if (oper != kInstrumentGenerator) return true;
    const auto found = kept.find(amount);
    if (found == kept.end()) return false;
    amount = found->second;
    return true;
  };
  auto unchanged = [](std::uint16_t, std::uint16_t&) { return true; };
  for (std::size_t preset : keptPresets) {
    Put16(out[kPhdr].Append(presets[preset]) + 24, static_cast<std::uint32_t>(out[kPbag].Count()));
    if (!CopyZones(chunks[kPbag], chunks[kPgen], chunks[kPmod], Read16(presets[preset] + 24),
                   Read16(presets[preset + 1] + 24), out[kPbag], out[kPgen], out[kPmod],
                   toKeptInstrument))
      return std::nullopt;
  }
  for (const auto& [old, renumbered] : kept) {
    Put16(out[kInst].Append(instruments[old]) + 20, static_cast<std::uint32_t>(out[kIbag].Count()));
    if (!CopyZones(chunks[kIbag], chunks[kIgen], chunks[kImod], Read16(instruments[old] + 20),
                   Read16(instruments[old + 1] + 20), out[kIbag], out[kIgen], out[kImod],
                   unchanged))
      return std::nullopt;
  }
  // The terminal records: the last preset and instrument point past the last zone, the last
  // zones past the last generator and modulator.
  Put16(out[kPhdr].Append(presets[presets.count - 1]) + 24,
        static_cast<std::uint32_t>(out[kPbag].Count()));
  Put16(out[kInst].Append(instruments[instruments.count - 1]) + 20,
        static_cast<std::uint32_t>(out[kIbag].Count()));
  for (const auto& [bag, gen, mod] : {std::tuple{kPbag, kPgen, kPmod}, {kIbag, kIgen, kImod}}) {
    std::uint8_t record[4];
    Put16(record, static_cast<std::uint32_t>(out[gen].Count()));
    Put16(record + 2, static_cast<std::uint32_t>(out[mod].Count()));
    out[bag].Append(record);
    out[gen].AppendZeros();
    out[mod].AppendZeros();
  }
  out[kShdr].bytes.assign(chunks[kShdr].data,
                          chunks[kShdr].data + chunks[kShdr].count * chunks[kShdr].size);
  return PresetList(out);
}
