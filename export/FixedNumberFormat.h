// Number text for the .x export, byte for byte what C's printf gives, without
// printf's cost: the export writes millions of numbers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace posewright {

/// Room FormatFixed6 may need: sign, 39 integer digits of the largest float,
/// the point and six decimals, plus a terminating NUL used by the slow path.
inline constexpr std::size_t kMaxFixed6Length = 48;
/// Room FormatUnsigned and FormatSigned may need.
inline constexpr std::size_t kMaxIntegerLength = 11;

/// Writes value as printf("%.6f", (double)value) does — round half to even on
/// the exact binary value, "-0.000000" for negative zero and for negatives
/// that round to zero, "inf"/"nan" spellings for non-finite values — into
/// out (kMaxFixed6Length bytes of room) and returns the end. No NUL is added.
char* FormatFixed6(char* out, float value);

/// printf("%u") of value into out (kMaxIntegerLength bytes of room); returns the end.
char* FormatUnsigned(char* out, uint32_t value);

/// printf("%d") of value into out (kMaxIntegerLength bytes of room); returns the end.
char* FormatSigned(char* out, int32_t value);
}  // namespace posewright
