// What `posewright-cli rig` and `bind --rig` tell about a rigged import.
#pragma once

#include <cstdio>
#include <string>

#include "importer/ModelImport.h"

namespace posewright {

/// Warnings on stderr for what the import changed: faces left out, weights
/// dropped beyond the fourth, vertices without a weight.
void PrintImportWarnings(const char* command, const RiggedImport& import);

/// "anchors per vertex …" and the agreement of the anchors' automatic weights
/// with the file's, for the installed model (before any recomputation).
void PrintAnchorReport(const SkinnedModel& model, const std::vector<VertexInfluences>& fileInfluences);
}  // namespace posewright
