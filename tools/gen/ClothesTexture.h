// The sample character's clothes texture, 64 × 64 opaque pixels laid out by
// height on the body: a striped shirt in the top rows, a belt, woven trousers
// and dark shoes in the bottom rows.
#pragma once

#include "image/TextureImage.h"

namespace posewright {

TextureImage MakeClothesTexture();
}  // namespace posewright
