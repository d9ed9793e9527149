// posewright-cli export into glTF: animation names, refusals and failed writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "ExportCases.h"
#include "GltfFileReader.h"
#include "fileio/FileBytes.h"

namespace posewright {

namespace {

TEST(GltfCli, AnimationsAreNamedAfterTheirFilesAndFailuresLeaveTheOldFile) {
  const gltfinterop::ExportCase& c = gltfinterop::Cases()[0];
  const gltfread::File file = gltfread::Read(c.glb);
  ASSERT_EQ(file.json["animations"].size(), 2u);
  EXPECT_EQ(file.json["animations"][0]["name"], "walk");
  EXPECT_EQ(file.json["animations"][1]["name"], "wave");

  // The .gltf's buffer cannot be replaced (a folder has its name): the
  // command says so and the previous .gltf stays as it was.
  const std::filesystem::path dir = gltfinterop::Folder().path() / "blocked";
  std::filesystem::create_directories(dir / "model.bin" / "inside");
  const std::string target = (dir / "model.gltf").string();
  ASSERT_TRUE(WriteFileAtomically(target, "previous"));
  const std::string log = (dir / "stderr.txt").string();
  const std::string command = gltfinterop::Cli() + " export " + c.skm + " -o " + target + " 2> " + log;
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadFileBytes(target).value_or(""), "previous");
  const std::string message = ReadFileBytes(log).value_or("");
  EXPECT_NE(message.find("Cannot write the file"), std::string::npos) << message;
  EXPECT_NE(message.find("model.bin"), std::string::npos) << message;

  // A model that cannot be read, and a repeated option without a value.
  EXPECT_NE(std::system(
                (gltfinterop::Cli() + " export " + c.skm + ".missing -o " + target + " 2>/dev/null").c_str()),
            0);
  EXPECT_EQ(WEXITSTATUS(std::system(
                (gltfinterop::Cli() + " export " + c.skm + " -o " + target + " --anim 2>/dev/null").c_str())),
            2);
}

}  // namespace
}  // namespace posewright
