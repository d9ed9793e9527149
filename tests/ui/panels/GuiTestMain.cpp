// One QApplication for every widget test of the panels.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/Translations.h"

int main(int argc, char** argv) {
  using namespace posewright;
  QApplication app(argc, argv);
  InstallTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
