// Bone data text (*.dat) of a skeleton: the bone count, the root's two points,
// then per further bone its name, index, parent, points, rest rotation and
// anchor (counts, BorderBox, vertices, face normals with vertex indices).
#pragma once

#include <string>

#include "skeleton/Skeleton.h"

/// The file text, with CR LF line ends. Reals are printed with "%.6f".
/// Bone names must be single words; every bone but the root needs an anchor.
std::string FormatBoneData(const Skeleton& skeleton);
