// Fuzzes the compressed .x forms. The first input byte picks the mode:
// bit 0 the encoding (set: "bzip", clear: "tzip"); bit 1 clear: the rest is
// the compressed stream after the header (total size and blocks), read as is;
// bit 1 set: the rest is an uncompressed body, which is compressed here in
// small blocks, and the compressed file must parse exactly as the plain one.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/XFileFuzzCommon.h"
#include "xfile/XBinaryBuilder.h"

namespace posewright {

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
  const std::string packed = CompressX(plain, blockSize);
  XFileDocument a;
  XFileDocument b;
  const Status plainStatus = ParseXFile(plain, "fuzz.x", a);
  const Status packedStatus = ParseXFile(packed, "fuzz.x", b);
  if (plainStatus.ok != packedStatus.ok || a.meshes.size() != b.meshes.size() ||
      a.frames.size() != b.frames.size()) {
    std::abort();
  }
  LoadXFileForFuzzing(packed);
  return 0;
}
}  // namespace posewright
