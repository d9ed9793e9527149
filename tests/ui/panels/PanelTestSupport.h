// A small bound figure for the panel tests, and a helper that answers the
// modal message boxes a panel opens.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <string>
#include <vector>

#include "model/SkinnedModel.h"
#include "support/ModelFixtures.h"

namespace posewright {

namespace guitest {

/// Eight bones: Root, Hips (under Root), Spine (Hips), Head (Spine),
/// LeftArm / RightArm (Spine, partners of each other), LeftLeg / RightLeg
/// (Hips, partners), all pointing along +Z in their rest frames, with a quad
/// of four vertices bound to each bone 1..7. Mesh and bones loaded; no tree
/// entries yet.
inline SkinnedModel FigureModel() {
  struct BoneRow {
    const char* name;
    int parent;
    int partner;
    D3DXVECTOR3 begin;
    D3DXVECTOR3 end;
  };
  const BoneRow boneRows[] = {
      {"Root", 0, 0, {0, 0, 0}, {0, 0, 1}},          {"Hips", 0, 1, {0, 0, 1}, {0, 0, 2}},
      {"Spine", 1, 2, {0, 0, 2}, {0, 0, 4}},         {"Head", 2, 3, {0, 0, 4}, {0, 0, 5}},
      {"LeftArm", 2, 5, {1, 0, 4}, {1, 0, 5}},       {"RightArm", 2, 4, {-1, 0, 4}, {-1, 0, 5}},
      {"LeftLeg", 1, 7, {0.5f, 0, 0}, {0.5f, 0, 1}}, {"RightLeg", 1, 6, {-0.5f, 0, 0}, {-0.5f, 0, 1}},
  };
  Skeleton skeleton;
  for (const BoneRow& s : boneRows) {
    Bone b;
    b.name = s.name;
    b.parentId = s.parent;
    b.symmetricId = s.partner;
    b.begin = s.begin;
    b.end = s.end;
    ResetBonePose(b);
    skeleton.bones.push_back(b);
  }
  skeleton.resizePerBoneArrays();
  skeleton.bonesLoaded = true;

  SkinnedModel model;
  for (uint8_t i = 1; i < 8; ++i) {
    const D3DXVECTOR3 b = boneRows[i].begin;
    fixtures::AddQuad(model, b + D3DXVECTOR3(-0.2f, 0, 0.2f), b + D3DXVECTOR3(0.2f, 0, 0.2f),
                      b + D3DXVECTOR3(0.2f, 0, 0.8f), b + D3DXVECTOR3(-0.2f, 0, 0.8f), i, 0);
  }
  fixtures::Finish(model, {fixtures::Material(0.8f, 0.7f, 0.6f)}, skeleton);
  return model;
}

/// Answers every modal message box that opens while it lives: records its
/// caption and text and presses `answer`.
class MessageBoxAnswerer {
 public:
  struct Seen {
    std::string caption;
    std::string text;
    bool hasCancel = false;
  };

  explicit MessageBoxAnswerer(QMessageBox::StandardButton answer) : answer_(answer) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }

  const std::vector<Seen>& seen() const { return seen_; }

 private:
  void poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
      return;
    }
    seen_.push_back({box->windowTitle().toStdString(), box->text().toStdString(),
                     box->button(QMessageBox::Cancel) != nullptr});
    QAbstractButton* button = box->button(answer_);
    (button != nullptr ? button : box->button(QMessageBox::Ok))->click();
  }

  QMessageBox::StandardButton answer_;
  QTimer timer_;
  std::vector<Seen> seen_;
};

}  // namespace guitest
}  // namespace posewright
