// The editor window started as a user starts it, with a folder holding the
// textured cube of the shared test data and a bone data file for it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QTest>
#include <filesystem>
#include <memory>

#include "ScriptedDialogs.h"
#include "editor/Application.h"
#include "editor/CommandIds.h"
#include "fileio/FileBytes.h"
#include "support/BoxBoneData.h"
#include "support/TempDir.h"
#include "support/TestData.h"
#include "ui/MainWindow.h"
#include "ui/Viewport.h"

namespace posewright {

/// The viewport's clear colour as Qt reads it back.
inline constexpr QRgb kClearColour = 0xFF1E3C5A;

struct EditorFixture : ::testing::Test {
  TempDir folder{"gui"};
  Application app;
  ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> window;

  void SetUp() override {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(SharedTestDataDir()) / "x";
    fs::copy_file(data / "test.x", folder.path() / "cube.x", fs::copy_options::overwrite_existing);
    fs::copy_file(data / "test.png", folder.path() / "test.png", fs::copy_options::overwrite_existing);
    // Bone 1 holds the upper half of the cube, bone 2 the lower half.
    ASSERT_TRUE(WriteFileAtomically(
        Path("cube.dat"),
        fixtures::BoxBoneDataText({0, -1, 0}, {0, 0, 0},
                                  {{"Upper", 0, {0, 0, 0}, {0, 1, 0}, {-2, 0, -2}, {2, 2, 2}},
                                   {"Lower", 0, {0, 0, 0}, {0, -1, 0}, {-2, -2, -2}, {2, 0, 2}}})));
  }
  void TearDown() override { window.reset(); }

  std::string Path(const std::string& name) const { return folder.path(name); }

  /// Creates and starts the window; real dialogs when realDialogs.
  void Start(bool realDialogs = false) {
    window = std::make_unique<MainWindow>(app, realDialogs ? nullptr : &dialogs);
    window->start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(Activate());
    ASSERT_TRUE(window->viewport().deviceError().isEmpty()) << window->viewport().deviceError().toStdString();
  }
  /// Asks for the keyboard focus until the window has it. Without a window
  /// manager the X server hands focus over on request only, and a request made
  /// while another window is still going away can be lost; asking again is
  /// what a user clicking the window would do.
  bool Activate() {
    for (int attempt = 0; attempt < 5; ++attempt) {
      window->raise();
      window->activateWindow();
      if (QTest::qWaitForWindowActive(window.get(), 1000)) return true;
    }
    return false;
  }
  void Trigger(CommandId id) { window->action(id)->trigger(); }
  /// Waits until the viewport has drawn another frame.
  bool WaitForFrame(int timeoutMs = 5000) {
    const int before = window->viewport().framesDrawn();
    return QTest::qWaitFor([&] { return window->viewport().framesDrawn() > before; }, timeoutMs);
  }
  void OpenCube() {
    const std::size_t before = dialogs.messages.size();
    dialogs.answerFile(Path("cube.x"));
    dialogs.answerFile(Path("cube.dat"));
    Trigger(CommandId::OpenMesh);
    ASSERT_EQ(dialogs.messages.size(), before) << dialogs.messages.back() << " " << dialogs.details.back();
    ASSERT_TRUE(app.canDraw());
  }
  /// The viewport's picture as drawn last.
  QImage Picture() { return window->viewport().grabFramebuffer().convertToFormat(QImage::Format_RGB32); }
};
}  // namespace posewright
