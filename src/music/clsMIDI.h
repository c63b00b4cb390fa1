// The music player: one MIDI file at a time through MCI string commands on the alias
// midifile. No result is examined: a missing file or an absent sequencer gives silence.
#pragma once

#include <cstdint>
#include <string>

class clsMIDI {
 public:
  // Construction and destruction stop and close whatever is open under the alias.
  clsMIDI();
  ~clsMIDI();
  clsMIDI(const clsMIDI&) = delete;
  clsMIDI& operator=(const clsMIDI&) = delete;

  // The path exactly as last assigned.
  std::string FileName() const;
  // Stops and closes the previous file and opens this one (not started).
  void FileName(const std::string& NewFileName);
  // Plays from the current position; returns at once.
  void Play();
  void StopM();
  // The device's position as it reports it (empty when no device answers).
  std::string Position();
  // Seeks: "START" rewinds.
  void Position(const std::string& NewPosition);
  // Length of the open file; 0 when the reply is not a number.
  std::int32_t Length();
  void ResumeM();
  // Plays and starts the tune again each time it stops, pumping window events, until a
  // handler calls Play or StopM. Returns at once when no device answers.
  void PlayLoop();
  void Pause();
  // The device's mode in upper case ("PLAYING", "STOPPED", ...), empty with no device.
  std::string Mode();

 private:
  bool IsWinNT();
  // Sends a command without a reply.
  void Send(const std::string& command);
  // Sends a status command with mBuf as a 16-byte reply buffer of length 15, cut at its
  // first character of code 0.
  std::string QueryStatus(const std::string& command);

  std::int32_t mRet = 0;
  std::string mBuf;
  std::string mShortPath;
  std::string mFileName;
  std::int16_t mLoop = 0;
};
