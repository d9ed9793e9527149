// The viewport at two window sizes: the picture keeps its proportions (the
// cube's square front stays square, where the CPU twin puts it) and the rubber
// band selects exactly the vertices drawn inside it.
#include <QMouseEvent>
#include <algorithm>

#include "EditorFixture.h"
#include "PredictedPixels.h"

namespace posewright {

namespace {
void SendMouseAt(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

using ResizeTest = EditorFixture;

TEST_F(ResizeTest, PictureAndSelectionFollowTheViewportsSize) {
  Start();
  OpenCube();
  QWidget* viewport = &window->viewport();
  QSize last;
  for (const QSize size : {QSize(1150, 820), QSize(1270, 660)}) {
    SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
    window->resize(size);
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewport->size() != last; }, 3000));
    last = viewport->size();
    ASSERT_TRUE(WaitForFrame());
    const QSize backBuffer = viewport->size() * viewport->devicePixelRatio();
    const QImage picture = Picture();
    ASSERT_EQ(picture.size(), backBuffer);

    // The cube's front face, as the CPU twin projects it, is square and is
    // where the picture shows it.
    const std::vector<ScreenPosition> pixels = PredictedPixels(app, backBuffer);
    float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
    for (const ScreenPosition& p : pixels) {
      left = std::min(left, p.x);
      right = std::max(right, p.x);
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
    }
    EXPECT_NEAR(right - left, bottom - top, 1.0f);
    for (const auto& [x, y, dx, dy] : {std::tuple{left, top, 1, 1}, std::tuple{right, top, -1, 1},
                                       std::tuple{left, bottom, 1, -1}, std::tuple{right, bottom, -1, -1}}) {
      const int px = static_cast<int>(x), py = static_cast<int>(y);
      EXPECT_NE(picture.pixel(px + 3 * dx, py + 3 * dy), kClearColour) << "inside corner " << px << "," << py;
      EXPECT_EQ(picture.pixel(px - 4 * dx, py - 4 * dy), kClearColour)
          << "outside corner " << px << "," << py;
    }

    // A rubber band over the upper left part selects what the twin puts inside.
    QTest::keyClick(window.get(), Qt::Key_F8);  // Point mode on
    const QPoint a(static_cast<int>(left) - 5, static_cast<int>(top) - 5);
    const QPoint b(static_cast<int>((left + right) / 2) + 7, static_cast<int>((top + bottom) / 2) + 3);
    SendMouseAt(viewport, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    SendMouseAt(viewport, QEvent::MouseMove, a, Qt::NoButton, Qt::LeftButton);
    SendMouseAt(viewport, QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
    SendMouseAt(viewport, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
    SendMouseAt(viewport, QEvent::MouseMove, b + QPoint(1, 1), Qt::NoButton, Qt::NoButton);
    ASSERT_TRUE(WaitForFrame());
    std::vector<uint8_t> expected;
    for (const ScreenPosition& p : pixels) {
      expected.push_back(a.x() < p.x && p.x < b.x() && a.y() < p.y && p.y < b.y() ? 1 : 0);
    }
    EXPECT_EQ(app.model.selection.selected, expected);
    EXPECT_GT(app.model.selection.selectedCount(), 0u);
    QTest::keyClick(window.get(), Qt::Key_F8);  // and off: points reach past the faces
    ASSERT_TRUE(WaitForFrame());
  }
}
}  // namespace
}  // namespace posewright
