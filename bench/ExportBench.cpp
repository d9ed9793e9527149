// .x export of a large model — 65,535 vertices, 64 bones, a 600-frame
// animation written one key per editor frame — by the export writer and by a
// straightforward writer that formats every line with snprintf. Both write
// the same derived content; the benchmark refuses to run unless their bytes
// are identical.
#include <benchmark/benchmark.h>

#include <string>

#include "export/SkinnedMeshXContent.h"
#include "export/SkinnedMeshXWriter.h"
#include "export/XAnimationKeys.h"
#include "export/XTemplates.h"
#include "fileio/TextWriter.h"
#include "tests/support/SyntheticSkinnedModel.h"

namespace posewright {

namespace {
double D(float f) {
  return static_cast<double>(f);
}

void Matrix(TextWriter& out, const char* prefix, const D3DXMATRIX& m, const char* suffix) {
  out.line("%s%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f;;%s", prefix,
           D(m._11), D(m._12), D(m._13), D(m._14), D(m._21), D(m._22), D(m._23), D(m._24), D(m._31), D(m._32),
           D(m._33), D(m._34), D(m._41), D(m._42), D(m._43), D(m._44), suffix);
}

const char* Sep(std::size_t i, std::size_t n, const char* last) {
  return i + 1 == n ? last : ",";
}

// The baseline: one snprintf call per line.
std::string SnprintfExport(const ExportOptions& options, const SkinnedModel& model,
                           const Animation& animation) {
  const SkinnedMeshXContent content = BuildSkinnedMeshXContent(model);
  const SkinnedMesh& mesh = model.skinnedMesh;
  const std::size_t v = mesh.vertices.size();
  const std::size_t f = mesh.faceCount();
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  TextWriter out;
  out.raw(std::string(kXFileHeaderLine));
  out.raw(std::string(XTemplateBlock()));
  out.line("Mesh thisMesh {");
  out.line(" %u;", static_cast<unsigned>(v));
  for (std::size_t i = 0; i < v; ++i) {
    const D3DXVECTOR3& p = mesh.vertices[i].position;
    out.line(" %.6f;%.6f;%.6f;%s", D(p.x), D(p.y), D(p.z), Sep(i, v, ";"));
  }
  out.raw("\r\n");
  out.line(" %u;", static_cast<unsigned>(f));
  for (std::size_t i = 0; i < f; ++i) {
    out.line(" 3;%u,%u,%u;%s", mesh.indices[3 * i], mesh.indices[3 * i + 1], mesh.indices[3 * i + 2],
             Sep(i, f, ";"));
  }
  out.raw("\r\n");
  out.line(" MeshMaterialList {");
  out.line("  %u;", model.materialCount());
  out.line("  %u;", static_cast<unsigned>(f));
  for (std::size_t i = 0; i < f; ++i) out.line("  %u%s", content.faceMaterials[i], Sep(i, f, ";;"));
  for (uint32_t j = 0; j < model.materialCount(); ++j) {
    const D3DMATERIAL8& m = model.materials[j];
    out.line("  Material {");
    out.line("   %.6f;%.6f;%.6f;%.6f;;", D(m.Diffuse.r), D(m.Diffuse.g), D(m.Diffuse.b), D(m.Diffuse.a));
    out.line("   %.6f;", D(m.Power));
    out.line("   %.6f;%.6f;%.6f;;", D(m.Specular.r), D(m.Specular.g), D(m.Specular.b));
    out.line("   %.6f;%.6f;%.6f;;", D(m.Emissive.r), D(m.Emissive.g), D(m.Emissive.b));
    if (model.textures[j]) {
      out.line("   TextureFileName {");
      out.line("    \"%s\";", model.materialList[j].textureFilename.c_str());
      out.line("   }");
    }
    out.line("  }");
  }
  out.line(" }");
  out.line(" VertexDuplicationIndices {");
  out.line("  %u;", static_cast<unsigned>(v));
  out.line("  %u;", content.pointCount);
  for (std::size_t i = 0; i < v; ++i) out.line("  %u%s", content.pointReps[i], Sep(i, v, ";"));
  out.line(" }");
  out.line(" MeshNormals {");
  out.line(" %u;", static_cast<unsigned>(v));
  for (std::size_t i = 0; i < v; ++i) {
    const D3DXVECTOR3& n = mesh.vertices[i].normal;
    out.line("  %.6f;%.6f;%.6f;%s", D(n.x), D(n.y), D(n.z), Sep(i, v, ";"));
  }
  out.line("  %u;", static_cast<unsigned>(f));
  for (std::size_t i = 0; i < f; ++i) {
    out.line("  3;%u,%u,%u;%s", mesh.indices[3 * i], mesh.indices[3 * i + 1], mesh.indices[3 * i + 2],
             Sep(i, f, ";"));
  }
  out.line(" }");
  out.line(" MeshTextureCoords {");
  out.line("  %u;", static_cast<unsigned>(v));
  for (std::size_t i = 0; i < v; ++i)
    out.line("  %.6f;%.6f;%s", D(mesh.vertices[i].u), D(mesh.vertices[i].v), Sep(i, v, ";"));
  out.line(" }");
  out.line(" XSkinMeshHeader {");
  out.line("  4;");
  out.line("  12;");
  out.line("  %d;", content.skinWeightsCount);
  out.line(" }");
  for (std::size_t b = 1; b < content.influences.size(); ++b) {
    const std::vector<XSkinInfluence>& list = content.influences[b];
    if (list.empty()) continue;
    out.line(" SkinWeights {");
    out.line("  \"%s\";", content.frameNames[b].c_str());
    out.line("  %u;", static_cast<unsigned>(list.size()));
    for (std::size_t i = 0; i < list.size(); ++i)
      out.line("  %u%s", list[i].vertex, Sep(i, list.size(), ";"));
    for (std::size_t i = 0; i < list.size(); ++i)
      out.line("  %.6f%s", D(list[i].weight), Sep(i, list.size(), ";"));
    Matrix(out, "  ", identity, "");
    out.line(" }");
  }
  out.line("}");
  for (const XFrameStep& step : content.frames) {
    const std::string indent(static_cast<std::size_t>(step.depth), ' ');
    if (!step.open) {
      out.line("%s}", indent.c_str());
      continue;
    }
    out.line("%sFrame %s {", indent.c_str(), content.frameNames[static_cast<std::size_t>(step.bone)].c_str());
    out.line("%s FrameTransformMatrix {", indent.c_str());
    Matrix(out, (indent + "  ").c_str(), identity, "");
    out.line("%s }", indent.c_str());
    if (step.bone == 0) out.line(" {thisMesh}");
  }
  const auto keyCount = static_cast<uint32_t>(MatrixKeyCount(animation, options));
  out.line("AnimationSet {");
  for (std::size_t b = 0; b < model.skeleton.bones.size(); ++b) {
    out.line(" Animation {");
    out.line("  AnimationKey {");
    out.line("   4;");
    out.line("   %u;", keyCount);
    MatrixKeyCursor cursor(animation, options, static_cast<int32_t>(b), model.skeleton.bones[b].begin);
    XMatrixKey key;
    for (uint32_t k = 0; cursor.next(key); ++k) {
      const std::string prefix = "   " + std::to_string(key.time) + ";16;";
      Matrix(out, prefix.c_str(), key.matrix, k + 1 == keyCount ? ";" : ",");
    }
    out.line("  }");
    out.line("  {%s}", content.frameNames[b].c_str());
    out.line(" }");
  }
  out.line("}");
  return out.take();
}

struct LargeExport {
  SkinnedModel model;
  Animation animation;
  ExportOptions options{4800, true};
  bool identical = false;

  LargeExport() {
    synthetic::ModelRecipe recipe;
    recipe.vertexCount = 65535;
    recipe.boneCount = 64;
    recipe.materialCount = 4;
    recipe.splitVertices = true;
    recipe.seed = 65535;
    model = synthetic::MakeModel(recipe);
    std::vector<int32_t> times;
    for (int32_t t = 0; t <= 600; t += 60) times.push_back(t);
    animation = synthetic::MakeAnimation(recipe.boneCount, times, 600);
    std::string fast;
    identical = FormatSkinnedMeshX(options, model, &animation, fast) &&
                fast == SnprintfExport(options, model, animation);
  }
};

const LargeExport& Large() {
  static const LargeExport large;
  return large;
}

void BM_ExportX_SnprintfBaseline(benchmark::State& state) {
  const LargeExport& large = Large();
  if (!large.identical) {
    state.SkipWithError("the two writers' bytes differ");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = SnprintfExport(large.options, large.model, large.animation);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ExportX_SnprintfBaseline)->Unit(benchmark::kMillisecond);

void BM_ExportX_Writer(benchmark::State& state) {
  const LargeExport& large = Large();
  if (!large.identical) {
    state.SkipWithError("the two writers' bytes differ");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text;
    // The model was checked before the loop; the text is what is timed.
    static_cast<void>(FormatSkinnedMeshX(large.options, large.model, &large.animation, text));
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ExportX_Writer)->Unit(benchmark::kMillisecond);
}  // namespace
}  // namespace posewright
