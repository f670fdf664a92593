// Compile or load: a lexicon compiled from its raw file and dumped reads back
// equal; damaged, cut and foreign dumps are refused and leave it empty.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/file_reader.h"
#include "transfer/mapping/map_lexicon.h"
#include "transfer/mapping/mapping_test_support.h"

namespace mapping_test {
namespace {

std::string ReadUtf8(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Whether each entry of the headword is in its entries list once and the
// two lists point into it.
void ExpectListsPointIntoEntries(const CMapLexHeadword& headword) {
  std::vector<const CMapLexEntry*> listed(headword.conditionalEntries.begin(), headword.conditionalEntries.end());
  listed.insert(listed.end(), headword.unconditionalEntries.begin(), headword.unconditionalEntries.end());
  EXPECT_EQ(listed.size(), headword.entries.size());
  for (const CMapLexEntry* entry : listed) {
    EXPECT_EQ(std::count(headword.entries.begin(), headword.entries.end(), entry), 1);
  }
}

void ExpectSameLexicon(const CMapLexicon& loaded, const CMapLexicon& compiled) {
  ASSERT_EQ(loaded.Headwords().size(), compiled.Headwords().size());
  for (const auto& [id, want] : compiled.Headwords()) {
    SCOPED_TRACE(ToUtf8(GetSymbolName(id)));
    const CMapLexHeadword* got = loaded.FindHeadword(id);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->headword, id);
    ASSERT_EQ(got->entries.size(), want->entries.size());
    for (size_t i = 0; i < want->entries.size(); ++i) {
      EXPECT_TRUE(got->entries[i]->SameContent(*want->entries[i])) << i;
      EXPECT_EQ(got->entries[i]->weight, 1.0);
    }
    EXPECT_EQ(got->conditionalEntries.size(), want->conditionalEntries.size());
    ExpectListsPointIntoEntries(*got);
    ASSERT_EQ(got->defaultEntry != nullptr, want->defaultEntry != nullptr);
    if (want->defaultEntry) {
      EXPECT_TRUE(got->defaultEntry->SameContent(*want->defaultEntry));
      EXPECT_EQ(got->defaultEntry->weight, 1.0);
    }
  }
}

class MapLexiconDumpTest : public MappingTest {
 protected:
  void SetUp() override {
    MappingTest::SetUp();
    ASSERT_FALSE(SourceDir().empty()) << "LFG_SOURCE_DIR is not set";
    macros_ = SourceDir() + "/dataroot/data/mapping/MapMacros.txt";
    SetConfigValue("MapLexDump", dir_.File("MapLex.dmp"));
    SetConfigValue("CompileMapper", "yes");
  }

  // Compiles the raw text under the name (written into the temporary folder).
  std::unique_ptr<CMapLexicon> Compile(const std::string& rawName, const std::string& raw) {
    SetConfigValue("CompileMapper", "yes");
    auto lexicon = std::make_unique<CMapLexicon>(macros_, WriteText(rawName, raw), dir_.File("MapLexExt.mle"),
                                                 english_.get(), 1.0);
    return lexicon;
  }
  std::unique_ptr<CMapLexicon> Load() {
    SetConfigValue("CompileMapper", "no");
    messages_.clear();
    return std::make_unique<CMapLexicon>(macros_, dir_.File("MapLexRaw.mlr"), dir_.File("MapLexExt.mle"),
                                         english_.get(), 1.0);
  }
  std::vector<unsigned char> DumpBytes() { return ReadBytes(dir_.File("MapLex.dmp")); }
  void ExpectRefused(const std::string& why) {
    auto loaded = Load();
    EXPECT_TRUE(loaded->Headwords().empty()) << why;
    ASSERT_EQ(messages_.messages().size(), 1u) << why;
    EXPECT_NE(ToUtf8(messages_.messages()[0].text).find("MapLex.dmp"), std::string::npos);
  }

  std::string macros_;
};

TEST_F(MapLexiconDumpTest, ACompiledLexiconReadsBackEqual) {
  auto compiled = Compile("MapLexRaw.mlr", ReadUtf8(SourceDir() + "/tests/data/mapping/MapLexRaw.mlr"));
  EXPECT_TRUE(messages_.messages().empty());
  ASSERT_EQ(compiled->Headwords().size(), 5u);
  // The macros were expanded: NOUN gives PRED and GEND.
  const CMapLexHeadword* book = compiled->FindHeadword(Sym(u"book"));
  ASSERT_NE(book, nullptr);
  ASSERT_EQ(book->entries.size(), 1u);
  EXPECT_EQ(book->entries[0]->statements.size(), 2u);
  const CMapLexHeadword* give = compiled->FindHeadword(Sym(u"give"));
  ASSERT_NE(give, nullptr);
  EXPECT_TRUE(give->entries[0]->breakFlag);
  EXPECT_EQ(give->entries[0]->statements.size(), 4u);
  size_t headwords = 0, entries = 0;
  compiled->CountEntries(headwords, entries);
  EXPECT_EQ(entries, 10u);  // with the default entry of give
  EXPECT_EQ(headwords, compiled->Headwords().size());

  auto loaded = Load();
  EXPECT_TRUE(messages_.messages().empty());
  ExpectSameLexicon(*loaded, *compiled);
}

TEST_F(MapLexiconDumpTest, AHeadwordOfManyWordsReadsBackWhole) {
  std::string raw = "long [\n";
  for (int i = 0; i < 60; ++i)
    raw += "  (SUBJ.NUM == {sg}) --> PRED = 'a" + std::to_string(i) + "', OBJ = s::OBJ @" + std::to_string(i) + ";\n";
  raw += "]\nshort [ --> B ; ]\n";
  auto compiled = Compile("MapLexRaw.mlr", raw);
  ASSERT_GT(DumpBytes().size(), 2u * 200u * 2u);
  auto loaded = Load();
  EXPECT_TRUE(messages_.messages().empty());
  ExpectSameLexicon(*loaded, *compiled);
  EXPECT_EQ(loaded->FindHeadword(Sym(u"long"))->entries.size(), 60u);
}

TEST_F(MapLexiconDumpTest, ADumpOfAnotherSymbolTableIsRefused) {
  Compile("MapLexRaw.mlr", "book [ --> #NOUN('کتاب',f) ; ]");
  ClearSymbolTable();
  RegisterReservedSymbols();
  Sym(u"an earlier word");  // every later name gets another id
  ExpectRefused("another symbol table");
}

TEST_F(MapLexiconDumpTest, CutDumpsAreRefused) {
  Compile("MapLexRaw.mlr", ReadUtf8(SourceDir() + "/tests/data/mapping/MapLexRaw.mlr"));
  const std::vector<unsigned char> whole = DumpBytes();
  for (size_t length :
       {size_t{0}, size_t{1}, size_t{4}, size_t{7}, size_t{8}, whole.size() / 2, whole.size() - 2, whole.size() - 1}) {
    WriteBytes(dir_.File("MapLex.dmp"), std::vector<unsigned char>(whole.begin(), whole.begin() + long(length)));
    ExpectRefused("cut at " + std::to_string(length));
  }
  std::vector<unsigned char> longer = whole;
  longer.insert(longer.end(), {0, 0});
  WriteBytes(dir_.File("MapLex.dmp"), longer);
  ExpectRefused("a word too many");
}

TEST_F(MapLexiconDumpTest, DamagedCountsAreRefused) {
  Compile("MapLexRaw.mlr", ReadUtf8(SourceDir() + "/tests/data/mapping/MapLexRaw.mlr"));
  const std::vector<unsigned char> whole = DumpBytes();
  struct Damage {
    size_t word;
    int delta;
  };
  // The budget, the headword count up and down, the length, the first
  // headword's entry count, the length of its first condition.
  for (const Damage& d : {Damage{0, 1}, Damage{1, 1}, Damage{1, -1}, Damage{2, 1}, Damage{2, -1}, Damage{4, 1},
                          Damage{4, -1}, Damage{5, 1}, Damage{5, 300}}) {
    std::vector<unsigned char> bytes = whole;
    const uint16_t word = static_cast<uint16_t>((bytes[2 * d.word] | (bytes[2 * d.word + 1] << 8)) + d.delta);
    bytes[2 * d.word] = static_cast<unsigned char>(word & 0xFF);
    bytes[2 * d.word + 1] = static_cast<unsigned char>(word >> 8);
    WriteBytes(dir_.File("MapLex.dmp"), bytes);
    ExpectRefused("word " + std::to_string(d.word) + " changed by " + std::to_string(d.delta));
  }
}

TEST_F(MapLexiconDumpTest, AMissingDumpOrRawNameGivesAnEmptyLexiconAndOneMessage) {
  ExpectRefused("no dump");
  messages_.clear();
  CMapLexicon unnamed(macros_, "", dir_.File("MapLexExt.mle"), english_.get(), 1.0);
  EXPECT_TRUE(unnamed.Headwords().empty());
  EXPECT_EQ(messages_.messages().size(), 1u);
}

TEST_F(MapLexiconDumpTest, OtherRawFilesAreAlwaysCompiledAndNeverDumped) {
  SetConfigValue("CompileMapper", "no");
  CMapLexicon rules(macros_, WriteText("MapRulesRaw.mlr", "SUBJ [ --> SUBJ ; ]"), dir_.File("MapRulesExt.mle"),
                    english_.get(), 2.5);
  EXPECT_NE(rules.FindHeadword(Sym(u"SUBJ")), nullptr);
  EXPECT_EQ(rules.Frequency(), 2.5);
  EXPECT_TRUE(DumpBytes().empty());
  EXPECT_TRUE(messages_.messages().empty());
  // The expanded file holds the raw text with its macros expanded.
  CFileReader reader(16);
  EXPECT_EQ(ToUtf8(reader.ReadAll(dir_.File("MapRulesExt.mle"))), "SUBJ [ --> SUBJ ; ]");
}

TEST_F(MapLexiconDumpTest, DomainRawNamesChooseTheirDumpKeys) {
  struct Case {
    std::string raw, key;
  };
  const Case cases[] = {
      {"data\\mapping\\MapLexRaw.mlr", "MapLexDump"},
      {"data\\mapping\\NDomainMapLexRaw.mlr", "NDomainMapLexDump"},
      {"data\\mapping\\WDomainMapLexRaw.mlr", "WDomainMapLexDump"},
      {"data\\mapping\\ADomainMapLexRaw.mlr", "ADomainMapLexDump"},
      {"data\\mapping\\MapRulesRaw.mlr", ""},
      {"data\\mapping\\maplexraw.mlr", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CMapLexicon::DumpKeyFor(c.raw), c.key) << c.raw;

  SetConfigValue("NDomainMapLexDump", dir_.File("News.dmp"));
  Compile("NDomainMapLexRaw.mlr", "news [ --> PRED = 'خبر' ; ]");
  EXPECT_FALSE(ReadBytes(dir_.File("News.dmp")).empty());
  EXPECT_TRUE(DumpBytes().empty());
}

TEST_F(MapLexiconDumpTest, EntriesAndHeadwordsAreFreed) {
  const int entries = CMapLexEntry::liveInstances;
  const int headwords = CMapLexHeadword::liveInstances;
  const int elements = CMapRuleElement::liveInstances;
  {
    auto compiled = Compile("MapLexRaw.mlr", ReadUtf8(SourceDir() + "/tests/data/mapping/MapLexRaw.mlr"));
    auto loaded = Load();
    EXPECT_GT(CMapLexEntry::liveInstances, entries);
    std::unique_ptr<CMapLexHeadword> shared(loaded->FindHeadword(Sym(u"play"))->Clone());
    shared->ReleaseEntries();
  }
  EXPECT_EQ(CMapLexEntry::liveInstances, entries);
  EXPECT_EQ(CMapLexHeadword::liveInstances, headwords);
  EXPECT_EQ(CMapRuleElement::liveInstances, elements);
}

}  // namespace
}  // namespace mapping_test
