// The sentence list and the benchmark of the translator program, end to end
// on copies of the shipped data root.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/engine/translator_dlg.h"
#include "batch_test_support.h"
#include "core/config_store.h"
#include "core/file_writer.h"
#include "core/trace_log.h"

namespace app_test {
namespace {

class BatchMode : public ::testing::Test {
 protected:
  ProgramRun Run(std::vector<std::string> arguments, const std::string& input = "") {
    arguments.insert(arguments.begin(), {"--data-root", root_.path().string()});
    return RunTranslatorProgram(arguments, input);
  }

  DataRootCopy root_;
  TempDir files_;
};

struct BatchRecord {
  std::string sentence;
  std::string result;
};

// The records of a result file; a record's further generated sentences
// follow on lines of their own.
std::vector<BatchRecord> ReadRecords(const std::string& path) {
  std::vector<BatchRecord> records;
  for (const std::string& line : CrLfLines(ReadUtf16AsUtf8(path))) {
    BatchRecord parsed;
    if (ParseBatchRecord(line, parsed.sentence, parsed.result)) {
      records.push_back(parsed);
    } else {
      EXPECT_FALSE(records.empty()) << "a line before the first record: " << line;
      if (!records.empty()) records.back().result += "\n" + line;
    }
  }
  return records;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(BatchMode, EverySentenceGetsARecordAndTheParsedOnesTheirFStructure) {
  const std::vector<std::string> sentences = {"I gave him a book", "The boy reads a book", "book book gave the",
                                              "I gave R&D a book", "He reads a book <b>"};
  std::string list;
  for (const std::string& sentence : sentences) list += sentence + ".\r\n";
  WriteTextFile(files_.File("list.txt"), list);

  const ProgramRun run = Run({"--batch", files_.File("list.txt"), "--output", files_.File("out.txt")});
  EXPECT_EQ(run.exitCode, 1) << run.errors;  // one sentence is not parsed
  EXPECT_NE(run.errors.find("Sentence list: 5 sentences, "), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find(", 1 not parsed\n"), std::string::npos) << run.errors;
  const std::vector<BatchRecord> records = ReadRecords(files_.File("out.txt"));
  ASSERT_EQ(records.size(), sentences.size());
  for (size_t i = 0; i < sentences.size(); ++i) EXPECT_EQ(records[i].sentence, sentences[i]);
  EXPECT_EQ(records[0].result, "میں نے اسے ایک کتاب دی۔");
  EXPECT_EQ(records[2].result, "Not Parsed");
  // The other sentences parse (their F-structures follow); whether the data
  // gives them Urdu is the data's business.
  for (size_t i : {1u, 3u, 4u}) EXPECT_NE(records[i].result, "Not Parsed") << sentences[i];

  // The F-structure file: well formed, one sentence element per parsed
  // sentence, the sentences escaped.
  const std::string fStructures = root_.File("data/FStructures.xml");
  EXPECT_TRUE(IsWellFormedXml(fStructures));
  const std::string xml = ReadUtf16AsUtf8(fStructures);
  EXPECT_EQ(xml.rfind("<F-Structures><Sentence>I&#32;gave&#32;him&#32;a&#32;book</Sentence><ROOT>", 0), 0u) << xml;
  EXPECT_EQ(Count(xml, "<Sentence>"), 4u);
  EXPECT_NE(xml.find("R&amp;D"), std::string::npos);
  EXPECT_NE(xml.find("&lt;b&gt;"), std::string::npos);
  EXPECT_EQ(xml.substr(xml.size() - 15), "</F-Structures>");

  // The same Urdu as the stream of the main road, where there is Urdu.
  std::string lines;
  for (const std::string& sentence : sentences) lines += sentence + "\n";
  const std::vector<std::string> stream = Lines(Run({}, lines).output);
  ASSERT_EQ(stream.size(), sentences.size());
  for (size_t i = 0; i < sentences.size(); ++i) {
    if (records[i].result != "Not Parsed" && records[i].result != "Parsed") {
      // A sentence translated in part names what it leaves out after a tab.
      EXPECT_EQ(records[i].result.substr(0, records[i].result.find('\t')), stream[i]) << sentences[i];
    }
  }
}

// A sentence translated in part keeps its Urdu in the record, which names
// what it leaves out as the stream's message does; it is not counted as
// translated.
TEST_F(BatchMode, ASentenceTranslatedInPartKeepsItsUrduAndNamesWhatItLeavesOut) {
  struct Case {
    const char* sentence;
    std::string result;              // the record's result; empty: Urdu that the stream also prints
    std::vector<std::string> named;  // words after "Not translated: "
  };
  const std::vector<Case> cases = {
      {"I gave him a book", "میں نے اسے ایک کتاب دی۔", {}},
      {"We ate rice yesterday", "", {"rice", "yesterday"}},
      {"I gave him a book \u2605", "", {"\u2605"}},
      {"book book gave the", "Not Parsed", {}},
  };
  std::string list;
  std::string lines;
  for (const Case& c : cases) {
    list += std::string(c.sentence) + ".\r\n";
    lines += std::string(c.sentence) + "\n";
  }
  WriteTextFile(files_.File("list.txt"), list);
  const ProgramRun run = Run({"--batch", files_.File("list.txt"), "--output", files_.File("out.txt")});
  EXPECT_EQ(run.exitCode, 1) << run.errors;
  EXPECT_NE(run.errors.find("Sentence list: 4 sentences, 1 translated, 2 translated in part, 0 parsed without Urdu, "
                            "1 not parsed\n"),
            std::string::npos)
      << run.errors;
  const std::vector<BatchRecord> records = ReadRecords(files_.File("out.txt"));
  const std::vector<std::string> stream = Lines(Run({}, lines).output);
  ASSERT_EQ(records.size(), cases.size());
  ASSERT_EQ(stream.size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const std::string& result = records[i].result;
    if (c.named.empty()) {
      EXPECT_EQ(result, c.result) << c.sentence;
      continue;
    }
    const size_t tab = result.find("\tNot translated: ");
    ASSERT_NE(tab, std::string::npos) << c.sentence << ": " << result;
    EXPECT_EQ(result.substr(0, tab), stream[i]) << c.sentence;
    EXPECT_FALSE(stream[i].empty()) << c.sentence;
    for (const std::string& word : c.named) {
      EXPECT_NE(result.find(word, tab), std::string::npos) << c.sentence << ": " << word << " not named in " << result;
    }
  }
}

TEST_F(BatchMode, TheShippedSentenceListIsTheDefault) {
  const ProgramRun run = Run({"--batch"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_NE(run.errors.find("Completed..."), std::string::npos);
  const std::vector<BatchRecord> records = ReadRecords(root_.File("TranslatedSenList.txt"));
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records[0].sentence, "I gave him a book");
  EXPECT_EQ(records[0].result, "میں نے اسے ایک کتاب دی۔");
}

TEST_F(BatchMode, FilesThatCannotBeReadOrWrittenEndTheRunWithExitFour) {
  WriteTextFile(files_.File("list.txt"), "I gave him a book.");
  const std::vector<std::vector<std::string>> cases = {
      {"--batch", files_.File("missing.txt")},
      {"--batch", files_.File("list.txt"), "--output", files_.File("no/such/folder/out.txt")},
      {"--benchmark", files_.File("missing.txt")},
      {"--benchmark", files_.File("list.txt"), "--output", files_.File("no/such/folder/out.txt")},
  };
  for (const std::vector<std::string>& arguments : cases) {
    const ProgramRun run = Run(arguments);
    EXPECT_EQ(run.exitCode, 4) << arguments[1] << run.errors;
    EXPECT_EQ(run.errors.find("Completed..."), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("cannot be"), std::string::npos) << run.errors;
  }
  // Without the keys the benchmark has no files to work on.
  root_.RemoveKey("SenList_FileName");
  EXPECT_EQ(Run({"--benchmark"}).exitCode, 4);
}

// Sentence files as a text editor writes them: UTF-8, with or without the
// mark; bytes that are no Unicode text end the run as an unreadable file.
TEST_F(BatchMode, Utf8SentenceFilesAreTranslatedAndOtherBytesRefused) {
  struct Case {
    const char* mode;
    std::string bytes;
    int exitCode;
    const char* firstResult;  // the first record's result
  };
  const Case cases[] = {
      {"--batch", "I gave him a book.\nThe boy reads a book.\n", 0, "میں نے اسے ایک کتاب دی۔"},
      {"--batch", "\xEF\xBB\xBFI gave him a book.\r\n", 0, "میں نے اسے ایک کتاب دی۔"},
      {"--benchmark", "\xEF\xBB\xBFI gave him a book.\n", 0, nullptr},
      {"--batch", "I gave him a caf\xE9 book.\n", 4, nullptr},
      {"--benchmark", "I gave him a caf\xE9 book.\n", 4, nullptr},
  };
  for (const Case& c : cases) {
    const std::string list = files_.File("list.txt");
    const std::string out = files_.File("out.txt");
    std::filesystem::remove(out);
    { std::ofstream(list, std::ios::binary) << c.bytes; }
    const ProgramRun run = Run({c.mode, list, "--output", out});
    EXPECT_EQ(run.exitCode, c.exitCode) << c.mode << " " << c.bytes << run.errors;
    if (c.exitCode != 0) {
      EXPECT_NE(run.errors.find("list.txt"), std::string::npos) << run.errors;
      continue;
    }
    const std::string written = ReadUtf16AsUtf8(out);
    if (c.firstResult != nullptr) {
      const std::vector<BatchRecord> records = ReadRecords(out);
      ASSERT_FALSE(records.empty()) << written;
      EXPECT_EQ(records[0].sentence, "I gave him a book");
      EXPECT_EQ(records[0].result, c.firstResult);
    } else {
      EXPECT_EQ(written.rfind("i gave him a book,", 0), 0u) << written;
    }
  }
}

TEST_F(BatchMode, TheBenchmarkWritesOneLowerCasedRecordPerSentence) {
  WriteTextFile(files_.File("list.txt"), "I gave him a book.\r\nThe BOY reads a book..\r\nbook book gave the.\r\n");
  const ProgramRun run = Run({"--benchmark", files_.File("list.txt"), "--output", files_.File("bench.txt")});
  EXPECT_EQ(run.exitCode, 1) << run.errors;
  std::string rest;
  const auto records = BenchmarkRecords(ReadUtf16AsUtf8(files_.File("bench.txt")), rest);
  EXPECT_TRUE(rest.empty()) << "text between records: " << rest;
  const std::vector<std::pair<std::string, std::string>> expected = {{"i gave him a book", "parsed"},
                                                                     {"\r\nthe boy reads a book", "parsed"},
                                                                     {"\r\nbook book gave the", "not parsed"}};
  EXPECT_EQ(records, expected);
}

// The program-wide F-structure file is made anew, empty but for its mark,
// at every start, and a second sentence-list run in the same process writes
// a whole file again.
TEST_F(BatchMode, TheFStructureFileLivesForOneRun) {
  const std::string fStructures = root_.File("data/FStructures.xml");
  EXPECT_EQ(Run({"I gave him a book"}).exitCode, 0);
  EXPECT_EQ(ReadBytes(fStructures), (std::vector<unsigned char>{0xFF, 0xFE}));

  WriteTextFile(files_.File("list.txt"), "I gave him a book.");
  CurrentFolder inside(root_.path());
  MessageRecorder messages;
  {
    CTranslatorDlg translator;
    ASSERT_TRUE(translator.InitializeEngine());
    for (int run = 0; run < 2; ++run) {
      const CListRunSummary summary =
          translator.TranslateSentenceList({files_.File("list.txt"), files_.File("out.txt")});
      EXPECT_TRUE(summary.AllTranslated()) << summary.failureText;
      EXPECT_FALSE(FStructuresXmlStream().IsOpen());
      EXPECT_TRUE(IsWellFormedXml(fStructures)) << "run " << run;
      EXPECT_EQ(Count(ReadUtf16AsUtf8(fStructures), "<Sentence>"), 1u);
    }
  }
  CloseTraceLog();
  ClearConfiguration();
}

}  // namespace
}  // namespace app_test
