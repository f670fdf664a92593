// A data root that compiles at every start (every Compile key "yes") loads
// what its last compile wrote, as long as the stamp of that compile still
// matches; any change to what the compile read, or damage to what it wrote,
// makes the start compile again, with the same translations and no message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/engine/compiled_root_stamp.h"
#include "app/engine/translator_dlg.h"
#include "app_test_support.h"
#include "core/config_store.h"
#include "platform/utf8.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSentence = "I gave him a book";
// A compiled file that every compiling start rewrites and no case touches:
// its modification time tells which start ran.
constexpr const char* kWitness = "data/english/SymbolTable.dmp";
const fs::file_time_type kLongAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);

void FlipByteAt(const std::string& path, double fraction) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekg(0, std::ios::end);
  const auto at = static_cast<std::streamoff>(static_cast<double>(file.tellg()) * fraction);
  file.seekg(at);
  const char byte = static_cast<char>(file.get() ^ 0x20);
  file.seekp(at);
  file.put(byte);
}

// Changes the case of the first letter of the word's first place in a
// UTF-16LE file: an edit of one byte that keeps the file's length and its
// meaning (the word stands in a comment).
void FlipCaseOfWord(const std::string& path, const std::string& word) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string wide;
  for (char letter : word) wide += {letter, '\0'};
  const size_t at = bytes.find(wide);
  ASSERT_NE(at, std::string::npos) << word << " in " << path;
  file.seekp(static_cast<std::streamoff>(at));
  file.put(static_cast<char>(bytes[at] ^ 0x20));
}

void CutToHalf(const std::string& path) { fs::resize_file(path, fs::file_size(path) / 2); }

std::string AppendedUtf16(const std::string& path, const std::string& line) { return ReadUtf16AsUtf8(path) + line; }

struct StartOutcome {
  bool ready = false;
  bool compiled = false;
  size_t messages = 0;
  std::string output;
};

// Sets an engine up in the root and translates the sentence.
StartOutcome StartIn(const DataRootCopy& root) {
  if (fs::exists(root.File(kWitness))) fs::last_write_time(root.File(kWitness), kLongAgo);
  MessageRecorder messages;
  CTranslatorDlg translator;
  StartOutcome outcome;
  {
    CurrentFolder inside(root.path());
    outcome.ready = translator.InitializeEngine();
    outcome.messages = messages.messages().size();
    outcome.output = ToUtf8(translator.OnTranslate(FromUtf8(kSentence)).output);
  }
  outcome.compiled = fs::exists(root.File(kWitness)) && fs::last_write_time(root.File(kWitness)) != kLongAgo;
  ClearConfiguration();
  return outcome;
}

// A root that one compiling start has stamped, copied afresh for each case.
class StampedRoot : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    compiled_ = new DataRootCopy;
    first_ = new StartOutcome(StartIn(*compiled_));
  }
  static void TearDownTestSuite() {
    delete first_;
    delete compiled_;
  }

  static void CopyCompiled(DataRootCopy& root) {
    fs::copy(compiled_->path(), root.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }

  static DataRootCopy* compiled_;
  static StartOutcome* first_;
};

DataRootCopy* StampedRoot::compiled_ = nullptr;
StartOutcome* StampedRoot::first_ = nullptr;

TEST_F(StampedRoot, TheFirstStartCompilesAndStamps) {
  ASSERT_TRUE(first_->ready);
  EXPECT_TRUE(first_->compiled);
  EXPECT_EQ(first_->messages, 0u);
  EXPECT_FALSE(first_->output.empty());
  EXPECT_TRUE(fs::exists(compiled_->File("data/CompiledRoot.stamp")));
}

TEST_F(StampedRoot, LoadsOnlyWhatTheStampStillMatches) {
  struct Case {
    const char* name;
    std::function<void(DataRootCopy&)> change;
    bool compiles;
  };
  const std::vector<Case> cases = {
      {"nothing changed", [](DataRootCopy&) {}, false},
      {"a source edited",
       [](DataRootCopy& root) {
         root.WriteDataFile("data/english/ELexicon.txt", FromUtf8(AppendedUtf16(root.File("data/english/ELexicon.txt"),
                                                                                "zebra: n, ^PRED='zebra'.\r\n")));
       },
       true},
      {"a source changed in one byte, same length",
       [](DataRootCopy& root) {
         FlipCaseOfWord(root.File("data/mapping/MapRulesRaw.mlr"), "Mapping rules");
         fs::remove(root.File("DataManifest.txt"));  // an edit of the test's own, not damage
       },
       true},
      {"the feature descriptions edited (read only by a loading start)",
       [](DataRootCopy& root) {
         FlipByteAt(root.File("data/FDescriptions.txt"), 0.5);
         fs::remove(root.File("DataManifest.txt"));
       },
       true},
      {"a dump missing", [](DataRootCopy& root) { fs::remove(root.File("data/english/ELexicon.dmp")); }, true},
      {"a dump cut short", [](DataRootCopy& root) { CutToHalf(root.File("data/mapping/MapLex.dmp")); }, true},
      // The end of the file and its length still match the stamp: the
      // loader's own seal check refuses it, and the start compiles.
      {"a dump damaged in the middle",
       [](DataRootCopy& root) { FlipByteAt(root.File("data/english/ELexicon.dmp"), 0.5); }, true},
      {"EConfig.inf changed", [](DataRootCopy& root) { root.SetKey("MinSentLengthForSegmentation", "9"); }, true},
      {"the stamp missing", [](DataRootCopy& root) { fs::remove(root.File("data/CompiledRoot.stamp")); }, true},
      {"the stamp damaged", [](DataRootCopy& root) { FlipByteAt(root.File("data/CompiledRoot.stamp"), 0.5); }, true},
  };
  ASSERT_TRUE(first_->ready);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DataRootCopy root;
    CopyCompiled(root);
    c.change(root);
    const StartOutcome start = StartIn(root);
    EXPECT_TRUE(start.ready);
    EXPECT_EQ(start.compiled, c.compiles);
    EXPECT_EQ(start.messages, 0u);
    EXPECT_EQ(start.output, first_->output);
    // Whatever this start did, the root is stamped again for the next.
    const StartOutcome next = StartIn(root);
    EXPECT_TRUE(next.ready);
    EXPECT_FALSE(next.compiled);
    EXPECT_EQ(next.output, first_->output);
  }
}

TEST_F(StampedRoot, OnlyAStartThatCompilesEverythingStamps) {
  for (const char* key : {"CompileLexicon", "CompileP_Grammar", "CompileMapper"}) {
    SCOPED_TRACE(key);
    DataRootCopy root;
    CopyCompiled(root);
    fs::remove(root.File("data/CompiledRoot.stamp"));
    root.SetKey(key, "no");
    StartIn(root);
    EXPECT_FALSE(fs::exists(root.File("data/CompiledRoot.stamp")));
  }
}

TEST_F(StampedRoot, AFailedCompileLeavesNoStamp) {
  DataRootCopy root;
  CopyCompiled(root);
  root.WriteDataFile("data/english/EGrammarRules.txt", u"S' -> @NOSUCHMACRO .");
  EXPECT_FALSE(StartIn(root).ready);
  EXPECT_FALSE(fs::exists(root.File("data/CompiledRoot.stamp")));
}

// A file the compile opened under several spellings of its path is stamped
// once, as read or as written, so a start checks it once.
TEST(CompiledRootStampText, NamesEachFileOnceWhateverItsSpelling) {
  TempDir root;
  fs::create_directories(root.path() / "data");
  for (const char* name : {"data/source.txt", "data/dump.bin", "data/log.txt"})
    WriteBytes(root.File(name), std::vector<unsigned char>(100, 'x'));
  CurrentFolder current(root.path());
  const std::string stamp = MakeCompiledRootStamp(
      {"data/source.txt", "./data/source.txt", "data\\source.txt", "./data/dump.bin", "./data/log.txt"},
      {"data/dump.bin"}, {"data\\log.txt"});
  ASSERT_FALSE(stamp.empty());
  std::vector<std::string> lines;
  std::istringstream text(stamp);
  for (std::string line; std::getline(text, line);)
    if (line.size() > 2 && line[1] == ' ') lines.push_back(line.substr(0, 1) + " " + line.substr(line.rfind(' ') + 1));
  EXPECT_EQ(lines, (std::vector<std::string>{"W data/dump.bin", "S data/source.txt"}));
}

}  // namespace
}  // namespace app_test
