#version 330 core
// Texture stage 0: the texture's colour modulated by the vertex colour, the
// texture's alpha; without a texture, the vertex colour.
in vec4 vertexColor;
in vec2 texCoord;

uniform sampler2D stage0;
uniform bool textured;

out vec4 fragColor;

void main() {
  if (textured) {
    vec4 t = texture(stage0, texCoord);
    fragColor = vec4(t.rgb * vertexColor.rgb, t.a);
  } else {
    fragColor = vertexColor;
  }
}
