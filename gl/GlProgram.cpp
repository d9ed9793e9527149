#include "gl/GlProgram.h"

#include <vector>

namespace posewright {

GlProgram::~GlProgram() {
  release();
}

void GlProgram::release() {
  if (id_ != 0) {
    glDeleteProgram(id_);
    id_ = 0;
  }
}

GLuint GlProgram::compile(GLenum type, std::string_view text) {
  const GLuint shader = glCreateShader(type);
  const GLchar* source = text.data();
  const GLint length = static_cast<GLint>(text.size());
  glShaderSource(shader, 1, &source, &length);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok != GL_TRUE) {
    GLint size = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &size);
    std::vector<char> log(static_cast<std::size_t>(size) + 1, '\0');
    glGetShaderInfoLog(shader, size, nullptr, log.data());
    error_ = std::string(type == GL_VERTEX_SHADER ? "vertex shader: " : "fragment shader: ") + log.data();
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

bool GlProgram::build(std::string_view vertexText, std::string_view fragmentText) {
  release();
  error_.clear();
  if (vertexText.empty() || fragmentText.empty()) {
    error_ = "shader text missing";
    return false;
  }
  const GLuint vs = compile(GL_VERTEX_SHADER, vertexText);
  const GLuint fs = vs != 0 ? compile(GL_FRAGMENT_SHADER, fragmentText) : 0;
  if (vs == 0 || fs == 0) {
    if (vs != 0) {
      glDeleteShader(vs);
    }
    return false;
  }
  id_ = glCreateProgram();
  glAttachShader(id_, vs);
  glAttachShader(id_, fs);
  glLinkProgram(id_);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = GL_FALSE;
  glGetProgramiv(id_, GL_LINK_STATUS, &ok);
  if (ok != GL_TRUE) {
    GLint size = 0;
    glGetProgramiv(id_, GL_INFO_LOG_LENGTH, &size);
    std::vector<char> log(static_cast<std::size_t>(size) + 1, '\0');
    glGetProgramInfoLog(id_, size, nullptr, log.data());
    error_ = std::string("link: ") + log.data();
    release();
    return false;
  }
  return true;
}
}  // namespace posewright
