// The record of a headless run: one JSON object a line, "t" (virtual ms since the program
// started) first, then "ev" and the event's own fields.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class TraceWriter {
 public:
  // Lines go to `sink` when it is given (flushed line by line, so a run that dies still
  // leaves its record) and are kept in memory when `keep` is set.
  explicit TraceWriter(std::ostream* sink = nullptr, bool keep = false)
      : sink_(sink), keep_(keep) {}

  // `fields` are the JSON members after "t", starting with "ev", without braces.
  void Write(std::uint64_t time, const std::string& fields);
  const std::vector<std::string>& Lines() const { return lines_; }
  // Nothing more is written (what a program does while being torn down is not its record).
  void Close() { sink_ = nullptr, keep_ = false; }
  bool Failed() const { return sink_ != nullptr && !*sink_; }

 private:
  std::ostream* sink_;
  bool keep_;
  std::vector<std::string> lines_;
};

// JSON members for the common events, ready for Write.
std::string CaptionFields(const std::string& window, const std::string& text);
std::string WindowFields(const std::string& window, const std::string& op, int x, int y, int w,
                         int h);
std::string MsgBoxFields(const std::string& caption, const std::string& text,
                         const std::string& buttons, const std::string& answer);
std::string SnapFields(const std::string& name);
std::string EndFields(const std::string& reason);
