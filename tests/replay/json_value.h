// A small JSON reader for the tests: the trace lines and snapshots of fumbo-replay.
// Header-only, so that a test of any folder can include it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class JsonValue {
 public:
  enum class Kind { Null, Boolean, Number, String, Array, Object };

  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;

  bool IsNull() const { return kind == Kind::Null; }
  bool Has(const std::string& key) const { return members.count(key) != 0; }
  // The member `key`; throws when there is none, so a test fails with the name.
  const JsonValue& operator[](const std::string& key) const {
    auto it = members.find(key);
    if (it == members.end()) throw std::out_of_range("no member \"" + key + "\"");
    return it->second;
  }
  const JsonValue& operator[](std::size_t index) const { return items.at(index); }
  std::int64_t Int() const { return static_cast<std::int64_t>(number); }
  const std::string& Str() const { return text; }

  // Parses one JSON text; throws std::runtime_error with the offset on malformed input.
  static JsonValue Parse(std::string_view input) {
    Reader reader{input};
    JsonValue value = reader.Value();
    reader.SkipBlanks();
    if (reader.pos != input.size()) reader.Fail("text after the value");
    return value;
  }

 private:
  struct Reader {
    std::string_view in;
    std::size_t pos = 0;

    [[noreturn]] void Fail(const std::string& what) const {
      throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(pos));
    }
    void SkipBlanks() {
      while (pos < in.size() &&
             (in[pos] == ' ' || in[pos] == '\n' || in[pos] == '\r' || in[pos] == '\t'))
        ++pos;
    }
    bool Take(char c) {
      SkipBlanks();
      if (pos < in.size() && in[pos] == c) return ++pos, true;
      return false;
    }
    void Expect(char c) {
      if (!Take(c)) Fail(std::string("expected '") + c + "'");
    }
    bool Word(std::string_view word) {
      if (in.substr(pos, word.size()) != word) return false;
      pos += word.size();
      return true;
    }
    JsonValue Value() {
      SkipBlanks();
      if (pos >= in.size()) Fail("unexpected end");
      JsonValue v;
      char c = in[pos];
      if (c == '{') {
        v.kind = Kind::Object;
        ++pos;
        if (Take('}')) return v;
        do {
          SkipBlanks();
          std::string key = String();
          Expect(':');
          v.members[key] = Value();
        } while (Take(','));
        Expect('}');
      } else if (c == '[') {
        v.kind = Kind::Array;
        ++pos;
        if (Take(']')) return v;
        do v.items.push_back(Value());
        while (Take(','));
        Expect(']');
      } else if (c == '"') {
        v.kind = Kind::String;
        v.text = String();
      } else if (Word("true") || Word("false")) {
        v.kind = Kind::Boolean;
        v.boolean = in[pos - 1] == 'e' && in[pos - 2] == 'u';
      } else if (Word("null")) {
        v.kind = Kind::Null;
      } else {
        v.kind = Kind::Number;
        v.number = Number();
      }
      return v;
    }
    double Number() {
      std::size_t start = pos;
      while (pos < in.size() &&
             std::string_view("+-0123456789.eE").find(in[pos]) != std::string_view::npos)
        ++pos;
      if (start == pos) Fail("unexpected character");
      return std::stod(std::string(in.substr(start, pos - start)));
    }
    void AppendUtf8(std::string& out, unsigned code) {
      if (code < 0x80) {
        out += static_cast<char>(code);
      } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
      } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
      }
    }
    std::string String() {
      if (pos >= in.size() || in[pos] != '"') Fail("expected a string");
      ++pos;
      std::string out;
      while (pos < in.size() && in[pos] != '"') {
        char c = in[pos++];
        if (c != '\\') {
          out += c;
          continue;
        }
        if (pos >= in.size()) Fail("unfinished escape");
        char e = in[pos++];
        switch (e) {
          case 'n':
            out += '\n';
            break;
          case 'r':
            out += '\r';
            break;
          case 't':
            out += '\t';
            break;
          case 'b':
            out += '\b';
            break;
          case 'f':
            out += '\f';
            break;
          case 'u':
            if (pos + 4 > in.size()) Fail("short \\u escape");
            AppendUtf8(out, static_cast<unsigned>(
                                std::stoul(std::string(in.substr(pos, 4)), nullptr, 16)));
            pos += 4;
            break;
          default:
            out += e;
        }
      }
      if (pos >= in.size()) Fail("unfinished string");
      ++pos;
      return out;
    }
  };
};
