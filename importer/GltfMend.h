// glTF files are looked over before Assimp reads them. Assimp 5.2 follows some
// references without checking them: a skin without inverse bind matrices (which
// glTF allows: they are then identity) or with too few of them is read through a
// null or short pointer, and an indexed line loop past its end. Such files are
// mended where glTF says what they mean (identity matrices; a line loop, which
// the editor does not show, read as a strip) and refused, with a reason, where
// it does not.
#pragma once

#include <string>
#include <string_view>

#include "fileio/Status.h"

namespace posewright {

/// Whether the bytes are a glTF asset: a binary .glb, or a JSON object with an
/// "asset" member.
bool LooksLikeGltf(std::string_view bytes);

/// Looks over the glTF in bytes. Returns an error ("File Format Error", detail
/// naming fileName and the fault) for a file Assimp must not read, which
/// includes JSON that does not parse. Otherwise mended is set to the bytes to
/// read instead and changed is true, or changed is false and the bytes are read
/// as they are.
Status MendGltfForAssimp(std::string_view bytes, const std::string& fileName, std::string& mended,
                         bool& changed);
}  // namespace posewright
