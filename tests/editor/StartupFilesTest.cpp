#include <gtest/gtest.h>

#include "editor/StartupFiles.h"

namespace posewright {

namespace {
// One line per step: "command: answer(filter), ..."; refusals as "!file".
std::vector<std::string> Describe(const StartupPlan& plan) {
  std::vector<std::string> out;
  for (const StartupStep& s : plan.steps) {
    std::string line = std::to_string(static_cast<int>(s.command)) + ":";
    for (const FileChoice& c : s.answers) line += " " + c.path + "(" + std::to_string(c.filter) + ")";
    out.push_back(line);
  }
  for (const std::string& r : plan.refused) out.push_back("!" + r.substr(0, r.find(':')));
  return out;
}

TEST(StartupFiles, EachFormOpensWithItsCommands) {
  const std::string skm = std::to_string(static_cast<int>(CommandId::OpenSkinnedMesh));
  const std::string mesh = std::to_string(static_cast<int>(CommandId::OpenMesh));
  const std::string prm = std::to_string(static_cast<int>(CommandId::OpenBlendingParameters));
  const std::string anm = std::to_string(static_cast<int>(CommandId::OpenAnimation));
  const std::string rig = std::to_string(static_cast<int>(CommandId::OpenRiggedModel));
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {{"a/character.skm"}, {skm + ": a/character.skm(1)"}},
      {{"m.x", "b.dat"}, {mesh + ": m.x(1) b.dat(1)"}},
      {{"w.anm", "b.DAT", "p.prm", "M.X", "v.anm"},
       {mesh + ": M.X(1) b.DAT(1)", prm + ": p.prm(1)", anm + ": w.anm(1)", anm + ": v.anm(1)"}},
      {{"m.x"}, {mesh + ": m.x(1)"}},  // the bone data dialog asks
      {{"c.skm", "walk.anm"}, {skm + ": c.skm(1)", anm + ": walk.anm(1)"}},
      {{"c.skm", "d.skm", "b.dat", "notes.txt"}, {skm + ": c.skm(1)", "!d.skm", "!notes.txt", "!b.dat"}},
      {{"b.dat", "p.prm", "walk.anm"}, {anm + ": walk.anm(1)", "!b.dat", "!p.prm"}},
      {{"hand.GLB", "walk.anm"}, {rig + ": hand.GLB(1)", anm + ": walk.anm(1)"}},
      {{"hand.fbx", "b.dat"}, {mesh + ": hand.fbx(1) b.dat(1)"}},
      {{"statue.obj"}, {mesh + ": statue.obj(1)"}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Describe(PlanStartupFiles(c.args)), c.expected) << c.args.size() << " files";
  }
}
}  // namespace
}  // namespace posewright
