// The arguments of a posewright-cli command: each command declares its
// syntax as a table of operands and options, from which both the parsing and
// the usage text come, and all commands share the exit codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace posewright {

namespace cli {

/// Exit codes of every command.
inline constexpr int kExitOk = 0;
/// A file that cannot be read or written, or data the command refuses.
inline constexpr int kExitFailed = 1;
/// Arguments that do not fit the command's syntax.
inline constexpr int kExitUsage = 2;

struct Option {
  /// As typed: "--anim", "-o".
  std::string name;
  /// The value's placeholder in the usage ("FILE.anm"); empty for a flag.
  std::string value;
  /// One line for the command's --help.
  std::string help;
  /// A required option is shown without brackets and its absence is a usage error.
  bool required = false;
  /// May be given more than once, each value kept ("[--anim FILE.anm]...").
  bool repeatable = false;
};

/// One form of a command: `export MODEL.skm [--anim FILE.anm] ... -o OUT.x`.
struct Syntax {
  /// The command's word: "export".
  std::string command;
  /// Placeholders of the operands, all required: {"MESH", "BONES.dat"}.
  std::vector<std::string> operands;
  std::vector<Option> options;
  /// What this form does, for the command list.
  std::string summary;
};

/// The arguments as given: operands in order and options in order, each with
/// its value (empty for a flag).
struct ParsedArguments {
  std::vector<std::string> operands;
  std::vector<std::pair<std::string, std::string>> options;

  bool has(const std::string& name) const;
  /// The value of the option's last occurrence, or nothing when it was not given.
  std::optional<std::string> value(const std::string& name) const;
  /// The values of every occurrence, in order.
  std::vector<std::string> values(const std::string& name) const;
};

/// Parses args against syntax. An option that takes a value takes the next
/// argument whatever it looks like; any other argument starting with '-' is
/// an unknown option. Returns what is wrong as the error, or the arguments.
struct ParseResult {
  ParsedArguments arguments;
  std::string error;
};
ParseResult Parse(const Syntax& syntax, const std::vector<std::string>& args);

/// "export MODEL.skm [--anim FILE.anm] -o OUT.x": the form's usage line,
/// without the program's name.
std::string UsageLine(const Syntax& syntax);

/// The --help text of a command of the given forms: every usage line, then
/// every option with its help.
std::string HelpText(const std::vector<Syntax>& forms);

/// Prints "posewright-cli COMMAND: WHY" and the form's usage to stderr;
/// returns kExitUsage.
int UsageError(const Syntax& syntax, const std::string& why);

/// Prints "posewright-cli COMMAND: MESSAGE" to stderr; returns kExitFailed.
int Failure(const std::string& command, const std::string& message);

/// A playback time in frames as the editor's time slider takes it: a whole
/// number from 0 to INT32_MAX.
std::optional<int32_t> ParseTime(const std::string& text);

}  // namespace cli
}  // namespace posewright
