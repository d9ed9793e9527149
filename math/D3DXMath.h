// All math types and operations in one include.
#pragma once

#include "math/Matrix.h"
#include "math/Quaternion.h"
#include "math/Vector3.h"
#include "math/Vector4.h"
