#include "app/cli/command_line.h"

#include <CLI/CLI.hpp>

#include <filesystem>

namespace {

constexpr const char* kDescription =
    "Translates English sentences into Urdu.\n"
    "With a sentence as arguments, prints its Urdu on one line of standard output.\n"
    "Without one, reads standard input (UTF-8) and prints exactly one line for each line read.\n"
    "Messages of the engines go to standard error as \"caption: text\", after \"line N: \" for input lines.";

constexpr const char* kExitCodes =
    "Exit codes:\n"
    "  0  every sentence translated\n"
    "  1  some segment not translated (its line holds the words rewritten in Urdu letters),\n"
    "     or translated in part (a message names the words left out)\n"
    "  2  usage error\n"
    "  3  engine set-up failed, or the data root holds no EConfig.inf\n"
    "  4  a file cannot be read or written, or the page's port cannot be used";

}  // namespace

std::string CCommandLine::Sentence() const {
  std::string sentence;
  for (const std::string& word : words) {
    if (!sentence.empty()) sentence += ' ';
    sentence += word;
  }
  return sentence;
}

std::string MakeAbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

CommandLineOutcome ParseCommandLine(int argc, const char* const* argv, CCommandLine& commandLine, std::string& text) {
  CLI::App app(kDescription, "translator");
  app.footer(kExitCodes);
  std::string dataRoot = ".";
  app.add_option("--data-root", dataRoot, "The data root: a folder with EConfig.inf and data/ (a later one wins)")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  // The mapping domains exactly as the configuration writes them; any other
  // value is a usage error that lists them.
  app.add_option("--domain", commandLine.domain, "The mapping domain")
      ->check(CLI::IsMember({"None", "News", "Weather", "Agriculture"}));
  app.add_flag("--trees", commandLine.trees, "Print both F-structure trees on standard error");
  app.add_flag("--show-cstructure", commandLine.showCStructure,
               "Write data\\CStructures.xml for each segment and print its path on standard error");
  app.add_flag("--alternatives", commandLine.alternatives,
               "Follow each translation by its alternatives, each after a tab");
  app.add_flag("--stages", commandLine.stages,
               "Print on standard error, per input line, how far it got: \"Stage: none|analysed|mapped|generated\" "
               "and the words spelt by the character rules after \" rewritten:\"");
  AddDeveloperOptions(app, commandLine.developer);
  CLI::Option* sentence =
      app.add_option("sentence", commandLine.words, "The English sentence (read standard input when absent)");
  CLI::Option* serve = app.add_flag("--serve", commandLine.serve,
                                    "Serve the translator's page on 127.0.0.1 and print its address; "
                                    "stop with SIGINT or SIGTERM")
                           ->excludes(sentence);
  app.add_option("--port", commandLine.port, "The page's port with --serve (0: any free port)")
      ->check(CLI::Range(0, 65535))
      ->needs(serve)
      ->capture_default_str();
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    text = app.help();
    return CommandLineOutcome::kHelp;
  } catch (const CLI::ParseError& error) {
    text = std::string(error.what()) + "\nRun with --help for more information.\n";
    return CommandLineOutcome::kUsageError;
  }
  if (!FinishDeveloperOptions(app, commandLine.HasSentence(), commandLine.developer, text)) {
    text += "\nRun with --help for more information.\n";
    return CommandLineOutcome::kUsageError;
  }
  commandLine.domainGiven = app.count("--domain") > 0;
  commandLine.dataRoot = MakeAbsolutePath(dataRoot);
  return CommandLineOutcome::kRun;
}
