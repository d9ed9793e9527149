// The ids of the editor's menu commands and the function keys, as the main
// window hands them to the commands.
#pragma once

#include <cstdint>

namespace posewright {

enum class CommandId : int32_t {
  New = 40029,
  OpenMesh = 40008,
  OpenSkinnedMesh = 40027,
  OpenRiggedModel = 40044,
  OpenBlendingParameters = 40015,
  OpenAnimation = 40021,
  SaveSkinnedMesh = 40010,
  SaveBlendingParameters = 40014,
  SaveAnimation = 40019,
  SaveBoneData = 40025,
  Exit = 40004,
  Weight = 40026,
  Rotate = 40011,
  AnimationName = 40036,
  AnimationPrevious = 40031,
  AnimationNext = 40032,
  AnimationAdd = 40037,
  AnimationRemove = 40033,
  GridXZ = 40038,
  GridYZ = 40039,
  GridXY = 40040,
  Wireframe = 40041,
  Solid = 40042,
  Point = 40043,
  // Beyond the original menu.
  Undo = 40101,
  Redo = 40102,
  WeightsNormalise = 40103,
  WeightsMirrorLeftToRight = 40104,
  WeightsMirrorRightToLeft = 40105,
  WeightsSmooth = 40106,
  WeightsPrune = 40107,
  WeightsLimit = 40108,
  WeightView = 40109,
};

/// True for the items of Edit > Weights.
inline bool IsWeightTool(CommandId id) {
  switch (id) {
    case CommandId::WeightsNormalise:
    case CommandId::WeightsMirrorLeftToRight:
    case CommandId::WeightsMirrorRightToLeft:
    case CommandId::WeightsSmooth:
    case CommandId::WeightsPrune:
    case CommandId::WeightsLimit:
      return true;
    default:
      return false;
  }
}

/// F1 .. F9; the value is the key's number.
enum class FunctionKey : int32_t { F1 = 1, F2, F3, F4, F5, F6, F7, F8, F9 };
}  // namespace posewright
