// What set-up builds and reads: the engine started for the English analysis
// alone (the benchmarks and the fuzzers start it so), and the condition texts
// of the data, which set-up reads once so that no sentence reads one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/lfg/lfg_parser.h"
#include "app/engine/translator_dlg.h"
#include "app_test_support.h"
#include "core/config_store.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "transfer/generation/urdu_sentence_generator.h"
#include "transfer/walk/f_structure_mapper.h"

namespace app_test {
namespace {

class EngineScopeTest : public ::testing::Test {
 protected:
  void TearDown() override { ClearConfiguration(); }

  bool Start(CTranslatorDlg& translator, EngineScope scope) {
    CurrentFolder inside(root_.path());
    return translator.InitializeEngine(scope);
  }
  CTranslationResult Translate(CTranslatorDlg& translator, const char* sentence) {
    CurrentFolder inside(root_.path());
    return translator.OnTranslate(FromUtf8(sentence));
  }
  void SetCompileKeys(const char* value) {
    for (const char* key : {"CompileLexicon", "CompileP_Grammar", "CompileMapper"}) root_.SetKey(key, value);
  }

  DataRootCopy root_;
  MessageRecorder messages_;
};

// The analysis engine parses every segment and stops there; what it
// compiled never lets a later whole start load files of another compile.
TEST_F(EngineScopeTest, TheAnalysisEngineParsesEachSegmentAndMapsNothing) {
  root_.UseGenerousTimeLimit();
  std::vector<std::string> whole;
  const std::vector<const char*> sentences = {"I gave him a book.", "He was tired so he went to bed.",
                                              "The boy reads a book."};
  {
    CTranslatorDlg translator;
    ASSERT_TRUE(Start(translator, EngineScope::kTranslation));
    for (const char* sentence : sentences) whole.push_back(ToUtf8(Translate(translator, sentence).output));
  }
  {
    CTranslatorDlg translator;
    ASSERT_TRUE(Start(translator, EngineScope::kEnglishAnalysis)) << translator.SetUpFailure();
    EXPECT_EQ(translator.m_pMapper, nullptr);
    EXPECT_EQ(translator.m_pGenerator, nullptr);
    for (const char* sentence : sentences) {
      SCOPED_TRACE(sentence);
      const CTranslationResult result = Translate(translator, sentence);
      ASSERT_FALSE(result.segments.empty());
      for (const CSegmentOutcome& segment : result.segments) {
        EXPECT_TRUE(segment.parsed) << ToUtf8(segment.english);
        EXPECT_FALSE(segment.mapped);
        EXPECT_FALSE(segment.generated);
      }
      EXPECT_EQ(result.sourceTree.roots.size(), result.segments.size());
    }
  }
  CTranslatorDlg again;
  ASSERT_TRUE(Start(again, EngineScope::kTranslation));
  for (size_t i = 0; i < sentences.size(); ++i) {
    EXPECT_EQ(ToUtf8(Translate(again, sentences[i]).output), whole[i]) << sentences[i];
  }
}

// A root configured to load its compiled files reads them as they are: a
// damaged dump stops the analysis start (it is not compiled again behind the
// reader's back), and the intact files start it.
TEST_F(EngineScopeTest, ALoadingStartReadsTheCompiledFilesAsTheyAre) {
  {
    CTranslatorDlg compiling;
    ASSERT_TRUE(Start(compiling, EngineScope::kEnglishAnalysis));
  }
  SetCompileKeys("no");
  const std::filesystem::path dump = root_.path() / MapPath(root_.Key("DumpedEgrammar"));
  const std::uintmax_t size = std::filesystem::file_size(dump);
  {
    CTranslatorDlg loading;
    EXPECT_TRUE(Start(loading, EngineScope::kEnglishAnalysis)) << loading.SetUpFailure();
  }
  std::filesystem::resize_file(dump, size / 2);
  CTranslatorDlg damaged;
  EXPECT_FALSE(Start(damaged, EngineScope::kEnglishAnalysis));
  EXPECT_FALSE(messages_.messages().empty());
  EXPECT_EQ(std::filesystem::file_size(dump), size / 2) << "the damaged dump was written again";
}

// Every condition, constraint and LFG condition that the shipped data hold
// is read at set-up: translating sentences reads no further text.
TEST_F(EngineScopeTest, SetUpReadsEveryConditionOfTheData) {
  root_.UseGenerousTimeLimit();
  CTranslatorDlg translator;
  ASSERT_TRUE(Start(translator, EngineScope::kTranslation));
  const auto counts = [&translator] {
    return std::vector<size_t>{translator.m_pMapper->Engine().KnownConditions(),
                               translator.m_pGenerator->KnownConstraints(),
                               translator.m_pLFGParser->KnownConditions()};
  };
  const std::vector<size_t> atSetUp = counts();
  EXPECT_GT(atSetUp[0], 0u) << "mapping conditions";
  EXPECT_GT(atSetUp[1], 0u) << "generator constraints";
  for (const char* sentence : {"I gave him a book.", "The boy's mother gave the girl 25 books on 12 October 2005.",
                               "If you come, we will eat.", "She did not see the dog that he bought."}) {
    Translate(translator, sentence);
  }
  EXPECT_EQ(counts(), atSetUp);
}

}  // namespace
}  // namespace app_test
