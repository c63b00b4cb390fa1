// The byte layouts of the two save files: user.ini (5 bytes) and HighSc.sav (21 bytes),
// little-endian, fields back to back with no header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "gameplay/game_state.h"

constexpr std::size_t kUserSettingsBytes = 5;
constexpr std::size_t kHighScoreBytes = 21;

// A file shorter than its record gives zeros for the bytes it lacks; values are taken as
// they stand, with no range check.
UserSettingsRec DecodeUserSettings(std::span<const std::uint8_t> file);
HighScoreRecord DecodeHighScore(std::span<const std::uint8_t> file);

// Writes the record over the first bytes of `file`, growing it to the record's length when
// it is shorter; bytes beyond the record are kept.
void EncodeUserSettings(const UserSettingsRec& record, std::vector<std::uint8_t>& file);
void EncodeHighScore(const HighScoreRecord& record, std::vector<std::uint8_t>& file);
