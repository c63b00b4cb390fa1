#include "platform/audio/soundfont_loader.h"

#include <fcntl.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/audio/soundfont_subset.h"
#include "platform/file_access.h"

namespace {

// A file as the synthesizer sees it: the real file's bytes, except its first eight (the RIFF
// size changes) and everything from the preset data on, which come from memory.
struct View {
  std::uint8_t riff[8];
  std::uint64_t pdtaOffset = 0;
  std::vector<std::uint8_t> pdta;
  std::uint64_t Size() const { return pdtaOffset + pdta.size(); }
};

struct Served {
  std::optional<SoundFontSubset> font;  // the file's original preset data, read once
  std::shared_ptr<const View> view;     // null: the file loads whole
};

// Opened from the loading thread and, while presets load their samples, the audio thread.
std::mutex servedMutex;
std::map<std::string, Served> served;

struct OpenFile {
  FileHandle file;
  std::shared_ptr<const View> view;
  std::uint64_t size = 0;
  std::uint64_t at = 0;
};

void* Open(const char* path) {
  int error = 0;
  FileHandle file = OpenRegularFile(path, O_RDONLY, error);  // a FIFO never holds it up
  const std::optional<std::uint64_t> size = file.Size();
  if (!size) return nullptr;
  auto* open = new OpenFile{std::move(file), nullptr, *size, 0};
  {
    std::lock_guard lock(servedMutex);
    if (auto found = served.find(path); found != served.end()) open->view = found->second.view;
  }
  if (open->view != nullptr) open->size = open->view->Size();
  return open;
}

// Copies `count` bytes of the file at `from` out of the real file.
bool ReadReal(OpenFile& open, std::uint64_t from, std::uint8_t* to, std::uint64_t count) {
  return ReadExactlyAt(open.file.Get(), from, to, static_cast<std::size_t>(count));
}

int Read(void* buffer, fluid_long_long_t count, void* handle) {
  auto& open = *static_cast<OpenFile*>(handle);
  auto* to = static_cast<std::uint8_t*>(buffer);
  auto left = static_cast<std::uint64_t>(count);
  if (count < 0 || left > open.size - open.at) return FLUID_FAILED;
  const View* view = open.view.get();
  while (left > 0) {
    std::uint64_t piece;
    if (view == nullptr || (open.at >= 8 && open.at < view->pdtaOffset)) {
      piece = view == nullptr ? left : std::min(left, view->pdtaOffset - open.at);
      if (!ReadReal(open, open.at, to, piece)) return FLUID_FAILED;
    } else if (open.at < 8) {
      piece = std::min<std::uint64_t>(left, 8 - open.at);
      std::memcpy(to, view->riff + open.at, piece);
    } else {
      piece = left;
      std::memcpy(to, view->pdta.data() + (open.at - view->pdtaOffset), piece);
    }
    open.at += piece;
    to += piece;
    left -= piece;
  }
  return FLUID_OK;
}

int Seek(void* handle, fluid_long_long_t offset, int origin) {
  auto& open = *static_cast<OpenFile*>(handle);
  const auto base = static_cast<fluid_long_long_t>(origin == SEEK_SET   ? 0
                                                   : origin == SEEK_CUR ? open.at
                                                                        : open.size);
  const fluid_long_long_t target = base + offset;
  if (target < 0 || static_cast<std::uint64_t>(target) > open.size) return FLUID_FAILED;
  open.at = static_cast<std::uint64_t>(target);
  return FLUID_OK;
}

fluid_long_long_t Tell(void* handle) {
  return static_cast<fluid_long_long_t>(static_cast<OpenFile*>(handle)->at);
}

int Close(void* handle) {
  delete static_cast<OpenFile*>(handle);
  return FLUID_OK;
}

}  // namespace

fluid_sfloader_t* NewSoundFontSubsetLoader(fluid_settings_t* settings) {
  fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
  if (loader != nullptr) fluid_sfloader_set_callbacks(loader, Open, Read, Seek, Tell, Close);
  return loader;
}

FontServing ServeSoundFontSubset(const std::string& path, const std::set<int>& programs) {
  std::lock_guard lock(servedMutex);
  Served& entry = served[path];
  if (!entry.font) entry.font = SoundFontSubset::Read(path);
  entry.view = nullptr;
  if (!entry.font) return FontServing::kNoSoundFont;
  auto pdta = entry.font->PresetData(programs);
  if (!pdta) return FontServing::kWhole;
  auto view = std::make_shared<View>();
  view->pdtaOffset = entry.font->PresetDataOffset();
  view->pdta = std::move(*pdta);
  std::memcpy(view->riff, "RIFF", 4);
  const auto riffSize = static_cast<std::uint32_t>(view->Size() - 8);
  for (int i = 0; i < 4; ++i) view->riff[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
  entry.view = std::move(view);
  return FontServing::kSubset;
}

void ServeWholeSoundFont(const std::string& path) {
  std::lock_guard lock(servedMutex);
  served[path].view = nullptr;
}
