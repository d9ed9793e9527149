#include "skeleton/BoneShape.h"

namespace posewright {

const std::array<D3DXVECTOR3, 11> BoneShape::points = {{
    {0.0f, 0.0f, 0.0f},
    {0.1f, 0.0f, 0.0f},
    {-0.1f, 0.0f, 0.0f},
    {0.0f, 0.1f, 0.0f},
    {0.0f, -0.1f, 0.0f},
    {0.0f, 0.0f, -0.1f},
    {0.0f, 0.0f, 1.0f},
    {0.075f, 0.0f, 0.125f},
    {-0.075f, 0.0f, 0.125f},
    {0.0f, 0.075f, 0.125f},
    {0.0f, -0.075f, 0.125f},
}};

const std::array<uint16_t, 36> BoneShape::indices = {
    0, 1,  0, 2, 0, 3, 0, 4, 0, 5,  0, 6, 0, 7, 0, 8,  0,  9,
    0, 10, 6, 7, 6, 8, 6, 9, 6, 10, 7, 9, 9, 8, 8, 10, 10, 7,
};
}  // namespace posewright
