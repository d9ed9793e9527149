// Run as "test_translations japanese|english" under the locale whose texts
// are expected: a message of the weight checks and the Option dialog's
// Cancel, as the user's language shows them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstring>

#include "editor/SkinnedMeshXExport.h"
#include "editor/panels/WeightControlRules.h"
#include "ui/Translations.h"

namespace posewright {

namespace {
bool g_english = false;

TEST(Translations, TheLocaleChoosesJapaneseOrEnglish) {
  const struct {
    std::string_view source;
    const char* english;
  } texts[] = {{kInvalidWeightMessage, "Invalid weight value."},
               {kExportCancelledMessage, "Saving the file was cancelled."},
               {"ｷｬﾝｾﾙ", "Cancel"}};
  for (const auto& t : texts) {
    const QString source = QString::fromUtf8(t.source.data(), static_cast<qsizetype>(t.source.size()));
    EXPECT_EQ(ShownText(t.source), g_english ? QString::fromUtf8(t.english) : source);
  }
  // A text without a translation shows as written everywhere.
  EXPECT_EQ(ShownText("Error"), "Error");
}
}  // namespace

}  // namespace posewright

int main(int argc, char** argv) {
  using namespace posewright;
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2 || (std::strcmp(argv[1], "japanese") != 0 && std::strcmp(argv[1], "english") != 0)) {
    std::fprintf(stderr, "usage: test_translations japanese|english\n");
    return 2;
  }
  g_english = std::strcmp(argv[1], "english") == 0;
  QCoreApplication app(argc, argv);
  InstallTranslations(app);
  return RUN_ALL_TESTS();
}
