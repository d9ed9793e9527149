// Subcommands of posewright-cli. Each command lives in its own file and
// registers itself with a static CommandRegistration object.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/Arguments.h"

namespace posewright {

struct CliCommand {
  /// The word typed after posewright-cli, e.g. "info".
  std::string name;
  /// The command's forms, each a line of the command list and of its --help.
  std::vector<cli::Syntax> forms;
  /// Runs the command with the arguments after its name; returns the exit status
  /// (cli::kExitOk, kExitFailed or kExitUsage). Errors go to stderr.
  std::function<int(const std::vector<std::string>& args)> run;
};

/// All registered commands, in registration order.
std::vector<CliCommand>& CliCommands();

struct CommandRegistration {
  explicit CommandRegistration(CliCommand command) { CliCommands().push_back(std::move(command)); }
};
}  // namespace posewright
