#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/config_store.h"
#include "core/symbol_table.h"
#include "platform/file_system.h"
#include "resources/lexicon.h"
#include "resources/lexicon_test_fixture.h"

namespace {

std::string Describe(const CLexicalEntry& entry) {
  std::string text = Utf8(entry.word) + "|" + std::to_string(entry.category) + "|" + Utf8(entry.pred) + "|";
  for (const WString& constraint : entry.constraints) text += Utf8(constraint) + ";";
  text += "|";
  for (const CEquation* equation : entry.equations) text += Utf8(equation->ToString()) + ";";
  return text;
}

std::vector<std::string> DescribeAll(const CLexicon& lexicon) {
  std::vector<std::string> described;
  for (const CLexicalEntry* entry : AllEntries(lexicon)) described.push_back(Describe(*entry));
  return described;
}

// The table as key -> sorted equation texts.
std::map<std::string, std::vector<std::string>> DescribeTable(const PredFrameMap* table) {
  std::map<std::string, std::vector<std::string>> described;
  if (!table) return described;
  for (const auto& [key, equations] : *table) {
    auto& texts = described[Utf8(key)];
    for (const CEquation* equation : equations) texts.push_back(Utf8(equation->ToString()));
    std::sort(texts.begin(), texts.end());
  }
  return described;
}

void AppendUnits(std::vector<unsigned char>& bytes, const std::vector<uint16_t>& units) {
  for (uint16_t unit : units) {
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
}

// A numbers record without equations and with the given number of
// constraint ids: 5 + constraints units long.
std::vector<uint16_t> NumbersRecord(uint16_t constraints) {
  const SymbolId pred = GetSymbolId(u"'w'", true);
  const SymbolId word = GetSymbolId(u"w", true);
  const SymbolId constraint = GetSymbolId(u"[c]", true);
  std::vector<uint16_t> units = {GetSymbolId(u"n", true), pred, word, constraints, 0};
  units.insert(units.end(), constraints, constraint);
  return units;
}

class LexiconFilesTest : public LexiconTest {
 protected:
  std::unique_ptr<CLexicon> LoadUrdu() {
    SetConfigValue("CompileLexicon", "no");
    return std::make_unique<CLexicon>("U", true);
  }
};

TEST_F(LexiconFilesTest, NumbersFileGivesBackTheCompiledEntries) {
  MessageRecorder messages;
  auto compiled = CompileUrdu(
      u"kitab : n, ^PRED = 'kitab', ^GEND = f.\n"
      u"de : v, ^PRED = 'de<SUBJ,OBJ>', [^OBJ CASE =c ACC], ^OBJ NUM =c sg, ^TENSE = past.\n"
      u"x : adj, ^PRED = 'x', ^DEG = , ^NUM = sg.\n");
  auto loaded = LoadUrdu();
  EXPECT_TRUE(messages.messages().empty());
  const int16_t n = static_cast<int16_t>(GetSymbolId(u"n", false));
  const int16_t v = static_cast<int16_t>(GetSymbolId(u"v", false));
  const int16_t adj = static_cast<int16_t>(GetSymbolId(u"adj", false));
  // Loaded entries are filed under their bare lexemes and keep only those as PRED.
  const std::vector<std::string> expected = {
      "kitab|" + std::to_string(n) + "|kitab||^ PRED=v kitab;^ GEND=v f;",
      "de|" + std::to_string(v) + "|de|[^OBJ CASE =c ACC];[^OBJ NUM =c sg];|^ PRED=v de SUBJ OBJ;^ TENSE=v past;",
      "x|" + std::to_string(adj) + "|x||^ PRED=v x;^ DEG=NULL;^ NUM=v sg;",
  };
  EXPECT_EQ(DescribeAll(*loaded), expected);
  EXPECT_EQ(loaded->Keys(), compiled->Keys());
}

TEST_F(LexiconFilesTest, NumbersReaderCrossesItsWindow) {
  struct WindowCase {
    const char* name;
    std::vector<uint16_t> recordSizes;  // constraint counts, one per record
  };
  std::vector<uint16_t> exactWindow(4320, 0);         // 4320 * 5 units = 21600
  std::vector<uint16_t> longAtEdge(4248, 0);          // 21240 units, then
  longAtEdge.push_back(354);                          // one record of 359 units
  longAtEdge.insert(longAtEdge.end(), 10, 0);
  std::vector<uint16_t> straddling(5000, 2);          // 7 units each
  const std::vector<WindowCase> cases = {
      {"exactly one window", exactWindow},
      {"longest record at the window's edge", longAtEdge},
      {"records straddling the refill point", straddling},
  };
  for (const WindowCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<unsigned char> bytes;
    for (uint16_t constraints : c.recordSizes) AppendUnits(bytes, NumbersRecord(constraints));
    WriteBytes(dir.File("ULexiconInNumbers.bin"), bytes);
    MessageRecorder messages;
    auto loaded = LoadUrdu();
    EXPECT_TRUE(messages.messages().empty());
    const auto entries = AllEntries(*loaded);
    ASSERT_EQ(entries.size(), c.recordSizes.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      ASSERT_EQ(entries[i]->constraints.size(), c.recordSizes[i]) << "record " << i;
    }
  }
}

TEST_F(LexiconFilesTest, DamagedNumbersFileStopsWithAMessage) {
  struct DamageCase {
    const char* name;
    std::vector<uint16_t> tail;  // units after two sound records
  };
  const SymbolId id = GetSymbolId(u"w", true);
  const std::vector<DamageCase> cases = {
      {"record cut short", {id, id, id, 3, 0, id}},
      {"negative count", {id, id, id, 0x8000, 0}},
      {"operand flag out of range", {id, id, id, 0, 1, u'=', 7}},
      {"path longer than the file", {id, id, id, 0, 1, u'=', 1, u'v', 40, id}},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<unsigned char> bytes;
    AppendUnits(bytes, NumbersRecord(0));
    AppendUnits(bytes, NumbersRecord(1));
    AppendUnits(bytes, c.tail);
    WriteBytes(dir.File("ULexiconInNumbers.bin"), bytes);
    MessageRecorder messages;
    auto loaded = LoadUrdu();
    EXPECT_EQ(loaded->EntryCount(), 2u);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_NE(Utf8(messages.messages()[0].text).find("damaged at record 3"), std::string::npos);
  }
}

// An entry made to measure: n equations, c constraint texts, and the given
// lengths of word, PRED, constraint text and path.
std::unique_ptr<CLexicalEntry> SizedEntry(size_t equations, size_t constraints, size_t wordUnits, size_t predUnits,
                                          size_t constraintUnits, size_t pathIds) {
  auto entry = std::make_unique<CLexicalEntry>();
  entry->word = WString(wordUnits, u'w');
  entry->pred = WString(predUnits, u'p');
  entry->constraints.assign(constraints, WString(constraintUnits, u'c'));
  for (size_t i = 0; i < equations; ++i) {
    auto* equation = new CEquation();
    equation->left = CLexicon::ParseOperand(u"^NUM").release();
    equation->op = u'=';
    equation->right = CLexicon::ParseOperand(u"sg").release();
    equation->right->path.assign(pathIds, equation->right->path[0]);
    entry->equations.push_back(equation);
  }
  return entry;
}

TEST_F(LexiconFilesTest, DumpRecordsRefuseWhatTheirFieldsCannotHold) {
  struct FieldCase {
    const char* name;
    std::unique_ptr<CLexicalEntry> entry;
    bool fits;
  };
  std::vector<FieldCase> cases;
  cases.push_back({"every field at its limit", SizedEntry(10, 5, 99, 49, 99, 15), true});
  cases.push_back({"eleven equations", SizedEntry(11, 0, 1, 1, 1, 1), false});
  cases.push_back({"six constraint texts", SizedEntry(1, 6, 1, 1, 1, 1), false});
  cases.push_back({"word of 100 units", SizedEntry(1, 0, 100, 1, 1, 1), false});
  cases.push_back({"constraint text of 100 units", SizedEntry(1, 1, 1, 1, 100, 1), false});
  cases.push_back({"path of 16 ids", SizedEntry(1, 0, 1, 1, 1, 16), false});
  auto lexicon = EmptyLexicon();
  for (FieldCase& c : cases) {
    SCOPED_TRACE(c.name);
    {
      FileHandle file(OpenFile(dir.File("record.bin"), "wb"));
      EXPECT_EQ(lexicon->WriteDumpRecord(file.get(), c.entry.get()), c.fits);
    }
    EXPECT_EQ(ReadBytes(dir.File("record.bin")).size(), c.fits ? kDumpRecordBytes : 0u);
  }
}

TEST_F(LexiconFilesTest, DumpLeavesOutEntriesThatDoNotFitAndSaysSo) {
  MessageRecorder messages;
  auto lexicon = EmptyLexicon();
  lexicon->AddEntry(SizedEntry(1, 1, 3, 3, 3, 2).release());
  lexicon->AddEntry(SizedEntry(1, 0, 3, 50, 1, 1).release());  // PRED too long for its field
  EXPECT_TRUE(lexicon->WriteLexiconDump(dir.File("dump.bin")));
  const auto bytes = ReadBytes(dir.File("dump.bin"));
  ASSERT_EQ(bytes.size(), kDumpRecordBytes);
  ASSERT_EQ(messages.messages().size(), 1u);

  // The fields of the record that was written.
  EXPECT_EQ(bytes[0], 1);  // equations
  EXPECT_EQ(bytes[1], 1);  // constraint texts
  const SymbolId num = GetSymbolId(u"NUM", false);
  EXPECT_EQ(bytes[2] | (bytes[3] << 8), num);            // left path id
  EXPECT_EQ(bytes[2 + 2 * 15], 1);                        // left path length
  EXPECT_EQ(bytes[2 + 2 * 16], '^');                      // left kind
  EXPECT_EQ(bytes[2 + 2 * 17], '=');                      // operator
  EXPECT_EQ(bytes[2 + 2 * 33], 2);                        // right path length
  EXPECT_EQ(bytes[2 + 2 * 34], 'v');                      // right kind
  EXPECT_EQ(bytes[702], 'c');
  EXPECT_EQ(bytes[702 + 6] | bytes[702 + 7], 0);          // terminator after 3 units
  EXPECT_EQ(bytes[1702] | (bytes[1703] << 8), 0xFFFF);    // no category
  EXPECT_EQ(bytes[1704], 'w');
  EXPECT_EQ(bytes[1904], 'p');

  EXPECT_FALSE(EmptyLexicon()->WriteLexiconDump(dir.File("empty.bin")));
}

TEST_F(LexiconFilesTest, ExpansionTableKeepsWhatEachFrameShares) {
  MessageRecorder messages;
  auto lexicon = CompileUrdu(
      u"/ two forms of one frame: the subject's case DAT gives way to NOM\n"
      u"dena : v, ^PRED = 'de<SUBJ,OBJ>', ^SUBJ_CASE = DAT, ^OBJ2 CASE = DAT, ^ASPECT = impf.\n"
      u"di : v, ^PRED = 'de<SUBJ,OBJ>', ^SUBJ_CASE = NOM, ^OBJ2 CASE = DAT, ^ASPECT = perf.\n"
      u"/ no governable function: the bare word\n"
      u"kitab : n, ^PRED = 'kitab', ^GEND = f, ^NUM = sg.\n"
      u"kitaben : n, ^PRED = 'kitab', ^GEND = f, ^NUM = pl.\n"
      u"/ two frames of one lexeme\n"
      u"parhna : v, ^PRED = 'parh<SUBJ,OBJ>', ^VTYPE = trans.\n"
      u"parhta : v, ^PRED = 'parh<SUBJ>', ^VTYPE = intrans.\n"
      u"/ nothing shared: no key\n"
      u"ek : det, ^PRED = 'ek', ^SPEC = indef.\n"
      u"ek : num, ^PRED = 'ek', ^NUM = sg.\n");
  EXPECT_TRUE(messages.messages().empty());
  const std::map<std::string, std::vector<std::string>> expected = {
      {"de<SUBJ,OBJ>", {"^ OBJ2 CASE=v DAT", "^ SUBJ_CASE=v NOM"}},
      {"kitab", {"^ GEND=v f"}},
      {"parh<SUBJ,OBJ>", {"^ VTYPE=v trans"}},
      {"parh<SUBJ>", {"^ VTYPE=v intrans"}},
  };
  EXPECT_EQ(DescribeTable(lexicon->ExpansionTable()), expected);
  // A start-up without compile reads the same table back.
  auto loaded = LoadUrdu();
  EXPECT_EQ(DescribeTable(loaded->ExpansionTable()), expected);
  EXPECT_EQ(loaded->Expansions(), nullptr);
}

TEST_F(LexiconFilesTest, ExpansionTableFileCountsOnlyWhatItHolds) {
  auto lexicon = EmptyLexicon();
  WriteBytes(dir.File("zero.bin"), {0, 0, 0, 0});
  FileHandle zero(OpenFile(dir.File("zero.bin"), "rb"));
  EXPECT_TRUE(lexicon->ReadExpansionTable(zero.get())->empty());

  // A key too long for the word field is left out and the count says so; a
  // key longer than the PRED field comes back whole from the word field.
  PredFrameMap table;
  table[u"short"] = {};
  table[WString(60, u'k')] = {};
  table[WString(120, u'k')] = {};
  {
    FileHandle file(OpenFile(dir.File("table.bin"), "wb"));
    MessageRecorder messages;
    lexicon->WriteExpansionTable(&table, file.get());
    EXPECT_EQ(messages.messages().size(), 1u);
  }
  const auto written = ReadBytes(dir.File("table.bin"));
  ASSERT_EQ(written.size(), 4 + 2 * kDumpRecordBytes);
  EXPECT_EQ(written[0], 2);
  {
    FileHandle file(OpenFile(dir.File("table.bin"), "rb"));
    auto read = lexicon->ReadExpansionTable(file.get());
    EXPECT_EQ(read->size(), 2u);
    EXPECT_TRUE(read->count(WString(60, u'k')));
  }

  // Only the record of "short" from here on.
  table.clear();
  table[u"short"] = {};
  {
    FileHandle file(OpenFile(dir.File("table.bin"), "wb"));
    lexicon->WriteExpansionTable(&table, file.get());
  }
  const auto bytes = ReadBytes(dir.File("table.bin"));
  ASSERT_EQ(bytes.size(), 4 + kDumpRecordBytes);

  // A file that promises more records than it has.
  auto truncated = bytes;
  truncated[0] = 2;
  WriteBytes(dir.File("short.bin"), truncated);
  MessageRecorder messages;
  FileHandle file(OpenFile(dir.File("short.bin"), "rb"));
  auto read = lexicon->ReadExpansionTable(file.get());
  EXPECT_EQ(DescribeTable(read.get()), (std::map<std::string, std::vector<std::string>>{{"short", {}}}));
  EXPECT_EQ(messages.messages().size(), 1u);
}

TEST_F(LexiconFilesTest, ExpansionsFileLines) {
  struct LinesCase {
    const char* name;
    WString text;
    std::map<std::string, std::string> expected;
  };
  const std::vector<LinesCase> cases = {
      {"CR LF lines", u"can't=can not\r\nwon't=will not\r\n", {{"can't", "can not"}, {"won't", "will not"}}},
      {"LF lines", u"a=b\nc=d\n", {{"a", "b"}, {"c", "d"}}},
      {"last line without a line end is kept", u"a=b\r\nc=d", {{"a", "b"}, {"c", "d"}}},
      {"blank lines change nothing", u"a=b\r\n\r\n\nc=d\r\n", {{"a", "b"}, {"c", "d"}}},
      {"a later line replaces an earlier value", u"a=b\r\na=c\r\n", {{"a", "c"}}},
  };
  for (const LinesCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteUtf16File(dir.File("Expansions.txt"), c.text);
    auto lexicon = EmptyLexicon();
    EXPECT_TRUE(lexicon->ReadExpansionsFile(dir.File("Expansions.txt")));
    std::map<std::string, std::string> read;
    for (const auto& [word, replacement] : *lexicon->Expansions()) read[Utf8(word)] = Utf8(replacement);
    EXPECT_EQ(read, c.expected);
  }
}

TEST(SelectGovernableFunctions, KeepsTheGovernableIdsOfThePath) {
  const std::vector<SymbolId> governable = {1, 2};
  const std::vector<SymbolId> path = {7, 2, 9, 1};
  const std::vector<SymbolId> none = {7, 9};
  EXPECT_EQ(*CLexicon::SelectGovernableFunctions(&governable, &path), (std::vector<SymbolId>{2, 1}));
  EXPECT_EQ(CLexicon::SelectGovernableFunctions(&governable, &none), nullptr);
  const std::vector<SymbolId> empty;
  EXPECT_EQ(*CLexicon::SelectGovernableFunctions(&empty, &path), path);
  EXPECT_EQ(CLexicon::SelectGovernableFunctions(nullptr, &path), nullptr);
}

}  // namespace
