#include "app/cli/translator_cli.h"

#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "app/batch/developer_modes.h"
#include "app/cli/data_root.h"
#include "app/cli/stage_report.h"
#include "app/engine/program_translator.h"
#include "app/engine/translator_dlg.h"
#include "app/server/page_server.h"
#include "core/config_store.h"
#include "platform/file_system.h"
#include "platform/utf8.h"

namespace {

void PrintMessages(const CTranslationResult& result, std::ostream& errors) {
  for (const CTranslationMessage& message : result.messages) {
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
  const bool built = commandLine.developer.lfg ? translator.InitializeChartParserEngine() : translator.InitializeEngine();
  if (!built) return kExitSetUpFailed;
  if (commandLine.domainGiven && !SetConfigValue("Domain", commandLine.domain)) {
    errors << "The domain could not be set\n";
    return kExitSetUpFailed;
  }
  return EnableChartDumpOption(translator, commandLine.developer, errors);
}

}  // namespace

ExitCode PrintResult(const CTranslationResult& result, const CCommandLine& commandLine, std::ostream& output,
                     std::ostream& errors) {
  PrintMessages(result, errors);
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
  ExitCode code = kExitTranslated;
  std::string line;
  while (std::getline(input, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      output << '\n' << std::flush;
      continue;
    }
    code = WorseExit(code, translateLine(line));
  }
  if (input.bad()) {
    errors << "Standard input could not be read\n";
    code = WorseExit(code, kExitFileError);
  }
  return code;
}

ExitCode TranslateStream(CTranslatorDlg& translator, const CCommandLine& commandLine, std::istream& input,
                         std::ostream& output, std::ostream& errors) {
  return ForEachInputLine(input, output, errors, [&](const std::string& line) {
    const CTranslationResult result = translator.OnTranslate(FromUtf8(line), {commandLine.showCStructure});
    return PrintResult(result, commandLine, output, errors);
  });
}

ExitCode RunTranslator(const CCommandLine& commandLine, std::istream& input, std::ostream& output,
                       std::ostream& errors) {
  std::string error;
  if (!EnterDataRoot(commandLine.dataRoot, error)) {
    errors << error << '\n';
    return kExitFileError;
  }
  CDataRootLock lock;
  switch (lock.Acquire(".", kDataRootLockWait)) {
    case CDataRootLock::Outcome::kAcquired:
      break;
    case CDataRootLock::Outcome::kBusy:
      errors << "The data root '" << commandLine.dataRoot << "' is in use by " << lock.holder() << '\n';
      return kExitSetUpFailed;
    case CDataRootLock::Outcome::kFileError:
      errors << lock.error() << '\n';
      return kExitFileError;
  }
  const CProgramTranslator owned = MakeProgramTranslator();
  CTranslatorDlg& translator = *owned;
  if (const ExitCode code = SetUp(translator, commandLine, errors); code != kExitTranslated) return code;
  if (commandLine.serve) return ServeTranslatorPage(translator, commandLine.port, output, errors);
  if (commandLine.developer.Any()) return RunDeveloperMode(translator, commandLine, input, output, errors);
  if (!commandLine.HasSentence()) return TranslateStream(translator, commandLine, input, output, errors);
  const CTranslationResult result =
      translator.OnTranslate(FromUtf8(commandLine.Sentence()), {commandLine.showCStructure});
  return PrintResult(result, commandLine, output, errors);
}
