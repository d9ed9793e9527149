// A linked GLSL program built from vertex and fragment shader texts.
#pragma once

#include <epoxy/gl.h>

#include <string>
#include <string_view>

namespace posewright {

class GlProgram {
 public:
  GlProgram() = default;
  GlProgram(const GlProgram&) = delete;
  GlProgram& operator=(const GlProgram&) = delete;
  ~GlProgram();

  /// Compiles and links; on failure returns false and error() holds the log.
  bool build(std::string_view vertexText, std::string_view fragmentText);
  /// Deletes the program (needs the context current).
  void release();
  GLuint id() const { return id_; }
  GLint uniform(const char* name) const { return glGetUniformLocation(id_, name); }
  const std::string& error() const { return error_; }

 private:
  GLuint compile(GLenum type, std::string_view text);
  GLuint id_ = 0;
  std::string error_;
};
}  // namespace posewright
