// kalvor-cli: the core behind a command line. Arguments arrive in UTF-8 and
// are converted to Windows-1252 for the core; all output is UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor::cli {

// The arguments of one command after the command word, with the options
// common to every command already taken out.
class Arguments {
 public:
  Arguments(std::vector<std::string> words, std::string dataDir)
      : words_(std::move(words)), dataDir_(std::move(dataDir)) {}

  // The folder with the data files ("--daten DIR"; default the current folder).
  const std::string& dataDir() const { return dataDir_; }

  // Takes "--name VALUE" out of the arguments; returns the value converted to
  // Windows-1252, or nothing when the option is not given.
  std::optional<std::string> takeOption(std::string_view name);
  // Takes "--name VALUE" out of the arguments as given (UTF-8, unconverted).
  std::optional<std::string> takeOptionUtf8(std::string_view name);
  // Takes a flag without value ("--mit-stufen"); true when it was given.
  bool takeFlag(std::string_view name);
  // The next positional word, or nothing.
  std::optional<std::string> takeWord();
  // Words left over after a command took what it knows (an error for it).
  const std::vector<std::string>& rest() const { return words_; }

 private:
  std::vector<std::string> words_;
  std::string dataDir_;
};

// Prints a Windows-1252 text as UTF-8 followed by a line feed.
void printLine(std::string_view cp1252);
// Prints a Windows-1252 error text as UTF-8 to stderr.
void printError(std::string_view cp1252);

// A command of kalvor-cli: returns the process exit code.
using CommandFn = int (*)(Arguments&);

struct Command {
  const char* word;      // the command word, e.g. "bestimme"
  const char* synopsis;  // one line of German help (UTF-8)
  CommandFn run;
};

// The commands, one row each; every command module adds its row here.
int runFiles(Arguments& args);
int runDetermine(Arguments& args);
int runColours(Arguments& args);
int runLocality(Arguments& args);
int runSpecimen(Arguments& args);
int runIndex(Arguments& args);
int runShow(Arguments& args);
int runSearch(Arguments& args);
int runExchange(Arguments& args);
int runLabels(Arguments& args);
int runPrint(Arguments& args);
int runGlossary(Arguments& args);
int runBackup(Arguments& args);
int runExport(Arguments& args);
int runImport(Arguments& args);
int runRepair(Arguments& args);

}  // namespace kalvor::cli
