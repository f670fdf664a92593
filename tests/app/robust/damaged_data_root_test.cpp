// Damaged data roots: every shipped data file and every file the first start
// writes is cut short, emptied or has one bit flipped, one at a time, in a
// copy of the data root. The translator must then either refuse to start
// (exit 3, nothing on standard output, a message on standard error) or
// translate the two sentences exactly as the intact root does; a damaged
// text source may also leave a sentence untranslated, which the program
// reports with exit 1. It never crashes, hangs, or prints a different
// translation as if nothing were wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "platform/utf8.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kInput = "I gave him a book\nThe boy reads a book\n";
constexpr const char* kIntactOutput = "میں نے اسے ایک کتاب دی\nلڑکا ایک کتاب پڑھتا ہے\n";
constexpr int kTimeLimitSeconds = 120;

// Files of the data root that the first start writes; the start that loads
// instead of compiling reads them back.
const std::vector<std::string>& WrittenFiles() {
  static const std::vector<std::string> files = {
      "data/CommonSymbolTable.sym",         "data/UCommonLexFeatures.bin",
      "data/ULexicon.dmp",                  "data/ULexiconInNumbers.bin",
      "data/UCfg.cfg",                      "data/ULfg.lfg",
      "data/english/Dummy.dmp",             "data/english/DumpedEgrammar.bin",
      "data/english/DumpedEgrammarSymbols.txt", "data/english/EGrammar.cfg",
      "data/english/EGrammar.lfg",          "data/english/EGrammar.ncfg",
      "data/english/ELexicon.dmp",          "data/english/P_FSInitializer.dmp",
      "data/english/SymbolTable.dmp",       "data/mapping/MapLex.dmp",
      "data/mapping/NDomainMapLex.dmp",     "data/mapping/WDomainMapLex.dmp",
      "data/mapping/ADomainMapLex.dmp",     "data/mapping/MapLexExt.mle",
      "data/mapping/MapRulesExt.mle",       "data/mapping/InsertRulesExt.mle",
      "data/CompiledRoot.stamp",
  };
  return files;
}

// The shipped files the translator reads.
const std::vector<std::string>& ShippedFiles() {
  static const std::vector<std::string> files = {
      "EConfig.inf",
      "data/Delimiters.txt",
      "data/EOrderedFeatureList.txt",
      "data/Expansions.txt",
      "data/FDescriptions.txt",
      "data/NounTemplate.txt",
      "data/UGrammarMacros.txt",
      "data/UGrammarRules.txt",
      "data/ULexicon.txt",
      "data/UOrderedFeatureList.txt",
      "data/english/BigramTable.txt",
      "data/english/Dummy.txt",
      "data/english/EGrammarMacros.txt",
      "data/english/EGrammarRules.txt",
      "data/english/ELexicon.txt",
      "data/english/FSAttrTypes.txt",
      "data/english/GovernableFunctions.txt",
      "data/english/POSs.txt",
      "data/english/SubCats.txt",
      "data/english/Time.txt",
      "data/mapping/ADomainMapLexRaw.mlr",
      "data/mapping/InsertRulesRaw.mlr",
      "data/mapping/MapLexRaw.mlr",
      "data/mapping/MapMacros.txt",
      "data/mapping/MapRulesRaw.mlr",
      "data/mapping/NDomainMapLexRaw.mlr",
      "data/mapping/WDomainMapLexRaw.mlr",
      "data/segmentation/SegmentRules.txt",
      "data/tokeniser/AbbreviationFile.txt",
      "data/tokeniser/TransitionTable.txt",
      "data/tokeniser/UnitPosFile.txt",
      "data/urdu/AdjRules.txt",
      "data/urdu/Discourse.txt",
      "data/urdu/HeadlessPredicateItems.txt",
      "data/urdu/NounRules.txt",
      "data/urdu/SpecialUnmarkedItems.txt",
      "data/urdu/TransRules.txt",
      "data/urdu/VerbRules.txt",
      "data/wsd/SenseCollocations.txt",
      "data/wsd/WSDCollInfo.wsd",
      "data/wsd/WSDSenseInfo.wsd",
      "data/wsd/WSDWordList.wsd",
  };
  return files;
}

bool IsWrittenFile(const std::string& file) {
  const auto& written = WrittenFiles();
  return std::find(written.begin(), written.end(), file) != written.end();
}

// One kind of damage: the file cut to a fraction of its length, or one bit
// flipped at a fraction of its length.
struct Damage {
  const char* name;
  bool flip;
  double at;  // fraction of the length
  int minus;  // bytes taken off the cut point
};

const Damage kDamages[] = {
    {"emptied", false, 0.0, 0},      {"cut in half", false, 0.5, 0},  {"last byte cut off", false, 1.0, 1},
    {"bit flipped at a third", true, 0.33, 0}, {"bit flipped near the end", true, 0.8, 0},
};

// Damage that leaves a text source a smaller or altered table which is
// still valid data, so no loader can tell: the mapping lexicon cut between
// its blocks (the words left out are rewritten letter by letter, as unknown
// names are) and a feature name of the generator's list changed into
// another name. They must still give one line per sentence.
const std::set<std::pair<std::string, std::string>> kStillValidData = {
    {"data/mapping/MapLexRaw.mlr", "cut in half"},
    {"data/urdu/SpecialUnmarkedItems.txt", "bit flipped at a third"},
};

void Apply(const Damage& damage, const std::string& path) {
  std::vector<unsigned char> bytes = ReadBytes(path);
  const size_t at = std::min(bytes.size(), static_cast<size_t>(static_cast<double>(bytes.size()) * damage.at));
  if (damage.flip) {
    if (at < bytes.size()) bytes[at] ^= 0x10;
  } else {
    bytes.resize(at >= static_cast<size_t>(damage.minus) ? at - damage.minus : 0);
  }
  WriteBytes(path, bytes);
}

// A data root after its first start, with the dumps that start wrote. Made
// once for the whole table.
class FirstStartedRoot {
 public:
  FirstStartedRoot() {
    const ProgramRun run =
        RunTranslatorProgram({"--data-root", root_.path().string()}, kInput, kTimeLimitSeconds);
    firstRunOutput_ = run.output;
    firstRunErrors_ = run.errors;
  }
  const DataRootCopy& root() const { return root_; }
  const std::string& firstRunOutput() const { return firstRunOutput_; }
  const std::string& firstRunErrors() const { return firstRunErrors_; }

 private:
  DataRootCopy root_;
  std::string firstRunOutput_;
  std::string firstRunErrors_;
};

const FirstStartedRoot& StartedRoot() {
  static const FirstStartedRoot root;
  return root;
}

void CopyFolder(const fs::path& from, const fs::path& to) {
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::remove(to / ".translator.lock");
}

// Sets "key=yes;" of the root's EConfig.inf to "key=no;".
void SetToNo(const fs::path& root, const std::string& key) {
  const std::string path = (root / "EConfig.inf").string();
  std::string text = ReadUtf16AsUtf8(path);
  const size_t at = text.find(key + "=yes;");
  ASSERT_NE(at, std::string::npos) << key;
  text.replace(at, key.size() + 5, key + "=no;");
  WriteUtf16File(path, FromUtf8(text));
}

class DamagedDataRoot : public ::testing::TestWithParam<std::string> {};

TEST_P(DamagedDataRoot, RefusesOrTranslatesAsTheIntactRoot) {
  const FirstStartedRoot& started = StartedRoot();
  ASSERT_EQ(started.firstRunOutput(), kIntactOutput) << started.firstRunErrors();
  const std::string& file = GetParam();
  const bool written = IsWrittenFile(file);
  ASSERT_TRUE(fs::exists(started.root().File(file))) << file;

  for (const Damage& damage : kDamages) {
    SCOPED_TRACE(file + ", " + damage.name);
    TempDir work;
    const fs::path root = work.path() / "root";
    CopyFolder(started.root().path(), root);
    if (written) {
      // A start that loads what the first one wrote.
      for (const char* key : {"CompileLexicon", "CompileP_Grammar", "CompileMapper"}) SetToNo(root, key);
    }
    Apply(damage, (root / file).string());
    const ProgramRun run = RunTranslatorProgram({"--data-root", root.string()}, kInput, kTimeLimitSeconds);

    EXPECT_EQ(run.errors.find("runtime error"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("Sanitizer"), std::string::npos) << run.errors;
    switch (run.exitCode) {
      case 0:
        if (kStillValidData.count({file, damage.name}) != 0) {
          EXPECT_EQ(Lines(run.output).size(), 2u) << run.output;
          break;
        }
        EXPECT_EQ(run.output, kIntactOutput) << "a different translation with no failure: " << run.errors;
        break;
      case 1:
        // Only a text source can be cut into a smaller table that still
        // loads; every line is still there, and the exit code tells.
        EXPECT_FALSE(written) << "a damaged dump was read: " << run.output << run.errors;
        EXPECT_EQ(Lines(run.output).size(), 2u) << run.output;
        break;
      case 3:
        EXPECT_EQ(run.output, "");
        EXPECT_FALSE(run.errors.empty()) << "refused without a message";
        break;
      default:
        ADD_FAILURE() << "exit " << run.exitCode << " (124: hung)\n" << run.output << run.errors;
    }
  }
}

std::vector<std::string> AllFiles() {
  std::vector<std::string> files = ShippedFiles();
  files.insert(files.end(), WrittenFiles().begin(), WrittenFiles().end());
  return files;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name;
  for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(EveryFile, DamagedDataRoot, ::testing::ValuesIn(AllFiles()), TestName);

// The table covers every file the first start leaves in the data root, so
// that a new data file or dump cannot escape it.
TEST(DamagedDataRootTable, NamesEveryFileOfAStartedRoot) {
  const FirstStartedRoot& started = StartedRoot();
  const std::vector<std::string> all = AllFiles();
  const std::set<std::string> listed(all.begin(), all.end());
  // Files the translate road never reads (the sentence list is --batch's).
  const std::set<std::string> notRead = {"README.md", ".translator.lock", "data/LogFile.Log", "SenList.txt"};
  for (const auto& entry : fs::recursive_directory_iterator(started.root().path())) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = fs::relative(entry.path(), started.root().path()).generic_string();
    if (notRead.count(relative) != 0) continue;
    // The generated vocabulary reaches the program inside the lexicons that
    // take it in; its own copies are read only by the vocabulary's tests.
    if (relative.find("/generated/") != std::string::npos) continue;
    EXPECT_EQ(listed.count(relative), 1u) << relative << " is missing from the table";
  }
}

}  // namespace
}  // namespace app_test
