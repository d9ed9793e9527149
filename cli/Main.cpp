// posewright-cli: the headless front end for pipelines.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/Command.h"
#include "fileio/TemporaryFile.h"

namespace posewright {

std::vector<CliCommand>& CliCommands() {
  static std::vector<CliCommand> commands;
  return commands;
}

static void PrintUsage(std::FILE* out) {
  std::fprintf(out, "usage: posewright-cli COMMAND [ARGS...]\n\ncommands:\n");
  std::vector<CliCommand> sorted = CliCommands();
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  for (const CliCommand& c : sorted) {
    for (const cli::Syntax& form : c.forms) {
      std::fprintf(out, "  %s   %s\n", cli::UsageLine(form).c_str(), form.summary.c_str());
    }
  }
  std::fprintf(out, "\nposewright-cli COMMAND --help shows a command's usage.\n");
}

}  // namespace posewright

int main(int argc, char** argv) {
  using namespace posewright;
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? cli::kExitUsage : cli::kExitOk;
  }
  // An interrupted save leaves no temporary file behind.
  InstallTemporaryFileCleanup();
  const std::string name = argv[1];
  for (const CliCommand& c : CliCommands()) {
    if (c.name != name) {
      continue;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
      std::fputs(cli::HelpText(c.forms).c_str(), stdout);
      return cli::kExitOk;
    }
    return c.run(args);
  }
  std::fprintf(stderr, "posewright-cli: unknown command '%s'\n\n", name.c_str());
  PrintUsage(stderr);
  return cli::kExitUsage;
}
