// The grammar's developer listings on a small grammar whose listings are
// known line by line, and on the shipped Urdu grammar.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/file_reader.h"
#include "resources/lfg/grammar_listings.h"
#include "resources/lfg/grammar_test_helpers.h"

using namespace grammar_test;

namespace {

WString ReadText(const std::string& path) { return CFileReader(1024).ReadAll(path); }

std::string ReadBytesText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string SourceDir() {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  return root != nullptr ? root : ".";
}

// A file of tests/data/lfg with CR LF line ends.
WString DataFile(const std::string& name) {
  std::ifstream in(SourceDir() + "/tests/data/lfg/" + name);
  WString text;
  for (char c; in.get(c);) text += c == '\n' ? u"\r\n" : WString(1, static_cast<unsigned char>(c));
  return text;
}

class GrammarListingsTest : public ::testing::Test {
 protected:
  TempDir dir;
  MessageRecorder messages;
  std::unique_ptr<CGrammar> grammar = Compile(dir, DataFile("english.rules"), DataFile("english.macros"));
};

// "{n}" in an expected listing stands for the global id of the terminal n:
// terminal ids depend on what the process registered before.
std::string WithTerminalIds(std::string text) {
  for (const char16_t* terminal : {u"det", u"n", u"p", u"pron", u"v"}) {
    const std::string mark = "{" + ToUtf8(terminal) + "}";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
      text.replace(at, mark.size(), std::to_string(Id(terminal)));
    }
  }
  return text;
}

TEST_F(GrammarListingsTest, EachListingOfTheSmallGrammarHasItsExactText) {
  // Listing, whether it is the console's UTF-8 text (else UTF-16 with the
  // mark), the text. Category ids are given in store order: N' 1, NP 2,
  // PP 3, S 4, VP 5.
  const std::tuple<const char*, bool, const char*> cases[] = {
      {"raw-productions", true,
       "\nS ==> \t\tNP ^SUBJ=!, ^SUBJ CASE=nom \n\t\tVP ^=! \n\t\t.  \n"
       "\nVP ==> \t\tv ^=! \n\t\t.  \n"
       "\nVP ==> \t\tv ^=! \n\t\tNP ^OBJ=!, ^OBJ CASE=acc \n\t\t.  \n"
       "\nVP ==> \t\tv ^=! \n\t\tNP ^OBJ=!, ^OBJ CASE=acc \n\t\tNP ^OBJ2=! \n\t\t.  \n"
       "\nVP ==> \t\tVP ^=! \n\t\tPP !$^ADJUNCT \n\t\t.  \n"
       "\nNP ==> \t\tNP ^=! \n\t\tPP !$^ADJUNCT \n\t\t.  \n"
       "\nNP ==> \t\tpron ^=! \n\t\t.  \n"
       "\nNP ==> \t\tdet ^=! \n\t\tN' ^=! \n\t\t.  \n"
       "\nN' ==> \t\tn ^=! \n\t\t.  \n"
       "\nPP ==> \t\tp ^=! \n\t\tNP ^OBJ=! \n\t\t.  \n"},
      {"production-counts", true, "\nN': 1\n\nNP: 3\n\nPP: 1\n\nS: 1\n\nVP: 4\n\n"},
      {"production-listing", false,
       "N' ==> n:^ =! ; \r\n"
       "NP ==> NP:^ =! ; PP:! $^ ADJUNCT; \r\n"
       "NP ==> pron:^ =! ; \r\n"
       "NP ==> det:^ =! ; N':^ =! ; \r\n"
       "PP ==> p:^ =! ; NP:^ OBJ=! ; \r\n"
       "S ==> NP:^ SUBJ=! , ^ SUBJ CASE=v nom; VP:^ =! ; \r\n"
       "VP ==> v:^ =! ; \r\n"
       "VP ==> v:^ =! ; NP:^ OBJ=! , ^ OBJ CASE=v acc; \r\n"
       "VP ==> v:^ =! ; NP:^ OBJ=! , ^ OBJ CASE=v acc; NP:^ OBJ2=! ; \r\n"
       "VP ==> VP:^ =! ; PP:! $^ ADJUNCT; \r\n"},
      {"production-numbers", false,
       "N'\t1\r\nNP\t2\r\nNP\t2\r\nNP\t2\r\nPP\t3\r\nS\t4\r\nVP\t5\r\nVP\t5\r\nVP\t5\r\nVP\t5\r\n"},
      {"numbered-productions", false,
       "1. N'(1) -> n({n}) \r\n"
       "2. NP(2) -> NP(2) PP(3) \r\n"
       "2. NP(2) -> pron({pron}) \r\n"
       "2. NP(2) -> det({det}) N'(1) \r\n"
       "3. PP(3) -> p({p}) NP(2) \r\n"
       "4. S(4) -> NP(2) VP(5) \r\n"
       "5. VP(5) -> v({v}) \r\n"
       "5. VP(5) -> v({v}) NP(2) \r\n"
       "5. VP(5) -> v({v}) NP(2) NP(2) \r\n"
       "5. VP(5) -> VP(5) PP(3) \r\n"},
  };
  for (const auto& [listing, console, expected] : cases) {
    const std::string path = dir.File(std::string(listing) + ".txt");
    ASSERT_TRUE(RunGrammarListing(*grammar, listing, path, dir.File("rules.lfg"))) << listing;
    const std::string text = console ? ReadBytesText(path) : ToUtf8(ReadText(path));
    EXPECT_EQ(text, WithTerminalIds(expected)) << listing;
  }
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(GrammarListingsTest, TheDerivationWalkTakesTheLastStackedProductionFirstAndStopsAt300) {
  ASSERT_TRUE(RunGrammarListing(*grammar, "derivation-stack", dir.File("stack.txt"), ""));
  const std::string text = ToUtf8(ReadText(dir.File("stack.txt")));
  // S, then the last VP production (VP is not stacked again below itself),
  // then the productions of PP and NP as they were stacked, the last first.
  const std::string start = WithTerminalIds(
      "S(4) -> NP(2) VP(5) \r\n"
      "VP(5) -> VP(5) PP(3) \r\n"
      "PP(3) -> p({p}) NP(2) \r\n"
      "NP(2) -> det({det}) N'(1) \r\n"
      "N'(1) -> n({n}) \r\n"
      "NP(2) -> pron({pron}) \r\n"
      "NP(2) -> NP(2) PP(3) \r\n"
      "PP(3) -> p({p}) NP(2) \r\n");
  EXPECT_EQ(text.substr(0, start.size()), start);
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 300u);  // the recursion through NP and PP never empties the stack
}

TEST_F(GrammarListingsTest, DefaultFilesConsoleOutputAndRefusals) {
  // The derivation walk and the category ids have the files the grammar
  // writer knows them by, in the current folder.
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  EXPECT_TRUE(RunGrammarListing(*grammar, "derivation-stack", "", ""));
  EXPECT_TRUE(RunGrammarListing(*grammar, "production-numbers", "", ""));
  std::filesystem::current_path(previous);
  EXPECT_EQ(ToUtf8(ReadText(dir.File("temp.txt"))).substr(0, 6), "N'\t1\r\n");
  EXPECT_EQ(ToUtf8(ReadText(dir.File("stackFile.txt"))).substr(0, 22), "S(4) -> NP(2) VP(5) \r\n");

  ::testing::internal::CaptureStdout();
  EXPECT_TRUE(RunGrammarListing(*grammar, "production-counts", "", ""));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "\nN': 1\n\nNP: 3\n\nPP: 1\n\nS: 1\n\nVP: 4\n\n");

  EXPECT_FALSE(RunGrammarListing(*grammar, "no-such-listing", dir.File("x.txt"), ""));
  EXPECT_FALSE(RunGrammarListing(*grammar, "production-listing", "", ""));
  EXPECT_FALSE(RunGrammarListing(*grammar, "numbered-productions", "", ""));
  EXPECT_FALSE(RunGrammarListing(*grammar, "production-counts", dir.File("no/such/folder/x.txt"), ""));
}

TEST_F(GrammarListingsTest, DeletingRawProductionsFreesEveryProductionAndSymbol) {
  const int productionsBefore = CRawProduction::liveInstances;
  const int symbolsBefore = CRawSymbol::liveInstances;
  auto list = std::make_unique<RawProductionList>(grammar->TokenizeRules(dir.File("rules.lfg")));
  EXPECT_EQ(CRawProduction::liveInstances, productionsBefore + 10);
  CGrammar::DeleteRawProductions(std::move(list));
  EXPECT_EQ(CRawProduction::liveInstances, productionsBefore);
  EXPECT_EQ(CRawSymbol::liveInstances, symbolsBefore);
  CGrammar::DeleteRawProductions(nullptr);
}

TEST_F(GrammarListingsTest, EveryListingRunsOnTheShippedUrduGrammar) {
  const std::string data = SourceDir() + "/dataroot/data/";
  CGrammar urdu(data + "UGrammarRules.txt", data + "UGrammarMacros.txt", dir.File("ULfg.lfg"), dir.File("UCfg.cfg"),
                nullptr, false, true);
  size_t productions = urdu.Store()->size();
  ASSERT_GT(productions, 0u);
  for (const std::string& name : GrammarListingNames()) {
    const std::string path = dir.File("u-" + name + ".txt");
    ASSERT_TRUE(RunGrammarListing(urdu, name, path, dir.File("ULfg.lfg"))) << name;
    const bool console = name == "raw-productions" || name == "production-counts";
    const std::string text = console ? ReadBytesText(path) : ToUtf8(ReadText(path));
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    if (name == "production-listing" || name == "production-numbers" || name == "numbered-productions") {
      EXPECT_EQ(lines, productions) << name;  // one line per production
    } else {
      EXPECT_GT(lines, 1u) << name;
    }
    if (name == "derivation-stack") {
      EXPECT_EQ(text.substr(0, 2), "S(") << text.substr(0, 80);
      EXPECT_LE(lines, 300u);
    }
  }
  EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
