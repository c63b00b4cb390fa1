#include "music/clsMIDI.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>

#include "platform/audio/version_info.h"
#include "platform/system.h"

namespace {

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string CutAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

// Val-like conversion of a decimal reply: leading digits only, 0 when there are none;
// saturates at the largest 32-bit value.
std::int32_t DecimalValue(const std::string& text) {
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<std::int64_t>(value * 10 + (c - '0'), INT32_MAX);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

clsMIDI::clsMIDI() {
  Send("stop midifile ");
  Send("close midifile");
}

clsMIDI::~clsMIDI() {
  Send("stop midifile ");
  Send("close midifile");
}

void clsMIDI::Send(const std::string& command) {
  mRet = static_cast<std::int32_t>(mciSendStringA(command.c_str(), nullptr, 0, nullptr));
}

std::string clsMIDI::QueryStatus(const std::string& command) {
  mBuf.assign(16, '\0');
  mRet = static_cast<std::int32_t>(mciSendStringA(command.c_str(), mBuf.data(), 15, nullptr));
  mBuf = CutAtNul(mBuf);
  return mBuf;
}

std::string clsMIDI::FileName() const { return mFileName; }

void clsMIDI::FileName(const std::string& NewFileName) {
  mFileName = NewFileName;
  mShortPath = NewFileName;
  std::string buffer(512, '\0');
  mRet = static_cast<std::int32_t>(GetShortPathNameA(mShortPath.c_str(), buffer.data(), 512));
  mShortPath = CutAtNul(buffer);
  Send("stop midifile ");
  Send("close midifile");
  Send("open " + mShortPath + " type sequencer alias midifile");
}

void clsMIDI::Play() {
  Send("stop midifile ");
  Send("play midifile");
  mLoop = 0;
}

void clsMIDI::StopM() {
  Send("stop midifile ");
  mLoop = 0;
}

std::string clsMIDI::Position() { return QueryStatus("status midifile position"); }

void clsMIDI::Position(const std::string& NewPosition) { Send("seek midifile to " + NewPosition); }

std::int32_t clsMIDI::Length() { return DecimalValue(QueryStatus("status midifile length")); }

void clsMIDI::ResumeM() {
  if (IsWinNT()) {
    if (mLoop != 0) {
      PlayLoop();
    } else {
      Play();
    }
  } else {
    Send("resume midifile ");
  }
}

void clsMIDI::PlayLoop() {
  Send("play midifile");
  mLoop = -1;
  for (;;) {
    DoEvents();
    mBuf.assign(16, ' ');
    mRet =
        static_cast<std::int32_t>(mciSendStringA("status midifile mode", mBuf.data(), 15, nullptr));
    mBuf = UpperCase(mBuf.substr(0, 7));
    // No device answers: the mode would never read stopped, so the loop ends here.
    if (mRet != 0) return;
    if (mBuf == "STOPPED") {
      if (mLoop == 0) return;
      Send("play midifile from 0");
    }
    DoEvents();
    Idle();
  }
}

void clsMIDI::Pause() { Send("pause midifile "); }

std::string clsMIDI::Mode() {
  mBuf = UpperCase(QueryStatus("status midifile mode"));
  return mBuf;
}

bool clsMIDI::IsWinNT() {
  OSVERSIONINFO info;
  info.dwOSVersionInfoSize = 148;
  mRet = GetVersionExA(&info);
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
