// Damaged data roots: every shipped data file and every file the first start
// writes is cut short, emptied or has one bit flipped, one at a time, in a
// copy of the data root, and the English sentences of the development set
// (tests/data/dev/english.txt) go through one stream process over it. The
// translator must then either refuse to start (exit 3, nothing on standard
// output, a message on standard error naming the damaged file) or translate
// every sentence exactly as the intact root does. It never crashes, hangs, or
// prints a different translation as if nothing were wrong.
//
// A shipped data file is damaged in the data root as built, where the data
// manifest names it before any loader reads it; the files whose loaders can
// tell damage from data are damaged again in a root without the manifest
// (one's own data), where those loaders must refuse them by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "platform/utf8.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kManifest = "DataManifest.txt";
constexpr int kTimeLimitSeconds = 300;

// The development set's sentences, one per line. The sanitizer build runs
// every eighth of them only: it translates ten times slower, and the table
// would take most of an hour.
const std::string& DevInput() {
  static const std::string input = [] {
    const std::string all = ReadSourceFile("tests/data/dev/english.txt");
#if defined(__SANITIZE_ADDRESS__)
    constexpr size_t kEvery = 8;
#else
    constexpr size_t kEvery = 1;
#endif
    std::string chosen;
    size_t number = 0;
    for (const std::string& line : Lines(all)) {
      if (number++ % kEvery == 0) chosen += line + "\n";
    }
    return chosen;
  }();
  return input;
}

// Files of the data root that the first start writes; the start that loads
// instead of compiling reads them back.
const std::vector<std::string>& WrittenFiles() {
  static const std::vector<std::string> files = {
      "data/CommonSymbolTable.sym",
      "data/UCommonLexFeatures.bin",
      "data/ULexicon.dmp",
      "data/ULexiconInNumbers.bin",
      "data/UCfg.cfg",
      "data/ULfg.lfg",
      "data/english/Dummy.dmp",
      "data/english/DumpedEgrammar.bin",
      "data/english/DumpedEgrammarSymbols.txt",
      "data/english/EGrammar.cfg",
      "data/english/EGrammar.lfg",
      "data/english/EGrammar.ncfg",
      "data/english/ELexicon.dmp",
      "data/english/P_FSInitializer.dmp",
      "data/english/SymbolTable.dmp",
      "data/mapping/MapLex.dmp",
      "data/mapping/NDomainMapLex.dmp",
      "data/mapping/WDomainMapLex.dmp",
      "data/mapping/ADomainMapLex.dmp",
      "data/mapping/MapLexExt.mle",
      "data/mapping/MapRulesExt.mle",
      "data/mapping/InsertRulesExt.mle",
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
    {"emptied", false, 0.0, 0},
    {"cut in half", false, 0.5, 0},
    {"last byte cut off", false, 1.0, 1},
    {"bit flipped at a third", true, 0.33, 0},
    {"bit flipped near the end", true, 0.8, 0},
};

// The shipped files whose loaders must notice damage on their own, in a data
// root without the manifest.
const std::set<std::string> kCheckedByTheirLoaders = {
    "data/ULexicon.txt",          "data/UGrammarRules.txt",
    "data/UGrammarMacros.txt",    "data/english/EGrammarRules.txt",
    "data/mapping/MapLexRaw.mlr", "data/tokeniser/TransitionTable.txt",
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
// The parse time limit of the table's roots: the shipped five seconds could
// cut a sentence short on a busy machine and change its translation. The
// file lies outside the manifest's data files, so the manifest still holds.
constexpr const char* kTimeLimitFile = "TableTimeLimit.txt";

class FirstStartedRoot {
 public:
  FirstStartedRoot() {
    WriteBytes(root_.File(kTimeLimitFile), {'6', '0', '0', '0', '0', '\r', '\n'});
    root_.SetKey("Time", kTimeLimitFile);
    firstRun_ = RunTranslatorProgram({"--data-root", root_.path().string()}, DevInput(), kTimeLimitSeconds);
  }
  const DataRootCopy& root() const { return root_; }
  // The intact root's outputs of the development set, and its exit code.
  const ProgramRun& firstRun() const { return firstRun_; }

 private:
  DataRootCopy root_;
  ProgramRun firstRun_;
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

// The files the data manifest of a root lists.
std::set<std::string> ManifestFiles(const fs::path& root) {
  std::set<std::string> files;
  for (const std::string& line : Lines(ReadUtf16AsUtf8((root / kManifest).string()))) {
    const size_t path = line.find(' ', line.find(' ') + 1);
    if (line.empty() || line[0] == '#' || line.rfind("end ", 0) == 0 || path == std::string::npos) continue;
    std::string name = line.substr(path + 1);
    if (!name.empty() && name.back() == '\r') name.pop_back();
    files.insert(name);
  }
  return files;
}

// Whether the text names the file: its path as the manifest or the
// configuration writes it ('/' or '\\'), or at least its file name.
bool NamesFile(const std::string& text, const std::string& file) {
  return text.find(fs::path(file).filename().string()) != std::string::npos;
}

// The input lines that the stream gave a message of their own ("line N: ...").
std::set<size_t> LinesWithMessages(const std::string& errors) {
  std::set<size_t> lines;
  for (const std::string& line : Lines(errors)) {
    if (line.rfind("line ", 0) != 0) continue;
    const size_t number = std::strtoul(line.c_str() + 5, nullptr, 10);
    if (number > 0) lines.insert(number);
  }
  return lines;
}

class DamagedDataRoot : public ::testing::TestWithParam<std::string> {};

TEST_P(DamagedDataRoot, RefusesOrTranslatesAsTheIntactRoot) {
  const FirstStartedRoot& started = StartedRoot();
  const ProgramRun& intact = started.firstRun();
  ASSERT_EQ(Lines(intact.output).size(), Lines(DevInput()).size()) << intact.errors;
  ASSERT_NE(intact.exitCode, 3) << intact.errors;
  const std::string& file = GetParam();
  const bool written = IsWrittenFile(file);
  const bool listed = ManifestFiles(started.root().path()).count(file) != 0;
  ASSERT_TRUE(fs::exists(started.root().File(file))) << file;
  EXPECT_EQ(listed, !written && file.rfind("data/", 0) == 0) << "the manifest lists the shipped data files only";

  for (const Damage& damage : kDamages) {
    for (const bool withManifest : {true, false}) {
      if (!withManifest && (!listed || kCheckedByTheirLoaders.count(file) == 0)) continue;
      SCOPED_TRACE(file + ", " + damage.name + (withManifest ? "" : ", without the manifest"));
      TempDir work;
      const fs::path root = work.path() / "root";
      CopyFolder(started.root().path(), root);
      if (written) {
        // A start that loads what the first one wrote.
        for (const char* key : {"CompileLexicon", "CompileP_Grammar", "CompileMapper"}) SetToNo(root, key);
      }
      if (!withManifest) fs::remove(root / kManifest);
      Apply(damage, (root / file).string());
      const ProgramRun run = RunTranslatorProgram({"--data-root", root.string()}, DevInput(), kTimeLimitSeconds);

      EXPECT_EQ(run.errors.find("runtime error"), std::string::npos) << run.errors;
      EXPECT_EQ(run.errors.find("Sanitizer"), std::string::npos) << run.errors;
      if (run.exitCode == 3) {
        EXPECT_EQ(run.output, "");
        EXPECT_TRUE(NamesFile(run.errors, file)) << "the refusal does not name the file: " << run.errors;
        if (listed && withManifest) {
          EXPECT_NE(run.errors.find("python3 tools/sync_data.py"), std::string::npos) << run.errors;
        }
        continue;
      }
      EXPECT_FALSE(listed && withManifest) << "the manifest let a damaged file through: exit " << run.exitCode;
      if (run.exitCode != 0 && run.exitCode != 1) {
        ADD_FAILURE() << "exit " << run.exitCode << " (124: hung)\n" << run.errors;
        continue;
      }
      EXPECT_EQ(Lines(run.output).size(), Lines(intact.output).size()) << "one line per sentence";
      if (kStillValidData.count({file, damage.name}) != 0) {
        // Smaller valid data: some words are rewritten, which exit 1 tells.
        if (run.output != intact.output) {
          EXPECT_EQ(run.exitCode, 1) << "changed translations with exit 0";
        }
        continue;
      }
      // Damage that leaves valid data may change a translation only where
      // the line says what it did not translate (a message of its own).
      if (run.output != intact.output) {
        const std::vector<std::string> got = Lines(run.output), want = Lines(intact.output), in = Lines(DevInput());
        const std::set<size_t> told = LinesWithMessages(run.errors);
        size_t changed = 0;
        std::string first;
        for (size_t i = 0; i < got.size() && i < want.size(); ++i) {
          if (got[i] == want[i] || told.count(i + 1) != 0) continue;
          if (changed++ == 0) first = in[i] + ": " + got[i] + " instead of " + want[i];
        }
        if (changed == 0) continue;
        ADD_FAILURE() << changed << " translations changed with no refusal and no message, first " << first << "\n"
                      << run.errors.substr(0, 2000);
      }
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
  // Files the translate road never reads (the sentence list is --batch's;
  // every start writes the F-structure file). The manifest is checked by
  // every start (see the table above and the engine set-up tests).
  const std::set<std::string> notRead = {"README.md",   ".translator.lock",     "data/LogFile.Log",
                                         "SenList.txt", "data/FStructures.xml", kManifest,
                                         kTimeLimitFile};
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
