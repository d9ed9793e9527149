// PNG encoding: what comes back through the decoder, and which channels the
// file stores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/ImageDecoders.h"
#include "image/PngWriter.h"

namespace posewright {

namespace {
// 5 × 3 pixels, all opaque except pixel 7, which gets alpha.
std::vector<uint8_t> Pixels(uint8_t alpha) {
  std::vector<uint8_t> rgba;
  for (int i = 0; i < 15; ++i) {
    rgba.insert(rgba.end(),
                {uint8_t(i * 17), uint8_t(255 - i), uint8_t(i * 3), i == 7 ? alpha : uint8_t{255}});
  }
  return rgba;
}

// The colour type byte of the header chunk: 2 RGB, 6 RGBA.
int ColourType(const std::string& png) {
  return static_cast<unsigned char>(png.at(25));
}

TEST(PngWriter, StoresTheChannelsAskedForAndRoundTrips) {
  struct Case {
    PngChannels channels;
    uint8_t alpha;
    int colourType;
  };
  const Case cases[] = {
      {PngChannels::Rgb, 100, 2},
      {PngChannels::Rgba, 255, 6},
      {PngChannels::Rgba, 100, 6},
      {PngChannels::RgbaWhenTranslucent, 255, 2},
      {PngChannels::RgbaWhenTranslucent, 100, 6},
  };
  for (const Case& c : cases) {
    for (PngCompression compression : {PngCompression::Default, PngCompression::Unfiltered}) {
      SCOPED_TRACE(static_cast<int>(c.channels) * 1000 + c.alpha * 10 + static_cast<int>(compression));
      const std::vector<uint8_t> rgba = Pixels(c.alpha);
      const std::string png = EncodePng(5, 3, rgba, c.channels, compression);
      ASSERT_FALSE(png.empty());
      EXPECT_EQ(ColourType(png), c.colourType);
      const std::optional<TextureImage> back = DecodePng(png);
      ASSERT_TRUE(back);
      EXPECT_EQ(back->width, 5);
      EXPECT_EQ(back->height, 3);
      std::vector<uint8_t> expected = rgba;
      if (c.colourType == 2) {
        expected[7 * 4 + 3] = 255;  // alpha dropped
      }
      EXPECT_EQ(back->rgba, expected);
    }
  }
}

TEST(PngWriter, RefusesPixelsThatDoNotMatchTheSize) {
  EXPECT_TRUE(EncodePng(0, 0, {}).empty());
  EXPECT_TRUE(EncodePng(2, 2, std::vector<uint8_t>(3)).empty());
  EXPECT_TRUE(EncodePng(-1, 1, std::vector<uint8_t>(4)).empty());
}
}  // namespace
}  // namespace posewright
