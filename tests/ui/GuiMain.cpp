// The GUI tests share one QApplication; the OpenGL format must be the
// default before the first viewport exists.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/OpenGlFormat.h"
#include "ui/Translations.h"

int main(int argc, char** argv) {
  using namespace posewright;
  UseViewportSurfaceFormat();
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  InstallTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
