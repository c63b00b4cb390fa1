#include "frontend_fixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "gameplay/game_state.h"
#include "gameplay/surfaces.h"
#include "platform/image.h"
#include "platform/system.h"

void FrontendTest::SetUp() {
  char pattern[] = "/tmp/fumbo-frontend-XXXXXX";
  folder_ = mkdtemp(pattern);
  HeadlessOptions options;
  options.programFolder = folder_.string();
  backend_ = std::make_unique<HeadlessBackend>(options);
  SetBackend(backend_.get());
  ResetGameState();
  ResetSurfaces();
  RandomizeWith(7);
}

void FrontendTest::TearDown() {
  ReleaseBgmPlayer();
  SetBackend(nullptr);
  std::error_code ec;
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ec);
  std::filesystem::remove_all(folder_, ec);
}

std::vector<std::string> FrontendTest::Lines(const std::string& ev) const {
  std::vector<std::string> found;
  for (const std::string& line : backend_->Trace().Lines())
    if (line.find("\"ev\":\"" + ev + "\"") != std::string::npos) found.push_back(line);
  return found;
}

std::vector<std::string> FrontendTest::MessageTexts() const {
  std::vector<std::string> texts;
  for (const std::string& line : Lines("msgbox")) {
    auto start = line.find("\"text\":\"") + 8;
    auto end = line.find("\",\"buttons\"");
    texts.push_back(line.substr(start, end - start));
  }
  return texts;
}

std::uint64_t FrontendTest::TimeOf(const std::string& line) {
  return std::stoull(line.substr(line.find("\"t\":") + 4));
}

int FrontendTest::IntField(const std::string& line, const std::string& name) {
  return std::stoi(line.substr(line.find("\"" + name + "\":") + name.size() + 3));
}

void FrontendTest::WriteFile(const std::string& name,
                             const std::vector<std::uint8_t>& bytes) const {
  std::ofstream out(folder_ / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> FrontendTest::ReadFile(const std::string& name) const {
  std::ifstream in(folder_ / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int CountColour(const Surface& surface, Colour colour, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (surface.Contains(x, y) && surface.Pixel(x, y) == colour) ++count;
  return count;
}

void Fill(Surface& surface, Colour colour) {
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) surface.SetPixel(x, y, colour);
}

void SaveScreenshot(const Surface& surface, const std::string& name) {
  const std::string bmp = std::string(FUMBO_BINARY_DIR) + "/" + name + ".bmp";
  if (!SaveBmpFile(surface.Snapshot(), bmp)) return;
  const std::string command =
      "convert " + bmp + " " + FUMBO_BINARY_DIR + "/" + name + ".png 2>/dev/null";
  if (std::system(command.c_str()) != 0) return;
}
