// The translator's command line and its data-root lock.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/cli/command_line.h"
#include "app/cli/data_root.h"
#include "support/test_support.h"

namespace {

CommandLineOutcome Parse(std::vector<const char*> arguments, CCommandLine& commandLine, std::string& text) {
  arguments.insert(arguments.begin(), "translator");
  return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data(), commandLine, text);
}

TEST(CommandLine, OptionsAndSentenceAreRead) {
  CCommandLine commandLine;
  std::string text;
  ASSERT_EQ(Parse({"--data-root", "/first", "--trees", "--data-root", "/second", "--domain", "News", "I", "gave", "him",
                   "a", "book", "--alternatives", "--show-cstructure"},
                  commandLine, text),
            CommandLineOutcome::kRun)
      << text;
  EXPECT_EQ(commandLine.dataRoot, "/second");
  EXPECT_EQ(commandLine.Sentence(), "I gave him a book");
  EXPECT_TRUE(commandLine.domainGiven);
  EXPECT_EQ(commandLine.domain, "News");
  EXPECT_TRUE(commandLine.trees && commandLine.alternatives && commandLine.showCStructure);
}

TEST(CommandLine, RelativeDataRootsBecomeAbsolute) {
  CCommandLine commandLine;
  std::string text;
  ASSERT_EQ(Parse({"--data-root", "some/root"}, commandLine, text), CommandLineOutcome::kRun);
  EXPECT_EQ(commandLine.dataRoot, (std::filesystem::current_path() / "some/root").string());
  EXPECT_FALSE(commandLine.HasSentence());
  EXPECT_FALSE(commandLine.domainGiven);
}

TEST(CommandLine, HelpNamesTheExitCodesAndWrongOptionsAreUsageErrors) {
  CCommandLine commandLine;
  std::string text;
  ASSERT_EQ(Parse({"--help"}, commandLine, text), CommandLineOutcome::kHelp);
  for (const char* part : {"--data-root", "--domain", "--trees", "--show-cstructure", "--alternatives",
                           "0  every sentence translated", "4  a file cannot be read or written"}) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  }
  for (std::vector<const char*> wrong :
       {std::vector<const char*>{"--no-such-option"}, std::vector<const char*>{"--data-root"},
        std::vector<const char*>{"--domain"}}) {
    CCommandLine other;
    EXPECT_EQ(Parse(wrong, other, text), CommandLineOutcome::kUsageError) << wrong[0];
  }
}

TEST(CommandLine, OnlyTheKnownDomainsAreAcceptedAndARefusalListsThem) {
  struct Case {
    const char* value;
    bool accepted;
  };
  for (const Case& c : {Case{"None", true}, Case{"News", true}, Case{"Weather", true}, Case{"Agriculture", true},
                        Case{"news", false}, Case{"Sports", false}, Case{"", false}, Case{"News ", false}}) {
    CCommandLine commandLine;
    std::string text;
    const CommandLineOutcome outcome = Parse({"--domain", c.value, "a", "book"}, commandLine, text);
    if (c.accepted) {
      EXPECT_EQ(outcome, CommandLineOutcome::kRun) << c.value << ": " << text;
      EXPECT_EQ(commandLine.domain, c.value);
      continue;
    }
    EXPECT_EQ(outcome, CommandLineOutcome::kUsageError) << "'" << c.value << "'";
    for (const char* domain : {"None", "News", "Weather", "Agriculture"}) {
      EXPECT_NE(text.find(domain), std::string::npos) << c.value << ": " << text;
    }
  }
}

TEST(DataRootLock, ASecondHolderWaitsAndLearnsWhoHoldsIt) {
  TempDir dir;
  CDataRootLock first;
  ASSERT_EQ(first.Acquire(dir.path().string(), std::chrono::milliseconds(0)), CDataRootLock::Outcome::kAcquired);
  CDataRootLock second;
  EXPECT_EQ(second.Acquire(dir.path().string(), std::chrono::milliseconds(120)), CDataRootLock::Outcome::kBusy);
  EXPECT_NE(second.holder().find("process "), std::string::npos) << second.holder();
  first.Release();
  EXPECT_EQ(second.Acquire(dir.path().string(), std::chrono::milliseconds(0)), CDataRootLock::Outcome::kAcquired);
}

TEST(DataRootLock, AFolderWithoutRoomForTheLockIsAFileError) {
  TempDir dir;
  CDataRootLock lock;
  EXPECT_EQ(lock.Acquire(dir.File("missing"), std::chrono::milliseconds(0)), CDataRootLock::Outcome::kFileError);
  EXPECT_FALSE(lock.error().empty());
  std::string error;
  EXPECT_FALSE(EnterDataRoot(dir.File("missing"), error));
  EXPECT_NE(error.find("is not a folder"), std::string::npos);
}

TEST(DataRootLock, AWaitingHolderIsToldOnceWhoHoldsIt) {
  TempDir dir;
  CDataRootLock first;
  ASSERT_EQ(first.Acquire(dir.path().string(), std::chrono::milliseconds(0)), CDataRootLock::Outcome::kAcquired);
  std::vector<std::string> told;
  CDataRootLock second;
  EXPECT_EQ(second.Acquire(dir.path().string(), std::chrono::milliseconds(200),
                           [&told](const std::string& holder) { told.push_back(holder); }),
            CDataRootLock::Outcome::kBusy);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("process "), std::string::npos) << told[0];
}

// Deleting the lock file while a run holds the root lets nobody in: the
// folder itself is locked too.
TEST(DataRootLock, ADeletedLockFileLetsNobodyIn) {
  TempDir dir;
  CDataRootLock first;
  ASSERT_EQ(first.Acquire(dir.path().string(), std::chrono::milliseconds(0)), CDataRootLock::Outcome::kAcquired);
  std::filesystem::remove(dir.File(kDataRootLockFile));
  CDataRootLock second;
  EXPECT_EQ(second.Acquire(dir.path().string(), std::chrono::milliseconds(100)), CDataRootLock::Outcome::kBusy);
  first.Release();
  EXPECT_EQ(second.Acquire(dir.path().string(), std::chrono::milliseconds(0)), CDataRootLock::Outcome::kAcquired);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct PlantedLockCase {
  const char* name;
  void (*plant)(const std::string& lockPath, const std::string& precious);
  const char* reason;
};

// Whatever is planted where the lock file goes is refused untouched: the
// lock never follows a link to overwrite another file, and never blocks on
// a FIFO.
TEST(DataRootLock, APlantedLockFileIsRefusedAndLeftAlone) {
  const std::vector<PlantedLockCase> cases = {
      {"a link to a file",
       [](const std::string& lock, const std::string& precious) { std::filesystem::create_symlink(precious, lock); },
       "symbolic link"},
      {"a dangling link",
       [](const std::string& lock, const std::string& precious) {
         std::filesystem::create_symlink(precious + ".missing", lock);
       },
       "symbolic link"},
      {"a FIFO", [](const std::string& lock, const std::string&) { ASSERT_EQ(mkfifo(lock.c_str(), 0600), 0); },
       "not a plain file"},
      {"a folder", [](const std::string& lock, const std::string&) { std::filesystem::create_directory(lock); }, ""},
  };
  for (const PlantedLockCase& c : cases) {
    TempDir dir;
    const std::string precious = dir.File("precious.txt");
    std::ofstream(precious) << "keep me";
    c.plant(dir.File(kDataRootLockFile), precious);
    CDataRootLock lock;
    EXPECT_EQ(lock.Acquire(dir.path().string(), std::chrono::milliseconds(0)), CDataRootLock::Outcome::kFileError)
        << c.name;
    EXPECT_NE(lock.error().find(c.reason), std::string::npos) << c.name << ": " << lock.error();
    EXPECT_EQ(ReadFile(precious), "keep me") << c.name;
    EXPECT_FALSE(std::filesystem::exists(precious + ".missing")) << c.name;
  }
}

TEST(DataRoot, AFolderWithoutConfigurationIsNamedWithTheWayOut) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(HoldsConfiguration(dir.path().string(), error));
  EXPECT_NE(error.find(dir.path().string()), std::string::npos) << error;
  EXPECT_NE(error.find("EConfig.inf"), std::string::npos) << error;
  EXPECT_NE(error.find("--data-root"), std::string::npos) << error;
  std::ofstream(dir.File("EConfig.inf")) << "";
  EXPECT_TRUE(HoldsConfiguration(dir.path().string(), error));
}

}  // namespace
