// Runs the built posewright-cli as a user runs it, with its output captured.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "fileio/FileBytes.h"

namespace posewright {

namespace cli {

struct CliResult {
  /// The exit status; -1 when the command was killed (or hung and timed out).
  int status = -1;
  std::string out;
  std::string err;
};

/// Runs "posewright-cli ARGS" (ARGS as a shell would split them) with its
/// standard output and error captured in files in scratchFolder. A command
/// that has not finished after 60 seconds is killed, so a hang fails a test
/// instead of stopping the run.
inline CliResult RunCli(const std::string& args, const std::string& scratchFolder) {
  const std::string out = scratchFolder + "/cli_stdout.txt";
  const std::string err = scratchFolder + "/cli_stderr.txt";
  const std::string command = "timeout -s KILL 60 " + std::string(POSEWRIGHT_CLI) + " " + args +
                              " < /dev/null > " + out + " 2> " + err;
  const int status = std::system(command.c_str());
  CliResult r;
  r.status = WIFEXITED(status) && WEXITSTATUS(status) != 137 ? WEXITSTATUS(status) : -1;
  r.out = ReadFileBytes(out).value_or("");
  r.err = ReadFileBytes(err).value_or("");
  return r;
}

}  // namespace cli
}  // namespace posewright
