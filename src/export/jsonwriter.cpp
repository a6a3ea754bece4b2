#include "export/jsonwriter.h"

#include <charconv>
#include <cmath>

#include "qassert.h"

namespace quarn {

std::string FormatFloat(float value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9);
  return std::string(text, result.ptr);
}

std::string QuoteJson(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20) {
      quoted += "\\u00";
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 0xF];
    } else {
      quoted += c;
    }
  }
  quoted += '"';
  return quoted;
}

void JsonWriter::BeforeValue() {
  if (open_.empty()) {
    QUARN_ASSERT(!wroteValue_);
    wroteValue_ = true;
    return;
  }
  Container& current = open_.back();
  if (current.isObject) {
    QUARN_ASSERT(keyPending_);
    keyPending_ = false;
    return;
  }
  if (!current.empty) out_ << ',';
  current.empty = false;
}

void JsonWriter::Key(std::string_view key) {
  if (!QUARN_ASSERT(!open_.empty() && open_.back().isObject && !keyPending_)) return;
  Container& current = open_.back();
  if (!current.empty) out_ << ',';
  current.empty = false;
  out_ << QuoteJson(key) << ':';
  keyPending_ = true;
}

void JsonWriter::BeginObject() {
  BeforeValue();
  out_ << '{';
  open_.push_back({true, true});
}

void JsonWriter::BeginArray() {
  BeforeValue();
  out_ << '[';
  open_.push_back({false, true});
}

void JsonWriter::Close(bool isObject, char bracket) {
  if (!QUARN_ASSERT(!open_.empty() && open_.back().isObject == isObject && !keyPending_)) return;
  open_.pop_back();
  out_ << bracket;
}

void JsonWriter::EndObject() { Close(true, '}'); }

void JsonWriter::EndArray() { Close(false, ']'); }

void JsonWriter::Int(std::int64_t value) {
  BeforeValue();
  char text[24];
  out_.write(text, std::to_chars(text, text + sizeof text, value).ptr - text);
}

void JsonWriter::Unsigned(std::uint64_t value) {
  BeforeValue();
  char text[24];
  out_.write(text, std::to_chars(text, text + sizeof text, value).ptr - text);
}

void JsonWriter::Float(float value) {
  BeforeValue();
  out_ << FormatFloat(value);
}

void JsonWriter::String(std::string_view value) {
  BeforeValue();
  out_ << QuoteJson(value);
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ << (value ? "true" : "false");
}

void JsonWriter::Null() {
  BeforeValue();
  out_ << "null";
}

}  // namespace quarn
