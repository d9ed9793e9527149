// Writes the ring marker drawn at the selected bone as a text .x mesh: three
// interlocking bands of radius 0.5 (green about Y, red about X, blue about Z),
// each 2 × 0.0422 wide, with vertices at the odd multiples of 5 degrees.
//
// Where two bands cross, one passes over: it owns the small square face at
// the crossing, and the other band leaves out its two vertex pairs next to the
// crossing and reaches the square's corners with one face on each side. Green
// passes over red, red over blue and blue over green; at the green-blue
// crossings the square is made of green's vertices but coloured blue. So every
// band has 34 faces: 192 vertices, 102 quadrilaterals, four materials (the
// fourth, white, owns no faces).
//
// Usage: posewright-ringgen OUTPUT.x
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "fileio/FileBytes.h"
#include "fileio/TextWriter.h"
#include "math/Vector3.h"

namespace posewright {

namespace {
constexpr float kRadius = 0.5f;
constexpr float kHalfWidth = 0.0422f;
constexpr int kAngles = 36;  // 5°, 15°, …, 355°
constexpr double kPi = 3.14159265358979323846;

enum Band { kGreen, kRed, kBlue };

struct Vertex {
  D3DXVECTOR3 position;
  D3DXVECTOR3 normal;
};

struct Face {
  std::array<int, 4> corners;
  int material;
};

double AngleOf(int j) {
  return (5.0 + 10.0 * j) * kPi / 180.0;
}

// Band b at angle step j on side s (−1 or +1 of the band's plane).
Vertex BandVertex(Band b, int j, int side) {
  const float c = static_cast<float>(kRadius * std::cos(AngleOf(j)));
  const float s = static_cast<float>(kRadius * std::sin(AngleOf(j)));
  const float off = static_cast<float>(side) * kHalfWidth;
  const float nc = static_cast<float>(std::cos(AngleOf(j)));
  const float ns = static_cast<float>(std::sin(AngleOf(j)));
  switch (b) {
    case kGreen:
      return {{c, off, s}, {nc, 0, ns}};
    case kRed:
      return {{off, c, s}, {0, nc, ns}};
    case kBlue:
      return {{c, s, off}, {nc, ns, 0}};
  }
  return {};
}

// The angle steps each band leaves out: the pairs next to the crossings it
// passes under (steps 8, 9 and 26, 27 straddle 90° and 270°; 35, 0 and 17, 18
// straddle 0° and 180°).
bool Omitted(Band b, int j) {
  const bool near90or270 = j == 8 || j == 9 || j == 26 || j == 27;
  const bool near0or180 = j == 35 || j == 0 || j == 17 || j == 18;
  switch (b) {
    case kGreen:
      return false;
    case kRed:
      return near90or270;  // under green at (0, 0, ±0.5)
    case kBlue:
      return near90or270 || near0or180;  // under red at (0, ±0.5, 0), under green at (±0.5, 0, 0)
  }
  return false;
}

// The band that passes over b where b leaves out steps j and j + 1.
Band OverBand(Band b, int j) {
  if (b == kRed) {
    return kGreen;
  }
  return (j == 8 || j == 26) ? kRed : kGreen;
}

class RingBuilder {
 public:
  RingBuilder() {
    for (Band b : {kGreen, kRed, kBlue}) {
      for (int j = 0; j < kAngles; ++j) {
        if (Omitted(b, j)) {
          continue;
        }
        for (int side : {-1, 1}) {
          index_[b][j][side > 0 ? 1 : 0] = static_cast<int>(vertices_.size());
          vertices_.push_back(BandVertex(b, j, side));
        }
      }
    }
    for (Band b : {kGreen, kRed, kBlue}) {
      addBandFaces(b);
    }
  }

  const std::vector<Vertex>& vertices() const { return vertices_; }
  const std::vector<Face>& faces() const { return faces_; }

 private:
  int at(Band b, int j, int side) const { return index_[b][(j + kAngles) % kAngles][side > 0 ? 1 : 0]; }

  static float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    const D3DXVECTOR3 d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  }

  // The corner of the over band's crossing square (steps j0, j0 + 1) nearest to p.
  int nearestCorner(Band over, int j0, const D3DXVECTOR3& p) const {
    int best = -1;
    float bestDistance = 0;
    for (int j : {j0, j0 + 1}) {
      for (int side : {-1, 1}) {
        const int v = at(over, j, side);
        const float d = Distance(vertices_[static_cast<std::size_t>(v)].position, p);
        if (best < 0 || d < bestDistance) {
          best = v;
          bestDistance = d;
        }
      }
    }
    return best;
  }

  // Steps a (kept) and the two omitted steps after it, ending at a + 3 (kept).
  void addBridge(Band b, int a) {
    const int gapStart = (a + 1) % kAngles;
    const Band over = OverBand(b, gapStart);
    // The over band's square lies across steps gapStart, gapStart + 1 of b; its
    // own steps there are the same numbers (all crossings sit at multiples of 90°).
    const int lo0 = at(b, a, -1);
    const int hi0 = at(b, a, 1);
    const int lo3 = at(b, a + 3, -1);
    const int hi3 = at(b, a + 3, 1);
    const int squareStep = overSquareStep(b, over, gapStart);
    const int c0lo = nearestCorner(over, squareStep, vertices_[static_cast<std::size_t>(lo0)].position);
    const int c0hi = nearestCorner(over, squareStep, vertices_[static_cast<std::size_t>(hi0)].position);
    const int c3lo = nearestCorner(over, squareStep, vertices_[static_cast<std::size_t>(lo3)].position);
    const int c3hi = nearestCorner(over, squareStep, vertices_[static_cast<std::size_t>(hi3)].position);
    faces_.push_back({{lo0, c0lo, c0hi, hi0}, b});
    if (over == kGreen && b == kBlue) {
      // Blue passes over green here: green's square takes blue's colour.
      faces_.push_back({{c0lo, c3lo, c3hi, c0hi}, kBlue});
    }
    faces_.push_back({{c3lo, lo3, hi3, c3hi}, b});
  }

  // First step of the over band's square at the crossing b passes under at
  // its steps gap, gap + 1.
  static int overSquareStep(Band b, Band over, int gap) {
    const double crossing = AngleOf(gap) + 5.0 * kPi / 180.0;  // b's angle at the crossing
    // Where b is at that angle, in the over band's angle.
    const Vertex p = BandVertexAt(b, crossing);
    double theta = 0;
    switch (over) {
      case kGreen:
        theta = std::atan2(p.position.z, p.position.x);
        break;
      case kRed:
        theta = std::atan2(p.position.z, p.position.y);
        break;
      case kBlue:
        theta = std::atan2(p.position.y, p.position.x);
        break;
    }
    const double degrees = std::fmod(theta * 180.0 / kPi + 360.0, 360.0);
    // The crossing lies at a multiple of 90°, between step floor((degrees − 5) / 10) and the next.
    const int step = static_cast<int>(std::floor((degrees - 5.0) / 10.0));
    return (step % kAngles + kAngles) % kAngles;
  }

  static Vertex BandVertexAt(Band b, double angle) {
    const float c = static_cast<float>(kRadius * std::cos(angle));
    const float s = static_cast<float>(kRadius * std::sin(angle));
    switch (b) {
      case kGreen:
        return {{c, 0, s}, {}};
      case kRed:
        return {{0, c, s}, {}};
      case kBlue:
        return {{c, s, 0}, {}};
    }
    return {};
  }

  void addBandFaces(Band b) {
    for (int j = 0; j < kAngles; ++j) {
      const int next = (j + 1) % kAngles;
      if (Omitted(b, j)) {
        continue;
      }
      if (!Omitted(b, next)) {
        const bool greenUnderBlue = b == kGreen && (j == 35 || j == 17);
        if (greenUnderBlue) {
          continue;  // drawn in blue with blue's bridges
        }
        faces_.push_back({{at(b, j, -1), at(b, next, -1), at(b, next, 1), at(b, j, 1)}, b});
      } else {
        addBridge(b, j);
      }
    }
  }

  std::vector<Vertex> vertices_;
  std::vector<Face> faces_;
  int index_[3][kAngles][2] = {};
};

std::string RingText(const RingBuilder& ring) {
  const std::vector<Vertex>& v = ring.vertices();
  const std::vector<Face>& f = ring.faces();
  TextWriter w;
  w.line("xof 0302txt 0064");
  w.line("%s", "");
  w.line("// Ring marker drawn at the selected bone; written by posewright-ringgen.");
  w.line("Mesh RingMarker {");
  w.line(" %zu;", v.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    const D3DXVECTOR3& p = v[i].position;
    w.line(" %.6f;%.6f;%.6f;%s", static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z),
           i + 1 < v.size() ? "," : ";");
  }
  auto faceList = [&] {
    w.line(" %zu;", f.size());
    for (std::size_t i = 0; i < f.size(); ++i) {
      const auto& c = f[i].corners;
      w.line(" 4;%d,%d,%d,%d;%s", c[0], c[1], c[2], c[3], i + 1 < f.size() ? "," : ";");
    }
  };
  faceList();
  w.line("%s", "");
  w.line(" MeshNormals {");
  w.line(" %zu;", v.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    const D3DXVECTOR3& n = v[i].normal;
    w.line(" %.6f;%.6f;%.6f;%s", static_cast<double>(n.x), static_cast<double>(n.y), static_cast<double>(n.z),
           i + 1 < v.size() ? "," : ";");
  }
  faceList();
  w.line(" }");
  w.line("%s", "");
  w.line(" MeshMaterialList {");
  w.line("  4;");
  w.line("  %zu;", f.size());
  for (std::size_t i = 0; i < f.size(); ++i) {
    w.line("  %d%s", f[i].material, i + 1 < f.size() ? "," : ";");
  }
  const struct {
    float r, g, b, power;
  } materials[4] = {{0, 0.8f, 0, 5}, {0.8f, 0, 0, 5}, {0, 0, 0.8f, 5}, {1, 1, 1, 0}};
  for (const auto& m : materials) {
    w.line("  Material {");
    w.line("   %.6f;%.6f;%.6f;%.6f;;", static_cast<double>(m.r), static_cast<double>(m.g),
           static_cast<double>(m.b), 1.0);
    w.line("   %.6f;", static_cast<double>(m.power));
    w.line("   0.000000;0.000000;0.000000;;");
    w.line("   0.000000;0.000000;0.000000;;");
    w.line("  }");
  }
  w.line(" }");
  w.line("}");
  return w.take();
}
}  // namespace

}  // namespace posewright

int main(int argc, char** argv) {
  using namespace posewright;
  if (argc != 2) {
    std::fprintf(stderr, "usage: posewright-ringgen OUTPUT.x\n");
    return 2;
  }
  const RingBuilder ring;
  std::size_t perBand[3] = {0, 0, 0};
  for (const Face& f : ring.faces()) {
    ++perBand[f.material];
  }
  if (ring.vertices().size() != 192 || ring.faces().size() != 102 || perBand[0] != 34 || perBand[1] != 34 ||
      perBand[2] != 34) {
    std::fprintf(stderr, "posewright-ringgen: unexpected ring (%zu vertices, %zu faces: %zu/%zu/%zu)\n",
                 ring.vertices().size(), ring.faces().size(), perBand[0], perBand[1], perBand[2]);
    return 1;
  }
  const Status written = WriteFileAtomically(argv[1], RingText(ring));
  if (!written) {
    std::fprintf(stderr, "posewright-ringgen: %s\n", written.describe().c_str());
    return 1;
  }
  return 0;
}
