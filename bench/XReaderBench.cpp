// Load time of a 65,535-vertex, 65,024-face .x mesh (text and binary): our
// reader (parse only, and the whole LoadMesh with merge, attribute sort and
// adjacency) against Assimp's importer with no post-processing, on the same
// files in the same run.
//
// The input is a 257 × 255 grid of vertices with per-vertex normals
// (MeshNormals with the faces' own indices), texture coordinates and one
// material, written here. Every other row of cells is split into two
// triangles: the largest mesh of this kind the reader accepts, since more than
// 65,535 faces are refused (a fully triangulated grid would have 130,048).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "fileio/FileBytes.h"
#include "fileio/TextWriter.h"
#include "skin/MeshLoader.h"
#include "skin/XFileParser.h"

namespace {
constexpr int kColumns = 257;
constexpr int kRows = 255;  // 257 × 255 = 65,535 vertices; 127 strips of 2 × 256 = 65,024 faces
constexpr std::size_t kFaces = 65024;

struct Grid {
  std::vector<float> positions;  // x, y, z per vertex
  std::vector<float> normals;
  std::vector<float> uv;
  std::vector<uint32_t> faces;  // three per face
};

Grid MakeGrid() {
  Grid g;
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const float x = static_cast<float>(c) * 0.01f;
      const float z = static_cast<float>(r) * 0.01f;
      const float y = 0.1f * std::sin(3.0f * x) * std::cos(2.0f * z);
      g.positions.insert(g.positions.end(), {x, y, z});
      const float nx = -0.3f * std::cos(3.0f * x) * std::cos(2.0f * z);
      const float nz = 0.2f * std::sin(3.0f * x) * std::sin(2.0f * z);
      const float len = std::sqrt(nx * nx + 1.0f + nz * nz);
      g.normals.insert(g.normals.end(), {nx / len, 1.0f / len, nz / len});
      g.uv.insert(g.uv.end(), {static_cast<float>(c) / (kColumns - 1), static_cast<float>(r) / (kRows - 1)});
    }
  }
  for (int r = 0; r + 1 < kRows; r += 2) {
    for (int c = 0; c + 1 < kColumns; ++c) {
      const auto v = static_cast<uint32_t>(r * kColumns + c);
      g.faces.insert(g.faces.end(), {v, v + kColumns, v + 1, v + 1, v + kColumns, v + kColumns + 1});
    }
  }
  return g;
}

std::string TextFile(const Grid& g) {
  TextWriter w;
  w.line("xof 0303txt 0032");
  w.line("Frame Grid {");
  w.line(" FrameTransformMatrix { 1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
         "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;; }");
  w.line(" Mesh grid {");
  const std::size_t vertices = g.positions.size() / 3;
  const std::size_t faces = g.faces.size() / 3;
  auto vectors = [&](const std::vector<float>& values, std::size_t count) {
    w.line("  %zu;", count);
    for (std::size_t i = 0; i < count; ++i) {
      w.line("  %.6f;%.6f;%.6f;%s", static_cast<double>(values[3 * i]), static_cast<double>(values[3 * i + 1]),
             static_cast<double>(values[3 * i + 2]), i + 1 == count ? ";" : ",");
    }
  };
  auto faceList = [&]() {
    w.line("  %zu;", faces);
    for (std::size_t f = 0; f < faces; ++f) {
      w.line("  3;%u,%u,%u;%s", g.faces[3 * f], g.faces[3 * f + 1], g.faces[3 * f + 2], f + 1 == faces ? ";" : ",");
    }
  };
  vectors(g.positions, vertices);
  faceList();
  w.line("  MeshNormals {");
  vectors(g.normals, vertices);
  faceList();
  w.line("  }");
  w.line("  MeshTextureCoords {");
  w.line("   %zu;", vertices);
  for (std::size_t i = 0; i < vertices; ++i) {
    w.line("   %.6f;%.6f;%s", static_cast<double>(g.uv[2 * i]), static_cast<double>(g.uv[2 * i + 1]),
           i + 1 == vertices ? ";" : ",");
  }
  w.line("  }");
  w.line("  MeshMaterialList { 1; 1; 0;; Material { 0.8;0.8;0.8;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }");
  w.line(" }");
  w.line("}");
  return w.take();
}

/// The binary tokens of the same mesh (32-bit floats).
class BinaryWriter {
 public:
  BinaryWriter() : bytes_("xof 0303bin 0032") {}
  void token(uint16_t t) { bytes_.append(reinterpret_cast<const char*>(&t), 2); }
  void u32(uint32_t v) { bytes_.append(reinterpret_cast<const char*>(&v), 4); }
  void name(const std::string& s) {
    token(1);
    u32(static_cast<uint32_t>(s.size()));
    bytes_ += s;
  }
  void open(const std::string& type, const std::string& objectName = "") {
    name(type);
    if (!objectName.empty()) name(objectName);
    token(10);
  }
  void close() { token(11); }
  void ints(const std::vector<uint32_t>& v) {
    token(6);
    u32(static_cast<uint32_t>(v.size()));
    bytes_.append(reinterpret_cast<const char*>(v.data()), 4 * v.size());
  }
  void floats(const std::vector<float>& v) {
    token(7);
    u32(static_cast<uint32_t>(v.size()));
    bytes_.append(reinterpret_cast<const char*>(v.data()), 4 * v.size());
  }
  std::string take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

std::string BinaryFile(const Grid& g) {
  BinaryWriter w;
  const auto vertices = static_cast<uint32_t>(g.positions.size() / 3);
  std::vector<uint32_t> faceList = {static_cast<uint32_t>(g.faces.size() / 3)};
  for (std::size_t f = 0; f < g.faces.size() / 3; ++f) {
    faceList.insert(faceList.end(), {3, g.faces[3 * f], g.faces[3 * f + 1], g.faces[3 * f + 2]});
  }
  w.open("Frame", "Grid");
  w.open("FrameTransformMatrix");
  w.floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  w.close();
  w.open("Mesh", "grid");
  w.ints({vertices});
  w.floats(g.positions);
  w.ints(faceList);
  w.open("MeshNormals");
  w.ints({vertices});
  w.floats(g.normals);
  w.ints(faceList);
  w.close();
  w.open("MeshTextureCoords");
  w.ints({vertices});
  w.floats(g.uv);
  w.close();
  w.open("MeshMaterialList");
  w.ints({1, 1, 0});
  w.open("Material");
  w.floats({0.8f, 0.8f, 0.8f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
  w.close();
  w.close();
  w.close();
  w.close();
  return w.take();
}

/// The two benchmark files, written once per run into a scratch folder.
struct Inputs {
  std::string text;
  std::string binary;
  Inputs() {
    const auto dir = std::filesystem::temp_directory_path() / ("posewright-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const Grid g = MakeGrid();
    text = (dir / "grid_text.x").string();
    binary = (dir / "grid_binary.x").string();
    if (!WriteFileAtomically(text, TextFile(g)).ok || !WriteFileAtomically(binary, BinaryFile(g)).ok) {
      text.clear();
    }
  }
  ~Inputs() {
    if (!text.empty()) std::filesystem::remove_all(std::filesystem::path(text).parent_path());
  }
};

const Inputs& Files() {
  static const Inputs inputs;
  return inputs;
}

const std::string& FileOf(int which) { return which == 0 ? Files().text : Files().binary; }

void BM_XLoad_Ours(benchmark::State& state) {
  const std::string& path = FileOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    SkinnedModel model;
    const Status s = LoadMesh(model, path);
    if (!s.ok || model.sourceMesh.vertices.size() != 65535 || model.sourceMesh.faceCount() != kFaces) {
      state.SkipWithError(("LoadMesh failed: " + s.describe()).c_str());
      break;
    }
    benchmark::DoNotOptimize(model.adjacency.data());
  }
}

void BM_XParse_Ours(benchmark::State& state) {
  const std::string& path = FileOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    XFileDocument doc;
    if (!ReadXFile(path, doc).ok) {
      state.SkipWithError("ReadXFile failed");
      break;
    }
    benchmark::DoNotOptimize(doc.meshes.data());
  }
}

void BM_XLoad_Assimp(benchmark::State& state) {
  const std::string& path = FileOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    if (scene == nullptr || scene->mNumMeshes != 1 || scene->mMeshes[0]->mNumFaces != kFaces) {
      state.SkipWithError(("Assimp failed: " + std::string(importer.GetErrorString())).c_str());
      break;
    }
    benchmark::DoNotOptimize(scene);
  }
}

BENCHMARK(BM_XLoad_Ours)->Arg(0)->Arg(1)->ArgName("binary")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XParse_Ours)->Arg(0)->Arg(1)->ArgName("binary")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XLoad_Assimp)->Arg(0)->Arg(1)->ArgName("binary")->Unit(benchmark::kMillisecond);
}  // namespace
