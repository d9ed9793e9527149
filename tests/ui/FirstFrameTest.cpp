// libepoxy's header must come before Qt's OpenGL headers.
#include "gl/OffscreenViewport.h"
// clang-format off
#include "EditorFixture.h"
// clang-format on

#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {
using FirstFrameTest = EditorFixture;

// The offscreen renderer's picture of the cube for the editor's start camera
// with the root selected, on a back buffer of the given size.
QImage OffscreenPicture(const std::string& mesh, const std::string& bones, QSize size) {
  SkinnedModel model;
  EXPECT_TRUE(LoadMesh(model, mesh));
  EXPECT_TRUE(LoadBoneData(model, bones));
  ComputeBlendWeights(model);
  Camera camera;
  setViewportSize(camera, size.width(), size.height());
  FrameOptions options;
  options.selectedBone = 0;
  std::unique_ptr<OffscreenViewport> offscreen;
  if (Status created = OffscreenViewport::Create(size.width(), size.height(), offscreen); !created) {
    ADD_FAILURE() << created.describe();
    return {};
  }
  offscreen->drawFrame(model, camera, options);
  const std::vector<uint8_t> rgba = offscreen->readPixels();
  return QImage(rgba.data(), size.width(), size.height(), QImage::Format_RGBA8888)
      .convertToFormat(QImage::Format_RGB32);
}

// The window's first frame is exactly what the offscreen renderer draws for
// the same files: the viewport hosts the device with the right back buffer.
TEST_F(FirstFrameTest, MatchesTheOffscreenRendererPixelForPixel) {
  Start();
  const QSize backBuffer = window->viewport().size() * window->viewport().devicePixelRatio();
  // One thread has one current context: let go of the window's for a moment.
  window->viewport().doneCurrent();
  const QImage reference = OffscreenPicture(Path("cube.x"), Path("cube.dat"), backBuffer);
  ASSERT_FALSE(reference.isNull());
  OpenCube();
  ASSERT_TRUE(WaitForFrame());
  const QImage picture = Picture();
  ASSERT_EQ(picture.size(), reference.size());
  int differing = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      differing += picture.pixel(x, y) != reference.pixel(x, y) ? 1 : 0;
    }
  }
  EXPECT_EQ(differing, 0);
}

// Qt composes the viewport with its alpha when it paints the window into a
// picture: the picture must show the screen's colours, with no see-through
// holes where the drawn colour has little blue.
TEST_F(FirstFrameTest, WindowPictureShowsTheViewportsColours) {
  Start();
  OpenCube();
  ASSERT_TRUE(WaitForFrame());
  const QImage screen = Picture();
  const QImage grabbed = window->viewport().grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(grabbed.size(), screen.size());
  int differing = 0;
  for (int y = 0; y < screen.height(); ++y) {
    for (int x = 0; x < screen.width(); ++x) {
      differing += grabbed.pixel(x, y) != screen.pixel(x, y) ? 1 : 0;
    }
  }
  EXPECT_EQ(differing, 0);
}
}  // namespace
}  // namespace posewright
