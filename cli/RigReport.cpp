#include "cli/RigReport.h"

#include "importer/WeightAgreement.h"

namespace posewright {

void PrintImportWarnings(const char* command, const RiggedImport& import) {
  if (const std::string dropped = import.notes.droppedFacesText(); !dropped.empty()) {
    std::fprintf(stderr, "posewright-cli %s: warning: %s\n", command, dropped.c_str());
  }
  if (import.rig.verticesOverFourBones > 0) {
    std::fprintf(
        stderr,
        "posewright-cli %s: warning: %zu vertices have more than four bone weights; the four strongest "
        "were kept\n",
        command, import.rig.verticesOverFourBones);
  }
  if (import.rig.verticesWithoutWeights > 0) {
    std::fprintf(stderr,
                 "posewright-cli %s: warning: %zu vertices have no bone weight; they follow the root\n",
                 command, import.rig.verticesWithoutWeights);
  }
}

void PrintAnchorReport(const SkinnedModel& model, const std::vector<VertexInfluences>& fileInfluences) {
  const WeightAgreement a = MeasureWeightAgreement(model, fileInfluences);
  std::printf("anchors per vertex: %d..%d (vertices in no anchor: %zu, in more than four: %zu)\n",
              a.coverage.fewest, a.coverage.most, a.coverage.inNoAnchor, a.coverage.inMoreThanFour);
  std::printf(
      "automatic weights from the anchors keep the file's heaviest bone on %zu of %zu vertices (%.1f %%)\n",
      a.sameDominant, a.compared, 100.0 * a.share());
}
}  // namespace posewright
