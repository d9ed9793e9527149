// Writes binary and compressed .x files token by token for the tests.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "xfile/XBinaryToken.h"

namespace posewright {

class XBinaryBuilder {
 public:
  explicit XBinaryBuilder(int floatBits = 32) : doubles_(floatBits == 64) {
    bytes_ = std::string("xof 0303bin ") + (doubles_ ? "0064" : "0032");
  }

  XBinaryBuilder& token(uint16_t code) {
    u16(code);
    return *this;
  }
  XBinaryBuilder& name(const std::string& s) {
    token(kXTokenName).u32(static_cast<uint32_t>(s.size()));
    bytes_ += s;
    return *this;
  }
  XBinaryBuilder& str(const std::string& s) {
    token(kXTokenString).u32(static_cast<uint32_t>(s.size()));
    bytes_ += s;
    return token(kXTokenSemicolon);
  }
  XBinaryBuilder& integer(uint32_t v) { return token(kXTokenInteger).u32(v); }
  XBinaryBuilder& guid() {
    token(kXTokenGuid);
    bytes_.append(16, '\x11');
    return *this;
  }
  XBinaryBuilder& ints(std::initializer_list<uint32_t> values) {
    token(kXTokenIntegerList).u32(static_cast<uint32_t>(values.size()));
    for (uint32_t v : values) u32(v);
    return *this;
  }
  XBinaryBuilder& floats(std::initializer_list<double> values) {
    token(kXTokenFloatList).u32(static_cast<uint32_t>(values.size()));
    for (double v : values) {
      if (doubles_) {
        bytes_.append(reinterpret_cast<const char*>(&v), 8);
      } else {
        const float f = static_cast<float>(v);
        bytes_.append(reinterpret_cast<const char*>(&f), 4);
      }
    }
    return *this;
  }
  XBinaryBuilder& open() { return token(kXTokenOpenBrace); }
  XBinaryBuilder& close() { return token(kXTokenCloseBrace); }
  /// An object header: type name, optional object name, '{'.
  XBinaryBuilder& object(const std::string& type, const std::string& objectName = "") {
    name(type);
    if (!objectName.empty()) name(objectName);
    return open();
  }
  XBinaryBuilder& raw(const std::string& s) {
    bytes_ += s;
    return *this;
  }
  XBinaryBuilder& u32(uint32_t v) {
    bytes_.append(reinterpret_cast<const char*>(&v), 4);
    return *this;
  }
  const std::string& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  void u16(uint16_t v) { bytes_.append(reinterpret_cast<const char*>(&v), 2); }
  bool doubles_;
  std::string bytes_;
};

/// Compresses a whole uncompressed .x file (text or binary) into its "tzip" or
/// "bzip" form, blockSize bytes of the body per block, each block deflated
/// with the previous block as the preset dictionary.
inline std::string CompressX(const std::string& file, std::size_t blockSize = 32768) {
  std::string out = file.substr(0, 16);
  std::memcpy(out.data() + 8, file.compare(8, 4, "txt ") == 0 ? "tzip" : "bzip", 4);
  const auto total = static_cast<uint32_t>(file.size());
  out.append(reinterpret_cast<const char*>(&total), 4);
  std::string previous;
  for (std::size_t pos = 16; pos < file.size(); pos += blockSize) {
    const std::string block = file.substr(pos, blockSize);
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    if (!previous.empty()) {
      deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(previous.data()),
                           static_cast<uInt>(previous.size()));
    }
    std::string packed(deflateBound(&z, block.size()) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(block.data()));
    z.avail_in = static_cast<uInt>(block.size());
    z.next_out = reinterpret_cast<Bytef*>(packed.data());
    z.avail_out = static_cast<uInt>(packed.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate failed");
    packed.resize(z.total_out);
    deflateEnd(&z);
    const auto outSize = static_cast<uint16_t>(block.size());
    const auto inSize = static_cast<uint16_t>(packed.size() + 2);
    out.append(reinterpret_cast<const char*>(&outSize), 2);
    out.append(reinterpret_cast<const char*>(&inSize), 2);
    out += "CK" + packed;
    previous = block;
  }
  return out;
}
}  // namespace posewright
