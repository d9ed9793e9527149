// Every file reader takes only regular files, up to the size its format can
// need: a FIFO never blocks it and a huge file is refused before it is read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "image/TextureLoader.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"
#include "skeleton/BlendingParametersFile.h"
#include "skeleton/BoneDataReader.h"
#include "support/TempDir.h"
#include "xfile/XFileParser.h"

namespace posewright {

namespace {
struct Reader {
  const char* name;
  std::size_t bound;
  /// Reads the file at path and returns the reason it gave for refusing it
  /// ("" when it did not refuse).
  std::function<std::string(const std::string& path)> refusal;
};

std::string Detail(const Status& s) {
  return s ? "" : s.describe();
}

TEST(ReaderLimits, EachReaderRefusesFifosAndFilesBeyondItsBound) {
  const std::vector<Reader> readers = {
      {".x", 256u << 20,
       [](const std::string& p) {
         XFileDocument doc;
         return Detail(ReadXFile(p, doc));
       }},
      {".skm", 64u << 20,
       [](const std::string& p) {
         SkinnedModel m;
         return Detail(ReadSkinnedMesh(m, p));
       }},
      {".dat", 64u << 20, [](const std::string& p) { return Detail(ReadBoneData(p).status); }},
      {".prm", 1u << 20,
       [](const std::string& p) {
         Skeleton s;
         s.bonesLoaded = true;
         return Detail(ReadBlendingParameters(s, p));
       }},
      {".anm", 64u << 20,
       [](const std::string& p) {
         Animation a;
         return Detail(ReadAnimationFile(a, p));
       }},
      {"texture", std::size_t{8192} * 8192 * 4 + (1u << 20),
       [](const std::string& p) {
         std::string why;
         return LoadTextureImage(p, &why) ? std::string() : why;
       }},
  };
  TempDir folder("reader_limits");
  const std::string fifo = folder.path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const Reader& reader : readers) {
    SCOPED_TRACE(reader.name);
    EXPECT_NE(reader.refusal(fifo).find("not a regular file"), std::string::npos) << reader.refusal(fifo);
    // Sparse files: their size costs no disk, and a reader must not read them.
    const std::string huge = folder.path("huge");
    ASSERT_TRUE(WriteFileAtomically(huge, ""));
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(reader.bound + 1)), 0);
    EXPECT_NE(reader.refusal(huge).find("larger than " + std::to_string(reader.bound) + " bytes"),
              std::string::npos)
        << reader.refusal(huge);
  }
}
}  // namespace
}  // namespace posewright
