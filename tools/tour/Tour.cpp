#include "tools/tour/Tour.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "editor/CommandIds.h"
#include "editor/panels/BoneTree.h"
#include "fileio/FileBytes.h"
#include "render/VertexProcessor.h"
#include "tools/tour/WindowPicture.h"
#include "ui/MainWindow.h"
#include "ui/OptionDialog.h"
#include "ui/PanelDock.h"
#include "ui/PanelSet.h"
#include "ui/Viewport.h"

namespace posewright {

namespace {

// The bones the tour works on (the sample character's numbering).
constexpr int kLeftUpperArm = 5;
constexpr int kLeftForearm = 6;
// Rubber bands: a margin around the whole character in the first view, and
// a square of this half size around its left elbow once zoomed in and posed
// (viewport pixels).
constexpr int kBodyBandMargin = 12;
constexpr int kElbowBandHalf = 26;
// Zooming: pixels dragged up with both buttons (0.05 world units each).
constexpr int kZoomPixels = 96;
// Bone Control X positions (degrees + 180) for the left upper arm.
constexpr int kArmLowered = 250;
constexpr int kArmRaised = 120;
// The playback frame the tour stops at for its picture.
constexpr int kPlaybackPictureTime = 20;
// The rigged hand's bones and the Bone Control Y position that bends the
// index finger sideways at its first joint (its own Y axis points into the
// screen).
constexpr int kHandBones = 17;
constexpr int kIndexFinger = 5;
constexpr int kFingerBent = 220;

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

// The action with this text (ignoring the & of a mnemonic), or null.
QAction* FindAction(const QList<QAction*>& actions, const QString& text) {
  for (QAction* a : actions) {
    if (a->text().remove(QLatin1Char('&')) == text) {
      return a;
    }
  }
  return nullptr;
}

void Click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace

Tour::Tour(TourFolders folders, PictureSink sink) : folders_(std::move(folders)), sink_(std::move(sink)) {}

Tour::~Tour() = default;

bool Tour::run() {
  const bool played = start() && openFromMenu() && selectAllAndZoom() && pickBone() && turnBone() &&
                      selectAndWeight() && recordKeyframes() && playAndMirror() && saveAndExport() &&
                      ownCharacter() && weightView();
  if (!played) {
    return false;
  }
  if (!dialogs_.messages().empty()) {
    return fail("the editor showed a message: " + dialogs_.messages().front());
  }
  return true;
}

bool Tour::start() {
  window_ = std::make_unique<MainWindow>(app_, &dialogs_);
  dialogs_.setOwner(window_.get());
  // Playback steps one frame per drawn frame, so the playback picture shows
  // the same frame on every machine.
  window_->viewport().setFixedPlaybackSteps(true);
  window_->start();
  if (!QTest::qWaitForWindowExposed(window_.get())) {
    return fail("the main window does not show");
  }
  window_->activateWindow();
  if (!window_->viewport().deviceError().isEmpty()) {
    return fail("no OpenGL device: " + window_->viewport().deviceError().toStdString());
  }
  // Let the docks settle into their places.
  QTest::qWait(200);
  picture("01-start");
  return true;
}

bool Tour::openFromMenu() {
  // File > Open Data > Mesh, with the mouse.
  QMenuBar* bar = window_->menuBar();
  QAction* file = FindAction(bar->actions(), "File");
  if (file == nullptr) return fail("no File menu");
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
  QMenu* fileMenu = file->menu();
  if (!QTest::qWaitFor([&] { return fileMenu->isVisible(); })) return fail("the File menu does not open");
  QAction* openData = FindAction(fileMenu->actions(), "Open Data");
  if (openData == nullptr) return fail("no File > Open Data");
  QTest::mouseMove(fileMenu, fileMenu->actionGeometry(openData).center());
  QMenu* openMenu = openData->menu();
  if (!QTest::qWaitFor([&] { return openMenu->isVisible(); })) return fail("File > Open Data does not open");
  QAction* mesh = FindAction(openMenu->actions(), "Mesh");
  if (mesh == nullptr) return fail("no File > Open Data > Mesh");
  QTest::mouseMove(openMenu, openMenu->actionGeometry(mesh).center());
  if (!QTest::qWaitFor([&] { return openMenu->activeAction() == mesh; }))
    return fail("Mesh is not highlighted");
  picture("02-open-menu");

  // The two dialogs: the mesh, then its bone data.
  dialogs_.pick(samplePath("character.x"));
  dialogs_.pick(samplePath("character.dat"));
  QTest::mouseClick(openMenu, Qt::LeftButton, {}, openMenu->actionGeometry(mesh).center());
  if (!app_.canDraw()) return fail("File > Open Data > Mesh did not load the sample character");

  // The blending parameters pair the left and right bones for the mirror.
  dialogs_.pick(samplePath("character.prm"));
  trigger(CommandId::OpenBlendingParameters);
  if (app_.model.skeleton.bones[kLeftUpperArm].symmetricId != kLeftUpperArm + 2) {
    return fail("File > Open Data > Blending Parameters did not pair the arms");
  }
  if (dialogs_.unansweredFileDialogs() != 0)
    return fail("a command asked for more files than the tour gives");
  if (!waitForFrames(2)) return false;
  picture("03-open");
  return true;
}

bool Tour::selectAllAndZoom() {
  // Point mode, and a rubber band around the whole character.
  trigger(CommandId::Point);
  if (!app_.vertexMode) return fail("View > Rendering > Point does not show the vertices");
  // The character stands in its rest pose: its vertices are where the
  // camera puts their stored positions.
  QRect body;
  for (const SkinVertex& v : app_.model.skinnedMesh.vertices) {
    body |= QRect(toViewport(v.position), QSize(1, 1));
  }
  body.adjust(-kBodyBandMargin, -kBodyBandMargin, kBodyBandMargin, kBodyBandMargin);
  if (!dragInViewport(body.topLeft(), body.bottomRight(), "04-rubber-band")) return false;
  if (app_.model.selection.selectedCount() != app_.model.vertexCount()) {
    return fail("the rubber band around the character did not select every vertex");
  }

  // F4 centres the view on the selected vertices; dragging up with both
  // buttons held zooms in.
  QTest::keyClick(window_.get(), Qt::Key_F4);
  if (app_.camera.target.y <= 0.0f) return fail("F4 did not centre the view on the character");
  QWidget* viewport = &window_->viewport();
  const QPoint p(400, 400);
  const float before = app_.camera.distance;
  SendMouse(viewport, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseButtonPress, p, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
  SendMouse(viewport, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
  SendMouse(viewport, QEvent::MouseMove, p - QPoint(0, kZoomPixels), Qt::NoButton,
            Qt::LeftButton | Qt::RightButton);
  SendMouse(viewport, QEvent::MouseButtonRelease, p, Qt::RightButton, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
  SendMouse(viewport, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
  if (std::abs(app_.camera.distance - (before - 0.05f * kZoomPixels)) > 1e-4f) {
    return fail("dragging with both buttons did not zoom");
  }
  if (!waitForFrames(2)) return false;
  picture("05-zoom");
  // Leaving Point mode clears the selection.
  trigger(CommandId::Point);
  return true;
}

bool Tour::pickBone() {
  auto* tree = panelChild<QTreeWidget>(PanelId::Bone, "boneTree");
  if (tree == nullptr) return false;
  // Click Root and press * to open every branch.
  QTreeWidgetItem* root = tree->topLevelItem(0);
  if (root == nullptr) return fail("the bone tree is empty");
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(root).center());
  QTest::keyClick(tree, Qt::Key_Asterisk);
  if (!clickBone("LeftUpperArm", kLeftUpperArm)) return false;
  if (!waitForFrames(2)) return false;
  if (app_.selectedBoneItem != app_.boneItems[kLeftUpperArm]) {
    return fail("the viewport does not follow the bone tree's selection");
  }
  picture("06-pick-bone");
  return true;
}

bool Tour::turnBone() {
  trigger(CommandId::Rotate);
  QWidget* boneControl = window_->panels().window(PanelId::BoneControl);
  if (!boneControl->isVisible()) return fail("Edit > Rotate does not show Bone Control");
  QApplication::processEvents();
  if (window_->dock(PanelId::BoneControl)->geometry().intersects(window_->viewport().geometry())) {
    return fail("Bone Control covers the viewport");
  }
  auto* x = panelChild<QSlider>(PanelId::BoneControl, "sliderX");
  if (x == nullptr) return false;
  x->setValue(kArmLowered);
  if (app_.sliderAngles[0] != kArmLowered - 180) return fail("the X slider does not turn the bone");
  if (!waitForFrames(2)) return false;
  picture("07-bone-control");
  return true;
}

bool Tour::selectAndWeight() {
  trigger(CommandId::Point);
  // The elbow is the forearm's posed joint.
  const QPoint elbow = toViewport(app_.model.skeleton.jointPositions[kLeftForearm]);
  const QPoint half(kElbowBandHalf, kElbowBandHalf);
  if (!dragInViewport(elbow - half, elbow + half, "")) return false;
  const std::size_t selected = app_.model.selection.selectedCount();
  if (selected == 0) return fail("the rubber band selected no vertex");

  // Half upper arm, half forearm for every selected vertex.
  const int bones[4] = {kLeftUpperArm, kLeftForearm, 0, 0};
  const int positions[4] = {10, 10, 0, 0};
  for (int k = 0; k < 4; ++k) {
    auto* box = panelChild<QComboBox>(PanelId::WeightControl, ("boneIndexBox" + std::to_string(k)).c_str());
    auto* slider = panelChild<QSlider>(PanelId::WeightControl, ("weightSlider" + std::to_string(k)).c_str());
    if (box == nullptr || slider == nullptr) return false;
    box->setCurrentIndex(bones[k]);
    slider->setValue(positions[k]);
  }
  auto* apply = panelChild<QPushButton>(PanelId::WeightControl, "applyButton");
  if (apply == nullptr) return false;
  Click(apply);
  for (std::size_t i = 0; i < app_.model.vertexCount(); ++i) {
    if (app_.model.selection.selected[i] == 0) continue;
    const SkinVertex& v = app_.model.skinnedMesh.vertices[i];
    if (v.boneIndex(0) != kLeftUpperArm || v.boneIndex(1) != kLeftForearm || v.blendWeights[0] != 0.5f) {
      return fail("Apply did not set the selected vertices' weights");
    }
  }
  std::printf("tour: the rubber band around the elbow selected %zu vertices\n", selected);
  if (!waitForFrames(2)) return false;
  picture("08-weights");
  trigger(CommandId::Point);  // back to the plain mesh
  return true;
}

bool Tour::recordKeyframes() {
  trigger(CommandId::AnimationAdd);
  QWidget* keyframe = window_->panels().window(PanelId::Keyframe);
  if (keyframe->windowTitle() != "Keyframe : Unnamed(1)") {
    return fail("Edit > Animation > Add made \"" + keyframe->windowTitle().toStdString() + "\"");
  }
  auto* time = panelChild<QSlider>(PanelId::Keyframe, "timeSlider");
  auto* add = panelChild<QPushButton>(PanelId::Keyframe, "addButton");
  auto* prev = panelChild<QPushButton>(PanelId::Keyframe, "prevButton");
  auto* x = panelChild<QSlider>(PanelId::BoneControl, "sliderX");
  if (time == nullptr || add == nullptr || prev == nullptr || x == nullptr) return false;

  // The arm lowered at 0 (as Bone Control left it) and 60, raised at 30.
  time->setValue(0);
  Click(add);
  time->setValue(30);
  x->setValue(kArmRaised);
  Click(add);
  time->setValue(60);
  x->setValue(kArmLowered);
  Click(add);
  // Prev steps back to the keyframe at 30 and restores its pose.
  Click(prev);
  const Animation* animation = app_.animation.animations.current();
  if (animation == nullptr || animation->keys().size() != 3)
    return fail("Add did not record three keyframes");
  if (time->value() != 30) return fail("Prev did not step back to the keyframe at 30");
  if (!waitForFrames(2)) return false;
  picture("09-keyframes");
  return true;
}

bool Tour::playAndMirror() {
  auto* play = panelChild<QPushButton>(PanelId::Keyframe, "playButton");
  auto* inverse = panelChild<QPushButton>(PanelId::Keyframe, "inverseButton");
  auto* time = panelChild<QLineEdit>(PanelId::Keyframe, "timeEdit");
  if (play == nullptr || inverse == nullptr || time == nullptr) return false;

  // Playback runs one frame per drawn frame here (fixed steps). For a picture
  // that is the same every run, playback is held right after the frame that
  // shows time 20.
  bool held = false;
  const QString holdAt = QString::number(kPlaybackPictureTime);
  const QMetaObject::Connection hold = QObject::connect(&window_->viewport(), &Viewport::frameDrawn, [&] {
    if (app_.animation.playing && time->text() == holdAt) {
      app_.animation.playing = false;
      held = true;
    }
  });
  Click(play);
  const bool reached = QTest::qWaitFor([&] { return held; }, 10000);
  QObject::disconnect(hold);
  if (!reached) return fail("playback did not reach time " + holdAt.toStdString());
  picture("10-play");

  const D3DXQUATERNION left = app_.model.skeleton.bones[kLeftUpperArm].orientation;
  Click(inverse);
  const D3DXQUATERNION right = app_.model.skeleton.bones[kLeftUpperArm + 2].orientation;
  const D3DXQUATERNION mirrored(left.x, -left.y, -left.z, left.w);
  if (std::abs(right.x - mirrored.x) > 1e-6f || std::abs(right.y - mirrored.y) > 1e-6f ||
      std::abs(right.z - mirrored.z) > 1e-6f || std::abs(right.w - mirrored.w) > 1e-6f) {
    return fail("Inverse did not give the right arm the left arm's mirrored pose");
  }
  if (!waitForFrames(2)) return false;
  picture("11-inverse");
  return true;
}

bool Tour::saveAndExport() {
  const std::string skm = workPath("character.skm");
  const std::string prm = workPath("character.prm");
  const std::string anm = workPath("arm.anm");
  const std::string bnf = workPath("character.bnf");
  const std::string x = workPath("character_export.x");
  for (const std::string& path : {skm, prm, anm, bnf, x}) {
    std::filesystem::remove(path);
  }
  dialogs_.pick(skm, 1);
  trigger(CommandId::SaveSkinnedMesh);
  dialogs_.pick(prm);
  trigger(CommandId::SaveBlendingParameters);
  dialogs_.pick(anm);
  trigger(CommandId::SaveAnimation);
  dialogs_.pick(bnf);
  trigger(CommandId::SaveBoneData);

  // The .x export asks for its options in the Option dialog: take its
  // picture, then press OK. OK is pressed again while the dialog stays up: on
  // a busy machine the first press can come while the dialog is still being
  // shown, before it waits for an answer, and is then lost.
  bool answered = false;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* options = qobject_cast<OptionDialog*>(QApplication::activeModalWidget());
    if (options == nullptr || !options->isVisible()) return;
    if (!answered) picture("12-export-options");
    answered = true;
    options->okButton()->click();
  });
  poll.start();
  dialogs_.pick(x, 2);
  trigger(CommandId::SaveSkinnedMesh);
  poll.stop();
  if (!answered) return fail("the .x export showed no Option dialog");

  for (const std::string& path : {skm, prm, anm, bnf, x}) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes || bytes->empty()) return fail("nothing written to " + path);
    std::printf("tour: wrote %s (%zu bytes)\n", path.c_str(), bytes->size());
  }
  if (ReadFileBytes(x)->rfind("xof 0303txt", 0) != 0) return fail("the export is not a text .x file");
  return true;
}

bool Tour::ownCharacter() {
  // File > Open Data > Rigged Model: the mesh, its bones and weights at once.
  dialogs_.pick(folders_.riggedModel);
  trigger(CommandId::OpenRiggedModel);
  if (!app_.canDraw() || app_.model.skeleton.boneCount() != kHandBones) {
    return fail("File > Open Data > Rigged Model did not open " + folders_.riggedModel);
  }
  // Its bones pose like any other: bend the index finger with Bone Control.
  auto* y = panelChild<QSlider>(PanelId::BoneControl, "sliderY");
  if (y == nullptr || !clickBone("Index1", kIndexFinger)) return false;
  y->setValue(kFingerBent);
  if (app_.sliderAngles[1] != kFingerBent - 180) return fail("the Y slider does not turn the finger");
  QTest::keyClick(window_.get(), Qt::Key_F3);
  if (!waitForFrames(2)) return false;
  picture("13-own-character");

  // Save Data > Bone Data, type BoneData(*.dat): the generated anchors for reuse.
  const std::string dat = workPath("hand.dat");
  std::filesystem::remove(dat);
  dialogs_.pick(dat, 2);
  trigger(CommandId::SaveBoneData);
  const auto bytes = ReadFileBytes(dat);
  if (!bytes || bytes->rfind("numBones: 17", 0) != 0)
    return fail("Save Data > Bone Data wrote no bone data file");
  std::printf("tour: wrote %s (%zu bytes)\n", dat.c_str(), bytes->size());
  return true;
}

bool Tour::weightView() {
  // Back to the hand as it was opened, so nothing unsaved is dropped, then
  // the sample character again.
  while (app_.history.canUndo()) {
    trigger(CommandId::Undo);
  }
  dialogs_.pick(samplePath("character.x"));
  dialogs_.pick(samplePath("character.dat"));
  trigger(CommandId::OpenMesh);
  if (!app_.canDraw() || app_.model.skeleton.boneCount() == kHandBones) {
    return fail("File > Open Data > Mesh did not open the sample character again");
  }
  // View > Rendering > Weights by its key, then the left upper arm picked.
  window_->activateWindow();
  if (!QTest::qWaitForWindowActive(window_.get())) return fail("the main window does not take the keys");
  QTest::keySequence(window_.get(), window_->action(CommandId::WeightView)->shortcut());
  if (!app_.weightView) return fail("the weight view's key does not turn it on");
  if (!clickBone("LeftUpperArm", kLeftUpperArm)) return false;
  QTest::keyClick(window_.get(), Qt::Key_F3);
  if (!waitForFrames(2)) return false;
  if (app_.selectedBoneItem != app_.boneItems[kLeftUpperArm]) {
    return fail("the weight view does not follow the bone tree's selection");
  }
  picture("14-weight-view");
  return true;
}

bool Tour::clickBone(const std::string& name, int index) {
  auto* tree = panelChild<QTreeWidget>(PanelId::Bone, "boneTree");
  if (tree == nullptr || tree->topLevelItem(0) == nullptr) return fail("the bone tree is empty");
  const QString label = QString::fromStdString(BoneTreeLabel(name, index));
  const QList<QTreeWidgetItem*> found = tree->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
  if (found.size() != 1) return fail("no \"" + label.toStdString() + "\" in the bone tree");
  tree->scrollToItem(found.front());
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(found.front()).center());
  if (tree->currentItem() != found.front()) return fail("clicking the bone did not select it");
  return true;
}

void Tour::picture(const std::string& name) {
  // The panels are docked in the main window; menus and dialogs open over it.
  sink_(name, PictureOfWindows(VisibleWindows({window_.get()})));
}

bool Tour::dragInViewport(QPoint from, QPoint to, const std::string& pictureName) {
  // Press, a first move that anchors the band, a move to its far corner;
  // after the release the next move asks for the selection, which the next
  // frame carries out.
  QWidget* viewport = &window_->viewport();
  SendMouse(viewport, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseMove, from, Qt::NoButton, Qt::LeftButton);
  SendMouse(viewport, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  if (!pictureName.empty()) {
    if (!waitForFrames(2)) return false;
    picture(pictureName);
  }
  SendMouse(viewport, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  SendMouse(viewport, QEvent::MouseMove, to + QPoint(1, 1), Qt::NoButton, Qt::NoButton);
  return waitForFrames(2);
}

void Tour::trigger(CommandId id) {
  window_->action(id)->trigger();
}

QPoint Tour::toViewport(const D3DXVECTOR3& p) const {
  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &app_.camera.view, &app_.camera.projection);
  D3DXVECTOR4 clip;
  D3DXVec3Transform(&clip, &p, &viewProjection);
  const QWidget& viewport = window_->viewport();
  const ScreenPosition s = ClipToScreen(clip, viewport.width(), viewport.height());
  return QPoint(static_cast<int>(std::lround(s.x)), static_cast<int>(std::lround(s.y)));
}

bool Tour::waitForFrames(int count) {
  // The viewport draws when something changed; ask for each frame.
  for (int i = 0; i < count; ++i) {
    const int drawn = window_->viewport().framesDrawn();
    window_->viewport().requestFrame();
    if (!QTest::qWaitFor([&] { return window_->viewport().framesDrawn() > drawn; }, 5000)) {
      return fail("the viewport stopped drawing");
    }
  }
  return true;
}

bool Tour::fail(const std::string& why) {
  std::fprintf(stderr, "tour: %s\n", why.c_str());
  for (const std::string& m : dialogs_.messages()) {
    std::fprintf(stderr, "tour: message shown: %s\n", m.c_str());
  }
  return false;
}

template <typename T>
T* Tour::panelChild(PanelId panel, const char* name) {
  T* child = window_->panels().window(panel)->findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) {
    fail(std::string("no control ") + name + " in a panel");
  }
  return child;
}

std::string Tour::workPath(const std::string& name) const {
  return (std::filesystem::path(folders_.work) / name).string();
}

std::string Tour::samplePath(const std::string& name) const {
  return (std::filesystem::path(folders_.samples) / name).string();
}
}  // namespace posewright
