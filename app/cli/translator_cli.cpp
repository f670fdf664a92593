#include "app/cli/translator_cli.h"

#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "app/cli/data_root.h"
#include "app/cli/developer_modes.h"
#include "app/cli/stage_report.h"
#include "app/engine/program_translator.h"
#include "app/engine/translator_dlg.h"
#include "app/server/listening_socket.h"
#include "app/server/page_server.h"
#include "core/config_store.h"
#include "platform/file_system.h"
#include "platform/utf8.h"

namespace {

void PrintMessages(const CTranslationResult& result, int lineNumber, std::ostream& errors) {
  for (const CTranslationMessage& message : result.messages) {
    if (lineNumber > 0) errors << "line " << lineNumber << ": ";
    if (!message.caption.empty()) errors << ToUtf8(message.caption) << ": ";
    errors << ToUtf8(message.text) << '\n';
  }
}

void PrintTrees(const CTranslationResult& result, std::ostream& errors) {
  errors << RenderTreeText(result.sourceTree) << RenderTreeText(result.targetTree);
}

// The documents' paths; false when one could not be read back.
bool PrintDocuments(const CTranslationResult& result, std::ostream& errors) {
  bool allReadable = true;
  for (const CStructureDocument& document : result.cStructures) {
    const std::string path = MakeAbsolutePath(MapPath(document.path));
    if (!document.readable) {
      errors << "C-structures of segment " << document.segment << " could not be written: " << path << '\n';
      allReadable = false;
      continue;
    }
    errors << "C-structures of segment " << document.segment << ": " << path << '\n';
  }
  return allReadable;
}

std::string OutputLine(const CTranslationResult& result, bool withAlternatives) {
  std::string line = ToUtf8(result.output);
  if (!withAlternatives) return line;
  for (const CSegmentOutcome& segment : result.segments) {
    for (const WString& alternative : segment.alternatives) line += '\t' + ToUtf8(alternative);
  }
  return line;
}

ExitCode SetUp(CTranslatorDlg& translator, const CCommandLine& commandLine, std::ostream& errors) {
  const bool built =
      commandLine.developer.lfg ? translator.InitializeChartParserEngine() : translator.InitializeEngine();
  if (!built) return kExitSetUpFailed;
  if (commandLine.domainGiven && !SetConfigValue("Domain", commandLine.domain)) {
    errors << "The domain could not be set\n";
    return kExitSetUpFailed;
  }
  return EnableChartDumpOption(translator, commandLine.developer, errors);
}

}  // namespace

ExitCode PrintResult(const CTranslationResult& result, const CCommandLine& commandLine, std::ostream& output,
                     std::ostream& errors, int lineNumber) {
  PrintMessages(result, lineNumber, errors);
  if (commandLine.trees) PrintTrees(result, errors);
  if (commandLine.stages) errors << StageReport(result) << '\n';
  const bool documentsReadable = PrintDocuments(result, errors);
  output << OutputLine(result, commandLine.alternatives) << '\n' << std::flush;
  ExitCode code = result.AllSegmentsTranslated() ? kExitTranslated : kExitUntranslated;
  if (!documentsReadable) code = WorseExit(code, kExitFileError);
  return code;
}

ExitCode ForEachInputLine(std::istream& input, std::ostream& output, std::ostream& errors,
                          const std::function<ExitCode(const std::string& line)>& translateLine) {
  return ForEachNumberedInputLine(input, output, errors,
                                  [&](const std::string& line, int) { return translateLine(line); });
}

ExitCode ForEachNumberedInputLine(std::istream& input, std::ostream& output, std::ostream& errors,
                                  const std::function<ExitCode(const std::string& line, int number)>& translateLine) {
  ExitCode code = kExitTranslated;
  std::string line;
  int number = 0;
  while (std::getline(input, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      output << '\n' << std::flush;
      continue;
    }
    code = WorseExit(code, translateLine(line, number));
  }
  if (input.bad()) {
    errors << "Standard input could not be read\n";
    code = WorseExit(code, kExitFileError);
  }
  return code;
}

ExitCode TranslateStream(CTranslatorDlg& translator, const CCommandLine& commandLine, std::istream& input,
                         std::ostream& output, std::ostream& errors) {
  return ForEachNumberedInputLine(input, output, errors, [&](const std::string& line, int number) {
    const CTranslationResult result = translator.OnTranslate(FromUtf8(line), {commandLine.showCStructure});
    return PrintResult(result, commandLine, output, errors, number);
  });
}

namespace {

// Takes the data root's lock, waiting as long as another run holds it.
ExitCode LockDataRoot(CDataRootLock& lock, std::ostream& errors) {
  const auto tellWaiting = [&errors](const std::string& holder) {
    errors << "The data root is in use by " << holder << "; waiting for it\n" << std::flush;
  };
  if (lock.Acquire(".", kWaitWhileHeld, tellWaiting) == CDataRootLock::Outcome::kAcquired) return kExitTranslated;
  errors << lock.error() << '\n';
  return kExitFileError;
}

}  // namespace

ExitCode RunTranslator(const CCommandLine& commandLine, std::istream& input, std::ostream& output,
                       std::ostream& errors) {
  std::string error;
  if (!EnterDataRoot(commandLine.dataRoot, error)) {
    errors << error << '\n';
    return kExitFileError;
  }
  if (!HoldsConfiguration(commandLine.dataRoot, error)) {
    errors << error << '\n';
    return kExitSetUpFailed;
  }
  // A server takes its port first: a port in use is refused at once rather
  // than after waiting for the data root.
  CListeningSocket listener;
  if (commandLine.serve && !listener.Open(commandLine.port, error)) {
    errors << error << '\n';
    return kExitFileError;
  }
  CDataRootLock lock;
  if (const ExitCode code = LockDataRoot(lock, errors); code != kExitTranslated) return code;
  const CProgramTranslator owned = MakeProgramTranslator();
  CTranslatorDlg& translator = *owned;
  if (const ExitCode code = SetUp(translator, commandLine, errors); code != kExitTranslated) return code;
  if (commandLine.serve) return ServeTranslatorPage(translator, listener, output, errors);
  if (commandLine.developer.Any()) return RunDeveloperMode(translator, commandLine, input, output, errors);
  if (!commandLine.HasSentence()) return TranslateStream(translator, commandLine, input, output, errors);
  const CTranslationResult result =
      translator.OnTranslate(FromUtf8(commandLine.Sentence()), {commandLine.showCStructure});
  return PrintResult(result, commandLine, output, errors);
}
