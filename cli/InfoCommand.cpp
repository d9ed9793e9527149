// posewright-cli info FILE [--json]: a summary of a file, by its extension.
#include <cstdio>

#include "cli/Command.h"
#include "cli/InfoFormat.h"
#include "fileio/FileBytes.h"

namespace posewright {

std::vector<InfoFormat>& InfoFormats() {
  static std::vector<InfoFormat> formats;
  return formats;
}

namespace {
const cli::Syntax kSyntax{"info",
                          {"FILE"},
                          {{"--json", "", "the summary as one JSON object"}},
                          "summary of a .x, .skm, .dat, .prm or any mesh file"};

int RunInfo(const std::vector<std::string>& args) {
  const cli::ParseResult parsed = cli::Parse(kSyntax, args);
  if (!parsed.error.empty()) return cli::UsageError(kSyntax, parsed.error);
  const std::string& file = parsed.arguments.operands[0];
  const bool json = parsed.arguments.has("--json");
  const std::string ext = LowerExtension(file);
  for (const InfoFormat& format : InfoFormats()) {
    if (format.extension == ext) {
      return format.describe(file, json);
    }
  }
  std::string known;
  for (const InfoFormat& format : InfoFormats()) {
    known += (known.empty() ? "" : ", ") + format.extension;
  }
  // A file of no known type is refused like any other file that cannot be read.
  return cli::Failure("info", file + ": unsupported file type '" + ext + "' (supported: " + known + ")");
}

const CommandRegistration kInfo(CliCommand{"info", {kSyntax}, RunInfo});
}  // namespace
}  // namespace posewright
