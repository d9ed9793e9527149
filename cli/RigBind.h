// `posewright-cli bind MODEL --rig`: binding a rigged model with its own
// skeleton, and its own weights or weights from the generated anchors.
#pragma once

#include <string>
#include <vector>

#include "cli/Arguments.h"

namespace posewright {

/// The rigged form of the bind command.
const cli::Syntax& RigBindSyntax();

/// True when the arguments ask for the rigged form (they hold --rig).
bool IsRigBind(const std::vector<std::string>& args);

/// Runs `bind MODEL --rig [--auto-weights] [--prm FILE.prm] -o OUT.skm`;
/// returns the exit status.
int RunRigBind(const std::vector<std::string>& args);
}  // namespace posewright
