// The token codes of binary .x files: 16-bit little-endian words, each
// followed by the payload its kind carries (a length and bytes for names and
// strings, a count and values for lists, fixed sizes for integers and GUIDs).
#pragma once

#include <cstdint>

namespace posewright {

enum XBinaryToken : uint16_t {
  kXTokenName = 1,
  kXTokenString = 2,
  kXTokenInteger = 3,
  kXTokenGuid = 5,
  kXTokenIntegerList = 6,
  kXTokenFloatList = 7,
  kXTokenOpenBrace = 10,
  kXTokenCloseBrace = 11,
  kXTokenComma = 19,
  kXTokenSemicolon = 20,
  kXTokenTemplate = 31,
  /// The keywords of template definitions run from WORD to ARRAY.
  kXTokenWord = 40,
  kXTokenDword = 41,
  kXTokenArray = 52,
};
}  // namespace posewright
