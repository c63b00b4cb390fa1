#include "platform/headless/trace_writer.h"

#include "platform/json_text.h"

void TraceWriter::Write(std::uint64_t time, const std::string& fields) {
  std::string line = "{\"t\":" + std::to_string(time) + "," + fields + "}";
  if (sink_ != nullptr) {
    *sink_ << line << '\n';
    sink_->flush();
  }
  if (keep_) lines_.push_back(std::move(line));
}

std::string CaptionFields(const std::string& window, const std::string& text) {
  return "\"ev\":\"caption\",\"window\":" + JsonQuote(window) + ",\"text\":" + JsonQuote(text);
}

std::string WindowFields(const std::string& window, const std::string& op, int x, int y, int w,
                         int h) {
  return "\"ev\":\"window\",\"window\":" + JsonQuote(window) + ",\"op\":" + JsonQuote(op) +
         ",\"x\":" + std::to_string(x) + ",\"y\":" + std::to_string(y) +
         ",\"w\":" + std::to_string(w) + ",\"h\":" + std::to_string(h);
}

std::string MsgBoxFields(const std::string& caption, const std::string& text,
                         const std::string& buttons, const std::string& answer) {
  return "\"ev\":\"msgbox\",\"caption\":" + JsonQuote(caption) + ",\"text\":" + JsonQuote(text) +
         ",\"buttons\":" + JsonQuote(buttons) + ",\"answer\":" + JsonQuote(answer);
}

std::string SnapFields(const std::string& name) {
  return "\"ev\":\"snap\",\"name\":" + JsonQuote(name);
}

std::string EndFields(const std::string& reason) {
  return "\"ev\":\"end\",\"reason\":" + JsonQuote(reason);
}
