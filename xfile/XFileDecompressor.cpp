#include "xfile/XFileDecompressor.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

#include "xfile/XFileHeader.h"

namespace posewright {

namespace {
uint32_t LoadU16(const char* p) {
  return static_cast<uint32_t>(static_cast<unsigned char>(p[0])) |
         (static_cast<uint32_t>(static_cast<unsigned char>(p[1])) << 8);
}

uint32_t LoadU32(const char* p) {
  return LoadU16(p) | (LoadU16(p + 2) << 16);
}

/// A raw-deflate stream that is released on every path.
class RawInflater {
 public:
  RawInflater() { ok_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
  ~RawInflater() {
    if (ok_) {
      inflateEnd(&stream_);
    }
  }
  RawInflater(const RawInflater&) = delete;
  RawInflater& operator=(const RawInflater&) = delete;

  /// Inflates one complete deflate stream of input into exactly outSize bytes
  /// at out, with dictionary as the preset history.
  bool inflateBlock(std::string_view input, std::string_view dictionary, char* out, uint32_t outSize) {
    if (!ok_ || inflateReset(&stream_) != Z_OK) {
      return false;
    }
    if (!dictionary.empty() &&
        inflateSetDictionary(&stream_, reinterpret_cast<const Bytef*>(dictionary.data()),
                             static_cast<uInt>(dictionary.size())) != Z_OK) {
      return false;
    }
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream_.avail_in = static_cast<uInt>(input.size());
    stream_.next_out = reinterpret_cast<Bytef*>(out);
    stream_.avail_out = outSize;
    const int result = inflate(&stream_, Z_FINISH);
    return result == Z_STREAM_END && stream_.avail_out == 0;
  }

 private:
  z_stream stream_{};
  bool ok_ = false;
};
}  // namespace

Status InflateXFileBody(std::string_view file, const std::string& fileName, std::string& body) {
  auto fail = [&](std::size_t offset, const std::string& what) {
    return Status::Error(kXFileErrorMessage, fileName + ", byte " + std::to_string(offset) + ": " + what);
  };
  std::size_t pos = kXFileHeaderSize;
  if (file.size() < pos + 4) {
    return fail(pos, "expected the 32-bit total size of the compressed file");
  }
  const uint64_t totalSize = LoadU32(file.data() + pos);
  pos += 4;
  if (totalSize < kXFileHeaderSize) {
    return fail(kXFileHeaderSize,
                "the stated total size " + std::to_string(totalSize) + " is smaller than the 16-byte header");
  }
  body.clear();
  RawInflater inflater;
  std::size_t previousStart = 0;
  while (pos < file.size()) {
    if (file.size() - pos < 6) {
      return fail(pos, "expected a block header (two 16-bit sizes and \"CK\")");
    }
    const uint32_t outSize = LoadU16(file.data() + pos);
    const uint32_t inSize = LoadU16(file.data() + pos + 2);
    if (outSize == 0 || outSize > 32768) {
      return fail(pos, "a block's uncompressed size must be 1 to 32768, found " + std::to_string(outSize));
    }
    if (inSize < 2 || file.size() - (pos + 4) < inSize) {
      return fail(pos + 2, "the block's compressed size " + std::to_string(inSize) +
                               " does not fit the bytes left in the file");
    }
    if (file[pos + 4] != 'C' || file[pos + 5] != 'K') {
      return fail(pos + 4, "expected the block signature \"CK\"");
    }
    if (body.size() + outSize > totalSize - kXFileHeaderSize ||
        body.size() + outSize > kMaxInflatedXFileSize) {
      return fail(pos, "the blocks inflate to more than the stated total size " + std::to_string(totalSize));
    }
    const std::size_t start = body.size();
    body.resize(start + outSize);
    const std::string_view dictionary(body.data() + previousStart, start - previousStart);
    if (!inflater.inflateBlock(file.substr(pos + 6, inSize - 2), dictionary, body.data() + start, outSize)) {
      return fail(pos + 6, "the block's deflate data does not inflate to its stated " +
                               std::to_string(outSize) + " bytes");
    }
    previousStart = start;
    pos += 4 + inSize;
  }
  if (body.size() != totalSize - kXFileHeaderSize) {
    return fail(file.size(), "the blocks inflate to " + std::to_string(body.size() + kXFileHeaderSize) +
                                 " bytes, but the stated total size is " + std::to_string(totalSize));
  }
  return Status::Ok();
}
}  // namespace posewright
