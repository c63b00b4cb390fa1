// A tune sounding in the synthesizer: the events that the game's own MIDI reader read, each
// sent at the sample that the song's tempo map gives, as the audio callback renders. What is
// heard, the position and the end all come from this one reading of the file.
#pragma once

#include <fluidsynth.h>

#include <cstddef>
#include <cstdint>

#include "platform/audio/midi_file.h"

class TunePerformance {
 public:
  // Starts the song at `fromTick`: the synthesizer is reset, and the program, controller and
  // system-exclusive changes before that tick are sent, so that the instruments are right.
  // No note starts at or after `endTick`. The song must outlive the performance.
  TunePerformance(const MidiSong& song, fluid_synth_t* synth, int rate, std::uint32_t fromTick,
                  std::uint32_t endTick);

  // Moves the end: no note starts from there on, and nothing after it is sent.
  void EndAt(std::uint32_t tick);
  // How many of the next `frames` frames may be rendered before an event is due.
  int FramesBeforeNextEvent(int frames) const;
  // `frames` more frames have been rendered: sends the events that have come due.
  void Advance(int frames);
  // The tick the rendering has reached, or `aheadMicros` past it (a tune whose device no
  // longer takes sound goes on in silence); the end tick once it is passed, when every event
  // up to the end has been sent.
  std::uint32_t Tick(std::uint64_t aheadMicros = 0) const;

 private:
  std::uint64_t FrameOf(std::uint32_t tick) const;
  void SendDueEvents();
  void Send(const MidiEvent& event);

  const MidiSong& song_;
  fluid_synth_t* synth_;
  int rate_;
  std::uint32_t fromTick_;
  std::uint64_t startMicros_;
  std::uint32_t endTick_ = 0;
  std::uint64_t endFrame_ = 0;
  std::size_t next_ = 0;  // the next event to send
  std::uint64_t rendered_ = 0;
};
