#include "frontend_fixture.h"

#include <fstream>
#include <iterator>

#include "gameplay/game_state.h"
#include "platform/system.h"

void FrontendTest::SetUp() {
  char pattern[] = "/tmp/fumbo-frontend-XXXXXX";
  folder = mkdtemp(pattern);
  backend_ = std::make_unique<HeadlessBackend>(HeadlessOptions{.programFolder = folder.string()});
  backend_->SetSnapshotTaker(
      [this](const std::string& name) { shots.emplace(name, snapSources_.at(name)().Snapshot()); });
  SetBackend(backend_.get());
  ResetGameState();
  ResetSurfaces();
  RandomizeWith(7);
}

void FrontendTest::TearDown() {
  ReleaseBgmPlayer();
  SetBackend(nullptr);
  std::filesystem::remove_all(folder);
}

void FrontendTest::ShowMain() {
  Main().SetPicture(GameBackgroundPicture());
  BackPSub().SetPicture(GameBackgroundPicture());
  backend_->AttachSurface(WindowId::Main, &Main());
  backend_->Show(WindowId::Main);
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
    texts.push_back(line.substr(start, line.find("\",\"buttons\"") - start));
  }
  return texts;
}

std::uint64_t FrontendTest::TimeOf(const std::string& line) {
  return std::stoull(line.substr(line.find("\"t\":") + 4));
}

int FrontendTest::IntField(const std::string& line, const std::string& name) {
  return std::stoi(line.substr(line.find("\"" + name + "\":") + name.size() + 3));
}

void FrontendTest::WriteFile(const std::string& name, const Bytes& bytes) const {
  std::ofstream(folder / name, std::ios::binary) << std::string(bytes.begin(), bytes.end());
}

Bytes FrontendTest::ReadFile(const std::string& name) const {
  std::ifstream in(folder / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void FrontendTest::SnapAt(std::uint64_t ms, const std::string& name, std::function<Surface&()> of) {
  snapSources_[name] = std::move(of);
  backend_->Schedule(
      {.time = backend_->Elapsed() + ms, .kind = ScriptEventKind::Snap, .words = {name}});
}

bool FrontendTest::EndsProgram(const std::function<void()>& body) {
  try {
    body();
  } catch (const ProgramEnded&) {
    return true;
  }
  return false;
}

int CountColour(const Surface& surface, Colour colour, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += surface.Pixel(x, y) == colour;
  return count;
}

void Fill(Surface& surface, Colour colour) {
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) surface.SetPixel(x, y, colour);
}

void SaveScreenshot(const Surface& surface, const std::string& name) {
  const std::string base = std::string(FUMBO_BINARY_DIR) + "/" + name;
  if (SaveBmpFile(surface.Snapshot(), base + ".bmp"))
    (void)std::system(("convert " + base + ".bmp " + base + ".png 2>/dev/null").c_str());
}
