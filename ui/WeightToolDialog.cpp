#include "ui/WeightToolDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace posewright {

WeightToolDialog::WeightToolDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  form_ = new QFormLayout();
  layout->addLayout(form_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  cancel_ = buttons->button(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

bool WeightToolDialog::ask(const std::string& title, std::vector<WeightToolField>& fields) {
  setWindowTitle(QString::fromStdString(title));
  while (form_->rowCount() > 0) {
    form_->removeRow(0);
  }
  boxes_.clear();
  for (const WeightToolField& f : fields) {
    QAbstractSpinBox* box = nullptr;
    if (f.decimals == 0) {
      auto* whole = new QSpinBox(this);
      whole->setRange(static_cast<int>(f.minimum), static_cast<int>(f.maximum));
      whole->setValue(static_cast<int>(f.value));
      box = whole;
    } else {
      auto* real = new QDoubleSpinBox(this);
      real->setDecimals(f.decimals);
      real->setRange(f.minimum, f.maximum);
      real->setSingleStep(f.maximum <= 1.0 ? 0.01 : 1.0);
      real->setValue(f.value);
      box = real;
    }
    // Numbers read and show in the "C" form, as in the panels' fields.
    box->setLocale(QLocale::c());
    box->setObjectName(QString::fromStdString(f.label));
    form_->addRow(QString::fromStdString(f.label), box);
    boxes_.push_back(box);
  }
  if (!boxes_.empty()) {
    boxes_.front()->setFocus();
    boxes_.front()->selectAll();
  }
  adjustSize();
  // Wide enough for the title bar to show the whole title.
  resize(std::max(width(), fontMetrics().horizontalAdvance(windowTitle()) + 160), height());
  if (exec() != QDialog::Accepted) {
    return false;
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (auto* whole = qobject_cast<QSpinBox*>(boxes_[i])) {
      fields[i].value = whole->value();
    } else if (auto* real = qobject_cast<QDoubleSpinBox*>(boxes_[i])) {
      fields[i].value = real->value();
    }
  }
  return true;
}
}  // namespace posewright
