// Fuzzes the compressed .x forms. The first input byte picks the mode:
// bit 0 the encoding (set: "bzip", clear: "tzip"); bit 1 clear: the rest is
// the compressed stream after the header (total size and blocks), read as is;
// bit 1 set: the rest is an uncompressed body, which is compressed here in
// small blocks, and the compressed file must parse exactly as the plain one.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/XFileFuzzCommon.h"

namespace {
std::string Compress(const std::string& header, const std::string& body, std::size_t blockSize) {
  std::string out = header;
  const auto total = static_cast<uint32_t>(body.size() + 16);
  out.append(reinterpret_cast<const char*>(&total), 4);
  std::string previous;
  for (std::size_t pos = 0; pos < body.size(); pos += blockSize) {
    const std::string block = body.substr(pos, blockSize);
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    if (!previous.empty()) {
      deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(previous.data()), static_cast<uInt>(previous.size()));
    }
    std::string packed(deflateBound(&z, block.size()) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(block.data()));
    z.avail_in = static_cast<uInt>(block.size());
    z.next_out = reinterpret_cast<Bytef*>(packed.data());
    z.avail_out = static_cast<uInt>(packed.size());
    deflate(&z, Z_FINISH);
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
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  const bool binary = (data[0] & 1) != 0;
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string header = binary ? "xof 0303bzip0032" : "xof 0303tzip0032";
  if ((data[0] & 2) == 0) {
    LoadXFileForFuzzing(header + rest);
    return 0;
  }
  const std::string plain = (binary ? "xof 0303bin 0032" : "xof 0303txt 0032") + rest;
  const std::size_t blockSize = 1 + (data[0] >> 2) * 64;
  const std::string packed = Compress(header, rest, blockSize);
  XFileDocument a;
  XFileDocument b;
  const Status plainStatus = ParseXFile(plain, "fuzz.x", a);
  const Status packedStatus = ParseXFile(packed, "fuzz.x", b);
  if (plainStatus.ok != packedStatus.ok || a.meshes.size() != b.meshes.size() || a.frames.size() != b.frames.size()) {
    std::abort();
  }
  LoadXFileForFuzzing(packed);
  return 0;
}
