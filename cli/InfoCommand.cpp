// posewright-cli info FILE [--json]: a summary of a file, by its extension.
#include <cstdio>

#include "cli/Command.h"
#include "cli/InfoFormat.h"
#include "fileio/FileBytes.h"

std::vector<InfoFormat>& InfoFormats() {
  static std::vector<InfoFormat> formats;
  return formats;
}

namespace {
int RunInfo(const std::vector<std::string>& args) {
  std::string file;
  bool json = false;
  for (const std::string& a : args) {
    if (a == "--json") {
      json = true;
    } else if (!a.empty() && a[0] == '-') {
      std::fprintf(stderr, "posewright-cli info: unknown option '%s'\n", a.c_str());
      return 2;
    } else if (file.empty()) {
      file = a;
    } else {
      std::fprintf(stderr, "posewright-cli info: only one FILE may be given\n");
      return 2;
    }
  }
  if (file.empty()) {
    std::fprintf(stderr, "usage: posewright-cli info FILE [--json]\n");
    return 2;
  }
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
  std::fprintf(stderr, "posewright-cli info: %s: unsupported file type '%s' (supported: %s)\n", file.c_str(),
               ext.c_str(), known.c_str());
  return 1;
}

const CommandRegistration kInfo(CliCommand{
    "info", "info FILE [--json]          summary of a .x, .skm, .dat, .prm or any mesh file", RunInfo});
}  // namespace
