// The front end on the headless back end: fresh game state and surfaces and a program folder
// of its own for every test, with helpers to read the trace and to catch frames.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gameplay/surfaces.h"
#include "platform/headless/headless_backend.h"

using Bytes = std::vector<std::uint8_t>;

class FrontendTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  HeadlessBackend& Backend() { return *backend_; }
  void ShowMain();  // Main with the game background, shown, as after start-up

  std::vector<std::string> Lines(const std::string& ev) const;  // trace lines of one kind
  std::vector<std::string> MessageTexts() const;                // JSON-escaped
  static std::uint64_t TimeOf(const std::string& line);
  static int IntField(const std::string& line, const std::string& name);
  void WriteFile(const std::string& name, const Bytes& bytes) const;
  Bytes ReadFile(const std::string& name) const;
  // shots[name] becomes a copy of the surface as it stands `ms` virtual ms from now.
  void SnapAt(std::uint64_t ms, const std::string& name, std::function<Surface&()> of = Main);
  bool EndsProgram(const std::function<void()>& body);

  std::filesystem::path folder;
  std::map<std::string, Image> shots;

 private:
  std::unique_ptr<HeadlessBackend> backend_;
  std::map<std::string, std::function<Surface&()>> snapSources_;
};

int CountColour(const Surface& surface, Colour colour, int left, int top, int right, int bottom);
void Fill(Surface& surface, Colour colour);
void SaveScreenshot(const Surface& surface, const std::string& name);  // build dir, PNG
