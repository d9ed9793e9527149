#include "tools/gen/SampleAssets.h"

#include <filesystem>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "image/PngWriter.h"
#include "importer/BoneDataWriter.h"
#include "skeleton/BlendingParametersFile.h"
#include "tools/gen/AnchorHalfSpaces.h"
#include "tools/gen/MakeFolder.h"
#include "tools/gen/SampleAnimations.h"
#include "tools/gen/SampleCharacter.h"
#include "tools/gen/XTextWriter.h"

namespace posewright {

Status WriteSampleAssets(const std::string& folder) {
  const SampleCharacter character = BuildSampleCharacter();
  const std::vector<int> counts = CountHoldingAnchors(character.skeleton, character.mesh.vertices, 1e-6);
  for (std::size_t i = 0; i < counts.size(); ++i) {
    if (counts[i] < 1 || counts[i] > 4) {
      return Status::Error(
          "The sample character's anchors are wrong",
          "vertex " + std::to_string(i) + " lies in " + std::to_string(counts[i]) + " anchors");
    }
  }
  const TextureImage& texture = character.texture;
  const std::string png = EncodePng(texture.width, texture.height, texture.rgba,
                                    PngChannels::RgbaWhenTranslucent, PngCompression::Unfiltered);
  if (png.empty()) {
    return Status::Error("Cannot encode the clothes texture");
  }
  if (Status s = MakeFolder(folder); !s) {
    return s;
  }
  const std::pair<const char*, std::string> outputs[] = {
      {kSampleMeshFile, FormatMeshXText(character.mesh)},
      {kClothesTextureFile, png},
      {kSampleBoneDataFile, FormatBoneData(character.skeleton)},
      {kSampleBlendingFile, FormatBlendingParameters(character.skeleton)},
      {kSampleWaveFile, FormatAnimationFile(MakeWaveAnimation(character.skeleton))},
      {kSampleWalkFile, FormatAnimationFile(MakeWalkAnimation(character.skeleton))},
  };
  for (const auto& [name, bytes] : outputs) {
    if (Status s = WriteFileAtomically((std::filesystem::path(folder) / name).string(), bytes); !s) {
      return s;
    }
  }
  return Status::Ok();
}
}  // namespace posewright
