// Subcommands of posewright-cli. Each command lives in its own file and
// registers itself with a static CommandRegistration object.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct CliCommand {
  /// The word typed after posewright-cli, e.g. "info".
  std::string name;
  /// One line for the command list: "info FILE [--json]   summary of a file".
  std::string usage;
  /// Runs the command with the arguments after its name; returns the exit status.
  /// Errors go to stderr with a non-zero status.
  std::function<int(const std::vector<std::string>& args)> run;
};

/// All registered commands, in registration order.
std::vector<CliCommand>& CliCommands();

struct CommandRegistration {
  explicit CommandRegistration(CliCommand command) { CliCommands().push_back(std::move(command)); }
};
