// The per-vertex computation of the skinning program, on the CPU. It is the
// reference the GPU picture is checked against and what the rectangle
// selection uses to find where every vertex lands on screen.
//
// For each vertex: the four index bytes, read as colour channels (byte / 255)
// and scaled by c0.w, give register offsets 4 × byte; the fourth weight is
// c0.x − (w0 + w1 + w2); position and normal are blended through the palette
// rows c(10 + o) .. c(12 + o); the position goes through c1..c4; the normal
// is normalised (a zero normal stays zero, so it lights nothing) and gives
// the diffuse factor d = max(N · −c5, c0.z); the colour is min(d × c8 + c9, 1)
// per channel, clamped to 0..1 like a vertex colour output, with alpha equal
// to the blue output. The weight variant replaces that colour by the weight
// view's colour of the bone in c6.x (render/WeightColours.h).
#pragma once

#include <cstdint>
#include <span>

#include "math/Vector4.h"
#include "mesh/SkinVertex.h"
#include "render/RegisterFile.h"

namespace posewright {

struct ProcessedVertex {
  /// Clip-space position; visible depth is 0 <= z <= w.
  D3DXVECTOR4 clip;
  /// r, g, b, a in 0..1.
  D3DXVECTOR4 color;
  float pointSize = 0.0f;
  float u = 0.0f;
  float v = 0.0f;
};

/// A position in back-buffer pixels: x to the right and y down, with the
/// centre of the top-left pixel at (0, 0); z is depth 0..1 and rhw = 1 / w.
struct ScreenPosition {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float rhw = 0.0f;
};

/// Which colour the program gives a vertex: lit by c5, c8 and c9, or the
/// weight view's colour of bone c6.x.
enum class VertexColouring { Lit, BoneWeight };

/// The register offset (4 × byte for every byte) of each of the four slots.
void PaletteOffsets(uint32_t boneIndices, float indexScale, uint32_t offsets[4]);

/// Runs one vertex through the whole program.
ProcessedVertex ProcessVertex(const SkinVertex& vertex, const RegisterFile& registers,
                              VertexColouring colouring = VertexColouring::Lit);

/// Only the clip-space position of ProcessVertex (same arithmetic).
D3DXVECTOR4 ProcessPosition(const SkinVertex& vertex, const RegisterFile& registers);

/// The viewport transform to a width × height back buffer. A vertex with
/// w = 0 gives non-finite coordinates, which lie inside no rectangle.
ScreenPosition ClipToScreen(const D3DXVECTOR4& clip, int width, int height);

/// Screen positions of all vertices (out must hold as many entries).
void ProcessVertexPositions(std::span<const SkinVertex> vertices, const RegisterFile& registers, int width,
                            int height, std::span<ScreenPosition> out);
}  // namespace posewright
