#include "ui/panels/BonePanelWidget.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "editor/Application.h"
#include "history/ModelChange.h"
#include "ui/panels/DialogUnits.h"

namespace posewright {

namespace {
std::string TextOf(const QLineEdit* edit) {
  return edit->text().toStdString();
}
void SetText(QLineEdit* edit, const std::string& text) {
  edit->setText(QString::fromStdString(text));
}

QTreeWidget* MakeTree(QWidget* parent) {
  auto* tree = new QTreeWidget(parent);
  tree->setObjectName(QStringLiteral("boneTree"));
  tree->setColumnCount(1);
  tree->setHeaderHidden(true);
  tree->setRootIsDecorated(true);
  // Long labels of deep bones scroll sideways rather than being cut short.
  tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tree->header()->setStretchLastSection(false);
  tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  return tree;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name) {
  auto* button = new QPushButton(QStringLiteral("Apply"), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}
}  // namespace

BonePanelWidget::BonePanelWidget(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      behaviour_(*this),
      tree_(MakeTree(this)),
      boneTree_(*tree_) {
  setWindowTitle(QStringLiteral("Bone"));
  const DialogUnits units(font());
  setFixedSize(units.size(140, 246));

  PlaceInDialogUnits(tree_, units, 7, 7, 126, 160);

  hEdit_ = MakeEdit(this, "hEdit");
  PlaceInDialogUnits(hEdit_, units, 22, 173, 40, 12);
  AddDialogLabel(this, units, "H :", 7, 175, hEdit_);
  rEdit_ = MakeEdit(this, "rEdit");
  PlaceInDialogUnits(rEdit_, units, 93, 173, 40, 12);
  AddDialogLabel(this, units, "R :", 78, 175, rEdit_);
  auto* applyBlending = MakeButton(this, "applyBlendingButton");
  PlaceInDialogUnits(applyBlending, units, 83, 189, 50, 14);

  symmetricEdit_ = MakeEdit(this, "symmetricEdit");
  PlaceInDialogUnits(symmetricEdit_, units, 93, 209, 40, 12);
  AddDialogLabel(this, units, "Symmetric Bone ID :", 7, 211, symmetricEdit_);
  auto* applySymmetric = MakeButton(this, "applySymmetricButton");
  PlaceInDialogUnits(applySymmetric, units, 83, 225, 50, 14);

  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current, QTreeWidgetItem*) { currentItemChanged(current); });
  connect(applyBlending, &QPushButton::clicked, this, &BonePanelWidget::applyBlendingPressed);
  connect(applySymmetric, &QPushButton::clicked, this, &BonePanelWidget::applySymmetricPressed);
}

BonePanelWidget::~BonePanelWidget() = default;

void BonePanelWidget::attach(Application* app) {
  app_ = app;
  if (app_ != nullptr) {
    app_->selectedBoneItem = selectedItem();
  }
}

BoneTreeItem BonePanelWidget::selectedItem() const {
  return boneTree_.handleOf(tree_->currentItem());
}

void BonePanelWidget::selectItem(BoneTreeItem item) {
  tree_->setCurrentItem(boneTree_.itemOf(item));
}

void BonePanelWidget::expandItem(BoneTreeItem item) {
  if (QTreeWidgetItem* entry = boneTree_.itemOf(item)) {
    entry->setExpanded(true);
  }
}

void BonePanelWidget::refreshParameters() {
  if (app_ != nullptr && tree_->currentItem() != nullptr) {
    behaviour_.showParameters(app_->model.skeleton, app_->boneItems, selectedItem());
  }
}

void BonePanelWidget::currentItemChanged(QTreeWidgetItem* item) {
  if (app_ == nullptr) {
    return;
  }
  changedItem_ = boneTree_.handleOf(item);
  app_->selectedBoneItem = changedItem_;
  behaviour_.selectionChanged(app_->model.skeleton, app_->boneItems, changedItem_);
  emit edited();
}

void BonePanelWidget::applyBlendingPressed() {
  if (app_ != nullptr) {
    ModelEdit edit(app_->history, app_->model, "Apply H and R", kWeightsAspect | kBoneParametersAspect);
    behaviour_.applyBlendingPressed(app_->model, app_->boneItems, selectedItem());
    edit.commit();
    emit edited();
  }
}

void BonePanelWidget::applySymmetricPressed() {
  if (app_ != nullptr) {
    ModelEdit edit(app_->history, app_->model, "Apply Symmetric Bone ID", kBoneParametersAspect);
    behaviour_.applySymmetricPressed(app_->model, app_->boneItems, selectedItem());
    edit.commit();
    emit edited();
  }
}

std::string BonePanelWidget::hText() const {
  return TextOf(hEdit_);
}
std::string BonePanelWidget::rText() const {
  return TextOf(rEdit_);
}
std::string BonePanelWidget::symmetricText() const {
  return TextOf(symmetricEdit_);
}
void BonePanelWidget::setHText(const std::string& text) {
  SetText(hEdit_, text);
}
void BonePanelWidget::setRText(const std::string& text) {
  SetText(rEdit_, text);
}
void BonePanelWidget::setSymmetricText(const std::string& text) {
  SetText(symmetricEdit_, text);
}
void BonePanelWidget::recentreBoneControl() {
  emit selectionChanged(changedItem_);
}
}  // namespace posewright
