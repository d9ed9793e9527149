#version 330 core
// The skinning program: every vertex of the viewport passes through it.
// Registers c0 .. c1033 come from a buffer: c0 constants, c1..c4 the
// transposed view × projection, c5 the light direction, c8 diffuse, c9
// ambient, c10 + 4k .. c13 + 4k the transposed skinning matrix of bone k.
// Compiled with WEIGHT_VIEW defined it is the weight view's variant: the
// colour is the weight of bone c6.x instead of the light's (the ramp of
// render/WeightColours.cpp, which the CPU twin uses).

layout(location = 0) in vec4 v0;  // position (w = 1)
layout(location = 1) in vec4 v1;  // weights of slots 0..2
layout(location = 2) in vec4 v2;  // index word read as a colour: x = byte 2, y = byte 1, z = byte 0, w = byte 3
layout(location = 3) in vec3 v3;  // normal
layout(location = 4) in float v4; // point size
layout(location = 5) in vec2 v5;  // texture coordinates

uniform samplerBuffer registers;
// Moves pixel centres from integer positions (the viewport's convention) to
// the half-integer positions of OpenGL: (s / width, −s / height) in clip
// units per w, with s a hair under one, so that a primitive edge lying
// exactly on a pixel centre covers it on the left and top edges and not on
// the right and bottom ones.
uniform vec2 pixelShift;

out vec4 vertexColor;
out vec2 texCoord;

vec4 c(int r) { return texelFetch(registers, r); }

#ifdef WEIGHT_VIEW
// Blue at 0, green at 0.5, red at 1; dark blue where no slot names the bone.
vec4 boneWeightColour(ivec4 offsets, vec4 weights) {
  int boneOffset = 4 * int(clamp(c(6).x, 0.0, 255.0));
  bool bound = false;
  float weight = 0.0;
  for (int k = 0; k < 4; ++k) {
    if (offsets[k] == boneOffset) {
      bound = true;
      weight += weights[k];
    }
  }
  if (!bound) return vec4(0.0, 0.0, 0.35, 1.0);
  float w = weight > 0.0 ? min(weight, 1.0) : 0.0;
  if (w < 0.5) {
    float t = 2.0 * w;
    return vec4(0.0, t, 1.0 - t, 1.0);
  }
  float t = 2.0 * w - 1.0;
  return vec4(t, 1.0 - t, 0.0, 1.0);
}
#endif

void main() {
  vec4 c0 = c(0);
  // Slot k reads byte k: byte / 255 × 1020.01 rounded down is 4 × byte.
  ivec4 offsets = ivec4(floor(v2.zyxw * c0.w));
  vec4 weights = vec4(v1.xyz, c0.x - (v1.x + v1.y + v1.z));

  vec3 P = vec3(0.0);
  vec3 N = vec3(0.0);
  for (int k = 0; k < 4; ++k) {
    int o = 10 + offsets[k];
    vec4 r0 = c(o);
    vec4 r1 = c(o + 1);
    vec4 r2 = c(o + 2);
    P += weights[k] * vec3(dot(v0, r0), dot(v0, r1), dot(v0, r2));
    N += weights[k] * vec3(dot(v3, r0.xyz), dot(v3, r1.xyz), dot(v3, r2.xyz));
  }
  vec4 p = vec4(P, 1.0);
  vec4 clip = vec4(dot(p, c(1)), dot(p, c(2)), dot(p, c(3)), dot(p, c(4)));

  // A zero normal lights nothing (instead of dividing by zero).
  float d = c0.z;
  float lengthSquared = dot(N, N);
  if (lengthSquared > 1.17549435e-38) {
    N *= inversesqrt(lengthSquared);
    d = max(dot(N, -c(5).xyz), c0.z);
  }
  vec3 rgb = clamp(d * c(8).rgb + c(9).rgb, 0.0, c0.x);
  vertexColor = vec4(rgb, rgb.b);
#ifdef WEIGHT_VIEW
  vertexColor = boneWeightColour(offsets, weights);
#endif
  gl_PointSize = v4;
  texCoord = v5;
  // Depth 0..w becomes OpenGL's −w..w.
  gl_Position = vec4(clip.xy + clip.w * pixelShift, 2.0 * clip.z - clip.w, clip.w);
}
