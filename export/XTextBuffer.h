// A growing text buffer with cheap appends of literals and numbers, for
// writing large .x files. Lines end in CR LF.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "export/FixedNumberFormat.h"

namespace posewright {

class XTextBuffer {
 public:
  /// Makes room for at least bytes more without reallocating.
  void reserve(std::size_t bytes) { room(bytes); }

  void text(std::string_view s) {
    std::memcpy(room(s.size()), s.data(), s.size());
    size_ += s.size();
  }
  /// A line end: CR LF.
  void endLine() { text("\r\n"); }
  /// "%.6f" of value.
  void fixed(float value) {
    char* start = room(kMaxFixed6Length);
    size_ += static_cast<std::size_t>(FormatFixed6(start, value) - start);
  }
  /// "%u" of value.
  void unsignedNumber(uint32_t value) {
    char* start = room(kMaxIntegerLength);
    size_ += static_cast<std::size_t>(FormatUnsigned(start, value) - start);
  }
  /// "%d" of value.
  void signedNumber(int32_t value) {
    char* start = room(kMaxIntegerLength);
    size_ += static_cast<std::size_t>(FormatSigned(start, value) - start);
  }

  std::size_t size() const { return size_; }
  /// The text written so far; the buffer is empty afterwards.
  std::string take() {
    data_.resize(size_);
    std::string out = std::move(data_);
    data_ = std::string();
    size_ = 0;
    return out;
  }

 private:
  // Pointer to the end of the text with at least n bytes of room after it.
  char* room(std::size_t n) {
    if (data_.size() - size_ < n) [[unlikely]] {
      grow(n);
    }
    return data_.data() + size_;
  }

  [[gnu::noinline]] void grow(std::size_t n) {
    std::size_t capacity = data_.size() < 4096 ? 4096 : data_.size();
    while (capacity - size_ < n) capacity *= 2;
    data_.resize(capacity);
  }

  std::string data_;
  std::size_t size_ = 0;
};
}  // namespace posewright
