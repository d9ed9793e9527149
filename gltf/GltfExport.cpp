#include "gltf/GltfExport.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "export/SkinnedMeshXContent.h"
#include "fileio/FileBytes.h"
#include "gltf/GltfAnimationSampling.h"

namespace posewright {

namespace gltf {
namespace {

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char c = s[s.size() - suffix.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

bool Finite(const D3DXVECTOR3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

Status Refuse(const std::string& why) {
  return Status::Error("Mesh Save Error", why);
}

// "out/model.glb" → "model".
std::string StemOf(const std::string& path) {
  const std::string name = FileNameOf(path);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::optional<Container> ContainerOfPath(std::string_view path) {
  if (EndsWithNoCase(path, ".glb")) return Container::Binary;
  if (EndsWithNoCase(path, ".gltf")) return Container::Text;
  return std::nullopt;
}

Status CheckExport(const SkinnedModel& model, std::span<const NamedAnimation> animations,
                   const ExportOptions& options) {
  if (Status possible = CheckSkinnedMeshXExport(posewright::ExportOptions{}, model, nullptr); !possible)
    return possible;
  if (model.skeleton.boneCount() > 256) {
    return Refuse("the skeleton has " + std::to_string(model.skeleton.boneCount()) +
                  " bones; at most 256 can be exported");
  }
  const std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const SkinVertex& v = vertices[i];
    if (!Finite(v.position) || !Finite(v.normal) || !std::isfinite(v.u) || !std::isfinite(v.v)) {
      return Refuse("vertex " + std::to_string(i) + " has a coordinate that is not a finite number");
    }
  }
  uint64_t samples = 0;
  for (const NamedAnimation& named : animations) {
    if (named.animation != nullptr) samples += BaseSampleCount(*named.animation, options.sampleEveryFrame);
  }
  const uint64_t rotations = samples * static_cast<uint64_t>(model.skeleton.boneCount());
  if (rotations > kMaxExportedKeys) {
    return Refuse("the animations would need " + std::to_string(rotations) + " rotation samples; at most " +
                  std::to_string(kMaxExportedKeys) + " can be exported");
  }
  return Status::Ok();
}

Status FormatExport(const SkinnedModel& model, std::span<const NamedAnimation> animations,
                    const ExportOptions& options, Container container, const std::string& stem,
                    std::vector<NamedFile>& files) {
  if (Status checked = CheckExport(model, animations, options); !checked) return checked;
  try {
    files = ContainerFiles(BuildAsset(model, animations, options, container, stem), container, stem);
  } catch (const std::bad_alloc&) {
    return Refuse("there is not enough memory for the export");
  }
  return Status::Ok();
}

Status WriteExport(const std::string& path, const SkinnedModel& model,
                   std::span<const NamedAnimation> animations, const ExportOptions& options) {
  const std::optional<Container> container = ContainerOfPath(path);
  if (!container) return Refuse(path + ": a glTF file name ends in .glb or .gltf");
  std::vector<NamedFile> files;
  if (Status formatted = FormatExport(model, animations, options, *container, StemOf(path), files);
      !formatted) {
    return formatted;
  }
  // Every file is complete on disk before any of them replaces its old
  // version, so a failure leaves the previous export whole.
  const std::string folder = FolderOf(path);
  const std::string suffix = ".part-" + std::to_string(static_cast<long>(getpid()));
  std::vector<std::pair<std::string, std::string>> staged;  // (temporary, target)
  auto discard = [&staged] {
    for (const auto& [temporary, target] : staged) std::remove(temporary.c_str());
  };
  for (const auto& [name, bytes] : files) {
    // The main file keeps the exact path given; the others go beside it.
    const std::string target = &name == &files.back().first ? path : ResolveRelative(folder, name);
    const std::string temporary = target + suffix;
    if (Status written = WriteFileAtomically(temporary, bytes); !written) {
      discard();
      if (written.detail.starts_with(temporary)) written.detail.replace(0, temporary.size(), target);
      return written;
    }
    staged.emplace_back(temporary, target);
  }
  for (std::size_t i = 0; i < staged.size(); ++i) {
    if (std::rename(staged[i].first.c_str(), staged[i].second.c_str()) != 0) {
      const std::string reason = std::strerror(errno);
      staged.erase(staged.begin(), staged.begin() + static_cast<std::ptrdiff_t>(i));
      discard();
      return Status::Error("Cannot write the file", staged.front().second + ": " + reason);
    }
  }
  return Status::Ok();
}

}  // namespace gltf
}  // namespace posewright
