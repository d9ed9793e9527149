// A small writer of JSON text for the command-line front end's --json output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace posewright {

class JsonWriter {
 public:
  JsonWriter& beginObject();
  JsonWriter& endObject();
  JsonWriter& beginArray();
  JsonWriter& endArray();
  /// The key of the next value inside an object.
  JsonWriter& key(std::string_view name);
  /// A string; control characters escaped. The output is always valid UTF-8:
  /// text's well-formed UTF-8 sequences are kept, and every other byte (names
  /// in legacy encodings such as Shift JIS) becomes U+FFFD, written "\ufffd".
  JsonWriter& value(std::string_view text);
  JsonWriter& value(const char* text) { return value(std::string_view(text)); }
  JsonWriter& value(long long number);
  JsonWriter& value(int number) { return value(static_cast<long long>(number)); }
  JsonWriter& value(unsigned number) { return value(static_cast<long long>(number)); }
  JsonWriter& value(std::size_t number) { return value(static_cast<long long>(number)); }
  /// A float with enough digits to read back the same value; null when not finite.
  JsonWriter& value(float number);
  JsonWriter& value(bool flag);
  /// The finished text (one line).
  const std::string& text() const { return text_; }

 private:
  void separate();
  std::string text_;
  /// Per open container: whether it already holds an element.
  std::vector<bool> hasElement_;
  bool afterKey_ = false;
};
}  // namespace posewright
