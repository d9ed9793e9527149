#include "cli/Arguments.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace posewright {

namespace cli {
namespace {
const Option* FindOption(const Syntax& syntax, const std::string& name) {
  for (const Option& option : syntax.options) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// "--anim FILE.anm" or "--points".
std::string OptionText(const Option& option) {
  return option.value.empty() ? option.name : option.name + " " + option.value;
}
}  // namespace

bool ParsedArguments::has(const std::string& name) const {
  return value(name).has_value();
}

std::optional<std::string> ParsedArguments::value(const std::string& name) const {
  std::optional<std::string> last;
  for (const auto& [given, value] : options) {
    if (given == name) last = value;
  }
  return last;
}

std::vector<std::string> ParsedArguments::values(const std::string& name) const {
  std::vector<std::string> all;
  for (const auto& [given, value] : options) {
    if (given == name) all.push_back(value);
  }
  return all;
}

ParseResult Parse(const Syntax& syntax, const std::vector<std::string>& args) {
  ParseResult result;
  ParsedArguments& parsed = result.arguments;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (const Option* option = FindOption(syntax, word)) {
      if (option->value.empty()) {
        parsed.options.emplace_back(word, std::string());
        continue;
      }
      if (i + 1 >= args.size()) {
        result.error = word + " needs a value";
        return result;
      }
      parsed.options.emplace_back(word, args[++i]);
    } else if (!word.empty() && word[0] == '-') {
      result.error = "unknown option " + word;
      return result;
    } else if (parsed.operands.size() < syntax.operands.size()) {
      parsed.operands.push_back(word);
    } else {
      result.error = syntax.operands.size() == 1 ? "only one " + syntax.operands[0] + " may be given"
                                                 : "unexpected argument " + word;
      return result;
    }
  }
  if (parsed.operands.size() < syntax.operands.size()) {
    result.error = "missing " + syntax.operands[parsed.operands.size()];
    return result;
  }
  // An empty value ("-o ''") names no file: a required option needs a real one.
  for (const Option& option : syntax.options) {
    if (option.required && !option.value.empty() && parsed.value(option.name).value_or("x").empty()) {
      result.error = "missing " + OptionText(option);
      return result;
    }
    if (option.required && !parsed.has(option.name)) {
      result.error = "missing " + OptionText(option);
      return result;
    }
  }
  return result;
}

std::string UsageLine(const Syntax& syntax) {
  std::string line = syntax.command;
  for (const std::string& operand : syntax.operands) line += " " + operand;
  for (const Option& option : syntax.options) {
    line += option.required ? " " + OptionText(option) : " [" + OptionText(option) + "]";
    if (option.repeatable) line += "...";
  }
  return line;
}

std::string HelpText(const std::vector<Syntax>& forms) {
  std::string text;
  for (std::size_t f = 0; f < forms.size(); ++f) {
    text += (f == 0 ? "usage: posewright-cli " : "       posewright-cli ") + UsageLine(forms[f]) + "\n";
  }
  // Each option once, with the help of the first form that has it.
  std::vector<const Option*> listed;
  std::size_t width = 0;
  for (const Syntax& form : forms) {
    for (const Option& option : form.options) {
      bool seen = false;
      for (const Option* other : listed) seen = seen || other->name == option.name;
      if (seen) continue;
      listed.push_back(&option);
      width = std::max(width, OptionText(option).size());
    }
  }
  if (!listed.empty()) text += "\noptions:\n";
  for (const Option* option : listed) {
    const std::string name = OptionText(*option);
    text += "  " + name + std::string(width - name.size() + 3, ' ') + option->help + "\n";
  }
  return text;
}

int UsageError(const Syntax& syntax, const std::string& why) {
  std::fprintf(stderr, "posewright-cli %s: %s\nusage: posewright-cli %s\n", syntax.command.c_str(),
               why.c_str(), UsageLine(syntax).c_str());
  return kExitUsage;
}

int Failure(const std::string& command, const std::string& message) {
  std::fprintf(stderr, "posewright-cli %s: %s\n", command.c_str(), message.c_str());
  return kExitFailed;
}

std::optional<int32_t> ParseTime(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < 0 || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace cli
}  // namespace posewright
