#include "ui/OpenGlFormat.h"

#include <QSurfaceFormat>

namespace posewright {

void UseViewportSurfaceFormat() {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setVersion(3, 3);
  format.setProfile(QSurfaceFormat::CoreProfile);
  format.setDepthBufferSize(16);
  format.setStencilBufferSize(0);
  QSurfaceFormat::setDefaultFormat(format);
}
}  // namespace posewright
