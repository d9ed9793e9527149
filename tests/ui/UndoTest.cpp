#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <cstring>

#include "EditorFixture.h"
#include "ui/PanelSet.h"
#include "ui/panels/KeyframeTimeSlider.h"

namespace posewright {

namespace {
using UndoTest = EditorFixture;

// Weights as stored, for exact comparisons.
std::vector<std::array<uint32_t, 4>> StoredWeights(const SkinnedModel& model) {
  std::vector<std::array<uint32_t, 4>> out;
  for (const SkinVertex& v : model.skinnedMesh.vertices) {
    std::array<uint32_t, 4> w{v.boneIndices};
    std::memcpy(&w[1], v.blendWeights, sizeof v.blendWeights);
    out.push_back(w);
  }
  return out;
}

template <typename T>
T* PanelChild(MainWindow& window, PanelId panel, const QString& name) {
  T* child = window.panels().window(panel)->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name.toStdString();
  return child;
}

TEST_F(UndoTest, WeightApplyUndoesAndRedoesFromTheKeyboard) {
  Start();
  OpenCube();
  QAction* undo = window->action(CommandId::Undo);
  QAction* redo = window->action(CommandId::Redo);
  EXPECT_FALSE(undo->isEnabled()) << "opening a model starts a new history";
  EXPECT_EQ(undo->text(), "Undo");

  const auto before = StoredWeights(app.model);
  for (std::size_t v = 0; v < app.model.vertexCount(); v += 2) app.model.selection.selected[v] = 1;
  PanelChild<QComboBox>(*window, PanelId::WeightControl, "boneIndexBox0")->setCurrentIndex(2);
  PanelChild<QSlider>(*window, PanelId::WeightControl, "weightSlider0")->setValue(20);
  PanelChild<QPushButton>(*window, PanelId::WeightControl, "applyButton")->click();
  const auto applied = StoredWeights(app.model);
  ASSERT_NE(applied, before);
  EXPECT_EQ(undo->text(), "Undo Apply Weights");

  ASSERT_TRUE(Activate());
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(StoredWeights(app.model), before);
  EXPECT_EQ(redo->text(), "Redo Apply Weights");
  EXPECT_FALSE(undo->isEnabled());
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(StoredWeights(app.model), applied);
  Trigger(CommandId::Undo);
  QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(StoredWeights(app.model), applied);
  EXPECT_FALSE(redo->isEnabled());
}

TEST_F(UndoTest, KeyframeAddUndoesAndRedoes) {
  Start();
  OpenCube();
  Trigger(CommandId::AnimationAdd);
  EXPECT_EQ(window->action(CommandId::Undo)->text(), "Undo Add Animation");
  SetBonePose(app.model.skeleton.bones[1], D3DXQUATERNION(0.6f, 0, 0, 0.8f));
  PanelChild<QSlider>(*window, PanelId::Keyframe, "timeSlider")->setValue(10);
  PanelChild<QPushButton>(*window, PanelId::Keyframe, "addButton")->click();
  const Animation* animation = app.animation.animations.current();
  ASSERT_EQ(animation->keys().size(), 1u);
  const Keyframe recorded = animation->keys()[0];
  auto* slider = PanelChild<KeyframeTimeSlider>(*window, PanelId::Keyframe, "timeSlider");
  EXPECT_EQ(slider->markers().size(), 2u);

  ASSERT_TRUE(Activate());
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(animation->keys().empty());
  EXPECT_TRUE(slider->markers().empty()) << "the markers follow the undo";
  EXPECT_EQ(window->action(CommandId::Redo)->text(), "Redo Add Keyframe");
  EXPECT_EQ(window->action(CommandId::Undo)->text(), "Undo Add Animation");
  QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
  ASSERT_EQ(animation->keys().size(), 1u);
  EXPECT_EQ(animation->keys()[0].time, 10);
  EXPECT_EQ(std::memcmp(animation->keys()[0].rotations.data(), recorded.rotations.data(),
                        recorded.rotations.size() * sizeof(D3DXQUATERNION)),
            0);
  EXPECT_EQ(slider->markers().size(), 2u);

  // Undoing the animation's Add leaves no animation; Keyframe's title says so.
  Trigger(CommandId::Undo);
  Trigger(CommandId::Undo);
  EXPECT_TRUE(app.animation.animations.empty());
  EXPECT_EQ(window->panels().window(PanelId::Keyframe)->windowTitle(), "Keyframe : ");
}
}  // namespace
}  // namespace posewright
