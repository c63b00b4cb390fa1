// The front end on the headless back end: a fresh game state, fresh surfaces and a program
// folder of its own for every test, and helpers to read what the trace recorded.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/colour.h"
#include "platform/headless/headless_backend.h"
#include "platform/surface.h"

class FrontendTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HeadlessBackend& Backend() { return *backend_; }
  const std::filesystem::path& Folder() const { return folder_; }

  // Trace lines of one kind ("msgbox", "window", "sound", "mci", "file").
  std::vector<std::string> Lines(const std::string& ev) const;
  // The texts of the message boxes shown so far, in order.
  std::vector<std::string> MessageTexts() const;
  // The virtual time of a trace line.
  static std::uint64_t TimeOf(const std::string& line);
  // The integer field `name` of a trace line.
  static int IntField(const std::string& line, const std::string& name);

  void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  std::vector<std::uint8_t> ReadFile(const std::string& name) const;

  // Runs `body`, which is expected to end the program, and says whether it did.
  template <typename Body>
  bool EndsProgram(Body body) {
    try {
      body();
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<HeadlessBackend> backend_;
};

// Pixels of `surface` in the rectangle [left, right) x [top, bottom) that equal `colour`.
int CountColour(const Surface& surface, Colour colour, int left, int top, int right, int bottom);
// Fills the whole surface with one colour.
void Fill(Surface& surface, Colour colour);
// Writes the surface as a PNG (through a BMP and ImageMagick) for a look by eye.
void SaveScreenshot(const Surface& surface, const std::string& name);
