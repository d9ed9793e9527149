// Reads bone data text with the project's keyed-line tokenizer into plain
// records, for checking what the generators write.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "math/Quaternion.h"
#include "skeleton/BoneAnchor.h"

struct ScannedBone {
  std::string name;
  int parent = 0;
  D3DXVECTOR3 begin;
  D3DXVECTOR3 end;
  D3DXQUATERNION rotation;
  BoneAnchor anchor;
};

/// Bone 0 is the root. Nothing, with the reason in *error, when a key is
/// missing, a line is too long or the file ends early.
std::optional<std::vector<ScannedBone>> ScanBoneData(std::string_view text, std::string* error);
