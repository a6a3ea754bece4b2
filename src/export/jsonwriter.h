#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// Text of a float for output that others read: 9 significant digits in the
// shortest of fixed and exponent notation, trailing zeros dropped ("%.9g"),
// independent of the locale. Nine digits are enough to read every float back
// exactly. Infinities and NaN have no JSON form and come out as "null".
std::string FormatFloat(float value);

// Text of a string as a JSON string literal, quotes included.
std::string QuoteJson(std::string_view text);

// Writes compact JSON (no white space) to a stream, in the order of the calls,
// so keys come out in the order they are written. Commas and colons are
// placed by the writer; the caller only opens, fills and closes containers.
// Misuse (a value in an object without a key, closing the wrong container) is
// a programming error and is asserted.
class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The key of the next value; only inside an object.
  void Key(std::string_view key);

  void Int(std::int64_t value);
  void Unsigned(std::uint64_t value);
  void Float(float value);
  void String(std::string_view value);
  void Bool(bool value);
  void Null();

  // True once every container that was opened has been closed again.
  bool IsComplete() const { return open_.empty() && wroteValue_; }

 private:
  struct Container {
    bool isObject;
    bool empty;
  };

  void BeforeValue();
  void Close(bool isObject, char bracket);

  std::ostream& out_;
  std::vector<Container> open_;
  bool keyPending_ = false;
  bool wroteValue_ = false;
};

}  // namespace quarn
