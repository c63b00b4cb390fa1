#include "frontend/save_records.h"

namespace {

// Reads `width` little-endian bytes at `offset`; bytes past the end of the file read as 0.
std::uint32_t ReadLittle(std::span<const std::uint8_t> file, std::size_t offset, int width) {
  std::uint32_t value = 0;
  for (int k = width - 1; k >= 0; --k) {
    std::size_t at = offset + static_cast<std::size_t>(k);
    value = (value << 8) | (at < file.size() ? file[at] : 0u);
  }
  return value;
}

void WriteLittle(std::vector<std::uint8_t>& file, std::size_t offset, int width,
                 std::uint32_t value) {
  for (int k = 0; k < width; ++k) file[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

void GrowTo(std::vector<std::uint8_t>& file, std::size_t length) {
  if (file.size() < length) file.resize(length, 0);
}

}  // namespace

UserSettingsRec DecodeUserSettings(std::span<const std::uint8_t> file) {
  UserSettingsRec record;
  record.KeySense = static_cast<std::uint8_t>(ReadLittle(file, 0, 1));
  record.BgmOn = static_cast<Bool16>(ReadLittle(file, 1, 2));
  record.SoundOn = static_cast<Bool16>(ReadLittle(file, 3, 2));
  return record;
}

HighScoreRecord DecodeHighScore(std::span<const std::uint8_t> file) {
  HighScoreRecord record;
  record.Reserved0 = static_cast<std::uint16_t>(ReadLittle(file, 0, 2));
  record.RecScore = static_cast<std::int32_t>(ReadLittle(file, 2, 4));
  record.HiScore = static_cast<std::int32_t>(ReadLittle(file, 6, 4));
  record.Level = static_cast<std::int16_t>(ReadLittle(file, 10, 2));
  record.DelSum = static_cast<std::int32_t>(ReadLittle(file, 12, 4));
  record.MaxCombo = static_cast<std::uint8_t>(ReadLittle(file, 16, 1));
  record.Reserved17 = ReadLittle(file, 17, 4);
  return record;
}

void EncodeUserSettings(const UserSettingsRec& record, std::vector<std::uint8_t>& file) {
  GrowTo(file, kUserSettingsBytes);
  WriteLittle(file, 0, 1, record.KeySense);
  WriteLittle(file, 1, 2, static_cast<std::uint16_t>(record.BgmOn));
  WriteLittle(file, 3, 2, static_cast<std::uint16_t>(record.SoundOn));
}

void EncodeHighScore(const HighScoreRecord& record, std::vector<std::uint8_t>& file) {
  GrowTo(file, kHighScoreBytes);
  WriteLittle(file, 0, 2, record.Reserved0);
  WriteLittle(file, 2, 4, static_cast<std::uint32_t>(record.RecScore));
  WriteLittle(file, 6, 4, static_cast<std::uint32_t>(record.HiScore));
  WriteLittle(file, 10, 2, static_cast<std::uint16_t>(record.Level));
  WriteLittle(file, 12, 4, static_cast<std::uint32_t>(record.DelSum));
  WriteLittle(file, 16, 1, record.MaxCombo);
  WriteLittle(file, 17, 4, record.Reserved17);
}
