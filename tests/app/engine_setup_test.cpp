// Engine set-up over data roots in temporary folders: broken roots stop it
// with one message, and a start that loads the compiled files translates as
// the compiling start did.
#include <gtest/gtest.h>

#include "analysis/cfg/cfg_chart.h"
#include "app/engine/translator_dlg.h"
#include "app_test_support.h"
#include "constraints/fsitem_lookup_table.h"
#include "constraints/p_fstructure.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "platform/utf8.h"

namespace app_test {
namespace {

std::string Texts(const std::vector<MessageRecorder::Message>& messages) {
  std::string texts;
  for (const auto& message : messages) texts += ToUtf8(message.caption) + ": " + ToUtf8(message.text) + "\n";
  return texts;
}

class EngineSetUp : public ::testing::Test {
 protected:
  void TearDown() override { ClearConfiguration(); }

  // Sets the engine up in the data root; the messages shown meanwhile.
  bool SetUpIn(CTranslatorDlg& translator) { return SetUpIn(translator, root_); }
  bool SetUpIn(CTranslatorDlg& translator, const DataRootCopy& root) {
    CurrentFolder inside(root.path());
    messages_.clear();
    return translator.InitializeEngine();
  }

  DataRootCopy root_;
  MessageRecorder messages_;
};

TEST_F(EngineSetUp, BrokenDataRootsStopSetUpWithOneMessage) {
  struct Case {
    const char* name;
    std::function<void(DataRootCopy&)> breakRoot;
    const char* named;  // what the message must name
  };
  const std::vector<Case> cases = {
      {"no configuration", [](DataRootCopy& root) { std::filesystem::remove(root.File("EConfig.inf")); },
       "EConfig.inf"},
      {"a required key missing", [](DataRootCopy& root) { root.RemoveKey("SegmentRules"); }, "SegmentRules"},
      {"a frequency that is no number", [](DataRootCopy& root) { root.SetKey("MapLexStdFreq", "often"); },
       "MapLexStdFreq"},
      {"a broken grammar",
       [](DataRootCopy& root) { root.WriteDataFile("data/english/EGrammarRules.txt", u"S' -> @NOSUCHMACRO ."); },
       "EGrammarRules.txt"},
      {"a broken lexicon",
       [](DataRootCopy& root) { root.WriteDataFile("data/english/ELexicon.txt", u"book: nosuchpos, ^NUM=sg.\r\n"); },
       "ELexicon.txt"},
      {"no segmentation rules", [](DataRootCopy& root) { root.SetKey("SegmentRules", "data\\NoSuchRules.txt"); },
       "NoSuchRules.txt"},
      {"no common symbol table on a loading start",
       [](DataRootCopy& root) {
         root.SetKey("CompileLexicon", "no");
         root.SetKey("CommonSymbolTableFileName", "data\\NoSuchTable.sym");
       },
       "NoSuchTable.sym"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DataRootCopy root;
    c.breakRoot(root);
    CTranslatorDlg translator;
    EXPECT_FALSE(SetUpIn(translator, root));
    EXPECT_FALSE(translator.IsReady());
    // A key of the configuration: the store names the key, set-up the file.
    const bool keyRow = std::string(c.named) == "SegmentRules" || std::string(c.named) == "MapLexStdFreq";
    ASSERT_EQ(messages_.messages().size(), keyRow ? 2u : 1u) << Texts(messages_.messages());
    EXPECT_NE(ToUtf8(messages_.messages()[0].text).find(c.named), std::string::npos) << Texts(messages_.messages());
    if (keyRow) {
      EXPECT_NE(ToUtf8(messages_.messages()[1].text).find("EConfig.inf"), std::string::npos)
          << Texts(messages_.messages());
    }
    EXPECT_EQ(translator.m_pCfgParser, nullptr);
    const CTranslationResult result = translator.OnTranslate(u"I gave him a book");
    EXPECT_FALSE(result.translated);
    EXPECT_TRUE(result.output.empty());
  }
}

// Data files that differ from the data manifest, and a damaged manifest:
// set-up stops before any loader reads them, naming the file and the command
// that rebuilds the data root.
TEST_F(EngineSetUp, FilesThatDifferFromTheManifestAreRefusedByName) {
  const auto flipByte = [](const std::string& path, size_t at) {
    std::vector<unsigned char> bytes = ReadBytes(path);
    ASSERT_GT(bytes.size(), at);
    bytes[at] ^= 0x01;
    WriteBytes(path, bytes);
  };
  const auto cut = [](const std::string& path, size_t keep) {
    std::vector<unsigned char> bytes = ReadBytes(path);
    bytes.resize(std::min(bytes.size(), keep));
    WriteBytes(path, bytes);
  };
  struct Case {
    const char* name;
    std::function<void(DataRootCopy&)> damage;
    const char* named;  // nullptr: set-up succeeds
  };
  const std::vector<Case> cases = {
      {"intact", [](DataRootCopy&) {}, nullptr},
      {"the configuration is the user's to edit", [](DataRootCopy& root) { root.SetKey("Domain", "News"); }, nullptr},
      {"one bit of the Urdu lexicon", [&](DataRootCopy& root) { flipByte(root.File("data/ULexicon.txt"), 4000); },
       "'data/ULexicon.txt'"},
      {"the Urdu grammar cut", [&](DataRootCopy& root) { cut(root.File("data/UGrammarRules.txt"), 900); },
       "'data/UGrammarRules.txt'"},
      {"the transition table missing",
       [](DataRootCopy& root) { std::filesystem::remove(root.File("data/tokeniser/TransitionTable.txt")); },
       "'data/tokeniser/TransitionTable.txt'"},
      {"one bit of the manifest", [&](DataRootCopy& root) { flipByte(root.File("DataManifest.txt"), 300); },
       "'DataManifest.txt'"},
      {"the manifest cut at a line end",
       [&](DataRootCopy& root) {
         const std::string text = ReadUtf16AsUtf8(root.File("DataManifest.txt"));
         WriteUtf16File(root.File("DataManifest.txt"), FromUtf8(text.substr(0, text.find("\r\n", 400) + 2)));
       },
       "'DataManifest.txt'"},
      {"the manifest emptied", [&](DataRootCopy& root) { cut(root.File("DataManifest.txt"), 0); },
       "'DataManifest.txt'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DataRootCopy root;
    c.damage(root);
    CTranslatorDlg translator;
    const bool ready = SetUpIn(translator, root);
    if (c.named == nullptr) {
      EXPECT_TRUE(ready) << Texts(messages_.messages());
      continue;
    }
    EXPECT_FALSE(ready);
    ASSERT_EQ(messages_.messages().size(), 1u) << Texts(messages_.messages());
    const std::string text = ToUtf8(messages_.messages()[0].text);
    EXPECT_NE(text.find(c.named), std::string::npos) << text;
    EXPECT_NE(text.find("python3 tools/sync_data.py"), std::string::npos) << text;
  }
}

TEST_F(EngineSetUp, AStaleDumpIsRefused) {
  {
    CTranslatorDlg compiling;
    ASSERT_TRUE(SetUpIn(compiling)) << Texts(messages_.messages());
  }
  // The lexicon dump of another compile beside this compile's grammar dump.
  {
    DataRootCopy other;
    CTranslatorDlg compilingOther;
    CurrentFolder inside(other.path());
    other.WriteDataFile("data/english/ELexicon.txt", FromUtf8(ReadUtf16AsUtf8(other.File("data/english/ELexicon.txt")) +
                                                              "zebra: n, ^PRED='zebra'.\r\n"));
    ASSERT_TRUE(compilingOther.InitializeEngine()) << Texts(messages_.messages());
    std::filesystem::copy_file(other.File("data/english/ELexicon.dmp"), root_.File("data/english/ELexicon.dmp"),
                               std::filesystem::copy_options::overwrite_existing);
  }
  root_.SetKey("CompileLexicon", "no");
  root_.SetKey("CompileP_Grammar", "no");
  CTranslatorDlg loading;
  EXPECT_FALSE(SetUpIn(loading));
  EXPECT_EQ(messages_.messages().size(), 1u) << Texts(messages_.messages());
}

// Output and both trees of each sentence, as text.
std::vector<std::string> TranslateAll(CTranslatorDlg& translator, const std::vector<const char*>& sentences) {
  std::vector<std::string> shown;
  for (const char* sentence : sentences) {
    const CTranslationResult result = translator.OnTranslate(FromUtf8(sentence));
    shown.push_back(ToUtf8(result.output) + "\n" + RenderTreeText(result.sourceTree) +
                    RenderTreeText(result.targetTree));
  }
  return shown;
}

TEST_F(EngineSetUp, ALoadingStartTranslatesAsTheCompilingStartDid) {
  const std::vector<const char*> sentences = {
      "I gave him a book",       "The boy reads a book", "Tom is happy",      "I want to go",
      "He wants to read a book", "Close your book",      "Where do you live", "I don't know her",
      "Tom's book is old",       "We'll wait",           "I am a teacher",    "The book is on the table"};
  std::vector<std::string> compiled;
  {
    CTranslatorDlg compiling;
    ASSERT_TRUE(SetUpIn(compiling)) << Texts(messages_.messages());
    CurrentFolder inside(root_.path());
    compiled = TranslateAll(compiling, sentences);
  }
  root_.SetKey("CompileLexicon", "no");
  root_.SetKey("CompileP_Grammar", "no");
  CTranslatorDlg loading;
  ASSERT_TRUE(SetUpIn(loading)) << Texts(messages_.messages());
  CurrentFolder inside(root_.path());
  EXPECT_EQ(TranslateAll(loading, sentences), compiled);
}

TEST_F(EngineSetUp, EverySentenceLeavesTheRegistriesEmpty) {
  CTranslatorDlg translator;
  ASSERT_TRUE(SetUpIn(translator)) << Texts(messages_.messages());
  CurrentFolder inside(root_.path());
  const int16_t permanentItems = fsitem_lookup_table.count;
  for (const char* sentence : {"I gave him a book", "Him reads a book", "The boy reads a book in the garden",
                               "Tom and Mary killed themselves", "zzz qqq"}) {
    SCOPED_TRACE(sentence);
    translator.OnTranslate(FromUtf8(sentence));
    ExpectRegistriesEmpty();
    EXPECT_EQ(fsitem_lookup_table.count, permanentItems);
  }
}

}  // namespace
}  // namespace app_test
