#include "ui/OptionDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/Translations.h"

namespace posewright {

OptionDialog::OptionDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
  setWindowTitle("Option");
  setModal(true);

  framesPerSecond_ = new QLineEdit(this);
  framesPerSecond_->setObjectName("framesPerSecond");
  framesPerSecond_->setMaximumWidth(fontMetrics().horizontalAdvance("0000000000") + 8);
  writeAllFrames_ = new QCheckBox(ShownText("キーフレーム間の補間情報も全て出力する"), this);
  writeAllFrames_->setObjectName("writeAllFrames");
  meshInFrame_ = new QCheckBox("Mesh inside the root frame (for Assimp-based tools)", this);
  meshInFrame_->setObjectName("meshInFrame");
  ok_ = new QPushButton("OK", this);
  ok_->setDefault(true);
  ok_->setAutoDefault(true);
  cancel_ = new QPushButton(ShownText("ｷｬﾝｾﾙ"), this);
  cancel_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  auto* rate = new QHBoxLayout();
  rate->addWidget(new QLabel("Frame Per Second = ", this));
  rate->addWidget(framesPerSecond_);
  rate->addStretch(1);
  grid->addLayout(rate, 0, 0);
  grid->addWidget(ok_, 0, 1);
  grid->addWidget(new QLabel("(4800 for DirectX8SDK SkinnedMesh Sample)", this), 1, 0);
  grid->addWidget(cancel_, 1, 1);
  grid->addWidget(writeAllFrames_, 2, 0, 1, 2);
  auto* hint = new QLabel("(for DirectX8SDK SkinnedMesh Sample)", this);
  hint->setContentsMargins(fontMetrics().averageCharWidth() * 3, 0, 0, 0);
  grid->addWidget(hint, 3, 0, 1, 2);
  grid->addWidget(meshInFrame_, 4, 0, 1, 2);
  setFixedSize(sizeHint());
}

void OptionDialog::setFramesPerSecondText(const std::string& text) {
  framesPerSecond_->setText(QString::fromStdString(text));
}

void OptionDialog::setWriteAllFramesChecked(bool checked) {
  writeAllFrames_->setChecked(checked);
}

void OptionDialog::setMeshInFrameChecked(bool checked) {
  meshInFrame_->setChecked(checked);
}

bool OptionDialog::runModal() {
  return exec() == QDialog::Accepted;
}

std::string OptionDialog::framesPerSecondText() const {
  return framesPerSecond_->text().toStdString();
}

bool OptionDialog::writeAllFramesChecked() const {
  return writeAllFrames_->isChecked();
}

bool OptionDialog::meshInFrameChecked() const {
  return meshInFrame_->isChecked();
}
}  // namespace posewright
