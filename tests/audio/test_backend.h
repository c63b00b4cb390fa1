// A small back end for the sound and music tests: a virtual clock that Idle advances by
// 1 ms, the virtual sound system on it, and the recorded trace lines.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio/mci_interpreter.h"
#include "platform/audio/sound_system.h"
#include "platform/backend.h"

class TestBackend : public Backend {
 public:
  // The virtual sound system on this clock, or the one given.
  explicit TestBackend(std::unique_ptr<SoundSystem> sound = nullptr)
      : sound_(sound ? std::move(sound) : CreateVirtualSoundSystem([this] { return now; })) {
    SetBackend(this);
  }
  ~TestBackend() override {
    sound_.reset();
    SetBackend(nullptr);
  }

  std::uint32_t now = 100000;
  std::vector<std::string> trace;
  int pumps = 0;
  std::function<void()> onPump;  // a window event handler run by DoEvents

  std::uint32_t TickCount() override { return now; }
  void Idle() override { ++now; }
  void PumpEvents() override {
    ++pumps;
    if (onPump) onPump();
  }
  std::uint32_t RandomSeed() override { return 1; }
  void SetMainHandlers(MainWindowHandlers) override {}
  void AttachSurface(WindowId, Surface*) override {}
  void SetCaption(WindowId, const std::string&) override {}
  void SetIcon(WindowId, ImagePtr) override {}
  void SetClientSize(WindowId, int, int) override {}
  void Move(WindowId, int, int) override {}
  void Show(WindowId) override {}
  void Hide(WindowId) override {}
  void Unload(WindowId) override {}
  WindowRect OuterRect(WindowId) override { return {}; }
  void ClientSize(WindowId, int& w, int& h) override { w = h = 0; }
  void ScreenSize(int& w, int& h) override { w = h = 0; }
  MsgBoxAnswer MessageBox(const std::string&, MsgBoxButtons, const std::string&) override {
    return MsgBoxAnswer::Ok;
  }
  SoundSystem& Sound() override { return *sound_; }
  std::string ProgramFolder() override { return "."; }
  void Record(const TraceEvent& event) override { trace.push_back(event.json); }
  [[noreturn]] void End() override { throw ProgramEnded{}; }

  // The "cmd" fields of the mci lines, in order.
  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    for (const std::string& line : trace) {
      const std::string key = "\"cmd\":\"";
      const auto at = line.find(key);
      if (at == std::string::npos) continue;
      const auto end = line.find("\",\"ret\"", at);
      commands.push_back(line.substr(at + key.size(), end - at - key.size()));
    }
    return commands;
  }

 private:
  std::unique_ptr<SoundSystem> sound_;
};

// A folder of its own under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::string Path() const { return path_.string(); }
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    const std::string file = (path_ / name).string();
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return file;
  }

 private:
  std::filesystem::path path_;
};
