#include "gl/OffscreenHost.h"

#include <dlfcn.h>
#include <epoxy/egl.h>
#include <epoxy/gl.h>
#include <link.h>

#include <cstring>

namespace posewright {

namespace {
bool HasExtension(const char* list, const char* name) {
  if (list == nullptr) {
    return false;
  }
  const std::size_t n = std::strlen(name);
  for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + 1, name)) {
    if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) {
      return true;
    }
  }
  return false;
}

// Mesa's driver is unloaded when the display is terminated; keeping it loaded
// for the life of the process lets leak checkers symbolise what it allocated.
// Marks every loaded driver library (found after eglInitialize) as never to be
// unloaded.
int KeepLoaded(dl_phdr_info* info, std::size_t, void*) {
  const char* name = info->dlpi_name;
  if (name != nullptr &&
      (std::strstr(name, "_dri.so") != nullptr || std::strstr(name, "libEGL_mesa") != nullptr ||
       std::strstr(name, "libgallium") != nullptr)) {
    dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
  return 0;
}

void KeepDriverLoaded() {
  dl_iterate_phdr(KeepLoaded, nullptr);
}

// Hosts alive; the shared EGL display is terminated when the last one goes.
int gLiveHosts = 0;
}  // namespace

Status OffscreenHost::Create(int width, int height, std::unique_ptr<OffscreenHost>& out) {
  out.reset();
  auto fail = [](const std::string& why) { return Status::Error(kNoOffscreenOpenGl, why); };
  if (width <= 0 || height <= 0) {
    return fail("framebuffer size must be positive");
  }
  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (!HasExtension(clientExtensions, "EGL_EXT_platform_base") ||
      !HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
    return fail("EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)");
  }
  EGLDisplay display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  EGLint major = 0;
  EGLint minor = 0;
  if (display == EGL_NO_DISPLAY || eglInitialize(display, &major, &minor) != EGL_TRUE) {
    return fail("no EGL device on the surfaceless platform");
  }
  KeepDriverLoaded();
  std::unique_ptr<OffscreenHost> host(new OffscreenHost());
  ++gLiveHosts;
  host->display_ = display;
  host->width_ = width;
  host->height_ = height;
  if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
    return fail("EGL cannot bind the OpenGL API");
  }
  const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configs = 0;
  if (eglChooseConfig(display, configAttributes, &config, 1, &configs) != EGL_TRUE || configs == 0) {
    config = EGL_NO_CONFIG_KHR;
  }
  const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                      3,
                                      EGL_CONTEXT_MINOR_VERSION,
                                      3,
                                      EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                      EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                      EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
  if (context == EGL_NO_CONTEXT) {
    return fail("no OpenGL 3.3 core context");
  }
  host->context_ = context;
  if (eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) != EGL_TRUE) {
    return fail("cannot make the context current without a surface");
  }
  host->current_ = true;

  glGenFramebuffers(1, &host->framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, host->framebuffer_);
  glGenRenderbuffers(1, &host->colorBuffer_);
  glBindRenderbuffer(GL_RENDERBUFFER, host->colorBuffer_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, host->colorBuffer_);
  glGenRenderbuffers(1, &host->depthBuffer_);
  glBindRenderbuffer(GL_RENDERBUFFER, host->depthBuffer_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, host->depthBuffer_);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    return fail("the offscreen framebuffer is incomplete");
  }
  out = std::move(host);
  return Status::Ok();
}

OffscreenHost::~OffscreenHost() {
  if (current_) {
    makeCurrent();
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &colorBuffer_);
    glDeleteRenderbuffers(1, &depthBuffer_);
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  }
  if (context_ != nullptr) {
    eglDestroyContext(display_, context_);
  }
  if (display_ != nullptr && --gLiveHosts == 0) {
    eglTerminate(display_);
  }
}

void OffscreenHost::makeCurrent() {
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

std::vector<uint8_t> OffscreenHost::readPixels() {
  const std::size_t rowBytes = static_cast<std::size_t>(width_) * 4;
  std::vector<uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(height_));
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  std::vector<uint8_t> topDown(bottomUp.size());
  for (int y = 0; y < height_; ++y) {
    std::memcpy(&topDown[static_cast<std::size_t>(y) * rowBytes],
                &bottomUp[static_cast<std::size_t>(height_ - 1 - y) * rowBytes], rowBytes);
  }
  return topDown;
}

std::string OffscreenHost::renderer() const {
  const auto* text = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return text != nullptr ? text : "";
}
}  // namespace posewright
