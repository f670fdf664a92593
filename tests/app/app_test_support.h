// Helpers of the translator tests: a copy of the repository's data root in
// a temporary folder whose configuration a test can change, and a run of the
// translator program with its output captured.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/engine/translation_result.h"
#include "support/test_support.h"

namespace app_test {

// The repository's data root, copied (without files a run wrote) into a
// temporary folder.
class DataRootCopy {
 public:
  DataRootCopy();
  const std::filesystem::path& path() const { return dir_.path(); }
  std::string File(const std::string& relative) const { return (dir_.path() / relative).string(); }

  // Sets the key's value in EConfig.inf (appended when absent).
  void SetKey(const std::string& key, const std::string& value);
  void RemoveKey(const std::string& key);
  // The value of the key in EConfig.inf; empty when absent.
  std::string Key(const std::string& key) const;
  // A data file's text (UTF-16LE with the mark) replaced; the data manifest
  // goes, as from a data root of one's own.
  void WriteDataFile(const std::string& relative, const std::u16string& text);
  // Gives each sentence a minute before the parser's time limit stops it.
  // The limit counts wall-clock time, which a loaded machine stretches; a
  // test that compares whole outputs is about what the sentences do. The
  // limit stands in a file of its own: the manifest guards the shipped one.
  void UseGenerousTimeLimit();

 private:
  std::vector<std::pair<std::string, std::string>> ReadPairs() const;
  void WritePairs(const std::vector<std::pair<std::string, std::string>>& pairs);

  TempDir dir_;
};

// Makes the folder current while it lives.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder);
  ~CurrentFolder();
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

// A file of the source tree (LFG_SOURCE_DIR, else the current folder) as bytes.
std::string ReadSourceFile(const std::string& relative);

struct ProgramRun {
  int exitCode = -1;
  std::string output;  // standard output
  std::string errors;  // standard error
};

// Runs the translator with the arguments (each quoted for the shell) and
// the text as standard input. With a time limit, a run that takes longer is
// killed and its exit code is that of timeout(1), 124.
ProgramRun RunTranslatorProgram(const std::vector<std::string>& arguments, const std::string& input = "",
                                int timeLimitSeconds = 0);

// Every per-sentence registry is empty: nodes, handles, production copies,
// CFG chart items and columns, LFG and generator chart columns, the
// constraint system's structures.
void ExpectRegistriesEmpty();

// Translates by echoing: the output is the sentence in brackets.
CTranslationResult EchoTranslation(const WString& sentence, const CTranslateOptions& options);

// The lines of a text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// The text of a UTF-16LE file after its mark, as UTF-8.
std::string ReadUtf16AsUtf8(const std::string& path);

}  // namespace app_test
