#version 330 core
// Vertices already in back-buffer pixels (x right, y down, pixel centres at
// integers), depth z and 1 / w, with a colour: the rubber band.
layout(location = 0) in vec4 position;  // x, y, z, rhw
layout(location = 1) in vec4 color;     // 0xAARRGGBB read as BGRA

uniform vec2 viewportSize;
// A hair under half a pixel: pixel centres move to OpenGL's half-integer
// positions, and edges exactly on a centre cover it on the left and top only.
uniform float halfPixel;

out vec4 vertexColor;

void main() {
  float w = 1.0 / position.w;
  vec2 ndc = vec2((position.x + halfPixel) * 2.0 / viewportSize.x - 1.0,
                  1.0 - (position.y + halfPixel) * 2.0 / viewportSize.y);
  gl_Position = vec4(ndc, 2.0 * position.z - 1.0, 1.0) * w;
  vertexColor = color;
}
