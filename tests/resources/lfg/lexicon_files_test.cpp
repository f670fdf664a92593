// The Urdu lexicon's files: the numbers file and its reading window, the dump
// records and their field limits, the expansion table and the Expansions
// file; and the shipped lexicon: it compiles without a message, holds every
// word of the sample sentences, reads back from its files and keeps the
// writing rules of its file.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/config_store.h"
#include "core/sealed_file.h"
#include "platform/file_system.h"
#include "resources/lfg/lexicon.h"
#include "resources/lfg/lexicon_test_fixture.h"

namespace {

using Table = std::map<std::string, std::vector<std::string>>;

// The table as key -> sorted equation texts.
Table DescribeTable(const PredFrameMap* table) {
  Table described;
  if (!table) return described;
  for (const auto& [key, equations] : *table) {
    auto& texts = described[Utf8(key)];
    for (const CEquation* equation : equations) texts.push_back(Utf8(equation->ToString()));
    std::sort(texts.begin(), texts.end());
  }
  return described;
}

void AppendUnits(std::vector<unsigned char>& bytes, const std::vector<uint16_t>& units) {
  const std::vector<unsigned char> more = Utf16LeBytes(WString(units.begin(), units.end()), false);
  bytes.insert(bytes.end(), more.begin(), more.end());
}

// A numbers record without equations and with the given number of
// constraint ids: 5 + constraints units long.
std::vector<uint16_t> NumbersRecord(uint16_t constraints) {
  std::vector<uint16_t> units = {GetSymbolId(u"n", true), GetSymbolId(u"'w'", true), GetSymbolId(u"w", true),
                                 constraints, 0};
  units.insert(units.end(), constraints, GetSymbolId(u"[c]", true));
  return units;
}

// An entry made to measure: n equations, c constraint texts, and the given
// lengths of word, PRED, constraint text and path.
CLexicalEntry* SizedEntry(size_t equations, size_t constraints, size_t wordUnits, size_t predUnits,
                          size_t constraintUnits, size_t pathIds) {
  auto* entry = new CLexicalEntry();
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

TEST_F(LexiconTest, NumbersFileGivesBackTheCompiledEntries) {
  MessageRecorder messages;
  auto compiled = CompileUrdu(
      u"kitab : n, ^PRED = 'kitab', ^GEND = f. x : adj, ^PRED = 'x', ^DEG = , ^NUM = sg.\n"
      u"de : v, ^PRED = 'de<SUBJ,OBJ>', [^OBJ CASE =c ACC], ^OBJ NUM =c sg, ^TENSE = past.");
  auto loaded = LoadUrdu();
  EXPECT_TRUE(messages.messages().empty());
  // Loaded entries are filed under their bare lexemes and keep only those as PRED.
  EXPECT_EQ(
      DescribeAll(*loaded),
      (std::vector<std::string>{"kitab|n|kitab||^ PRED=v kitab;^ GEND=v f", "x|adj|x||^ PRED=v x;^ DEG=NULL;^ NUM=v sg",
                                "de|v|de|[^OBJ CASE =c ACC];[^OBJ NUM =c sg]|^ PRED=v de SUBJ OBJ;^ TENSE=v past"}));
  EXPECT_EQ(loaded->Keys(), compiled->Keys());
}

// A lexicon read from its numbers makes no entry at start-up: a key's entries
// are made, in file order, when the key is first looked up, and entries filed
// later under that key come after them.
TEST_F(LexiconTest, LoadedLexiconMakesAKeysEntriesWhenItIsLookedUp) {
  MessageRecorder messages;
  std::vector<WString> compiledKeys;
  {
    auto compiled = CompileUrdu(
        u"kitab : n, ^PRED = 'kitab', ^GEND = f. de : v, ^PRED = 'de<SUBJ,OBJ>', ^TENSE = past.\n"
        u"kitaben : n, ^PRED = 'kitab', ^NUM = pl. de : v, ^PRED = 'de', ^TENSE = pres.");
    compiledKeys = compiled->Keys();
  }
  const int before = CLexicalEntry::liveInstances;
  auto loaded = LoadUrdu();
  EXPECT_EQ(CLexicalEntry::liveInstances, before);
  EXPECT_EQ(loaded->EntryCount(), 4u);
  EXPECT_EQ(loaded->Keys(), compiledKeys);
  EXPECT_EQ(loaded->LookupWord(u"kitabx"), nullptr);
  const auto books = loaded->LookupWordWithCategory(u"kitab", u"n", nullptr);
  ASSERT_NE(books, nullptr);
  ASSERT_EQ(books->size(), 2u);
  EXPECT_EQ(Utf8((*books)[0]->word), "kitab");
  EXPECT_EQ(Utf8((*books)[1]->word), "kitaben");
  EXPECT_EQ(CLexicalEntry::liveInstances, before + 2);
  const auto more = loaded->ParseLexicalEntryText(u"dena : v, ^PRED = 'de', ^TENSE = fut.");
  ASSERT_NE(more, nullptr);
  const auto gives = loaded->LookupWord(u"de");
  ASSERT_NE(gives, nullptr);
  std::vector<std::string> words;
  for (const CLexicalEntry* entry : *gives) words.push_back(Utf8(entry->word));
  EXPECT_EQ(words, (std::vector<std::string>{"de", "de", "dena"}));
  EXPECT_EQ(loaded->EntryCount(), 5u);
  EXPECT_TRUE(messages.messages().empty());
}

// The constraint texts are listed from the numbers alone: listing them makes
// no entry, and a key looked up later still gives its entries with them.
TEST_F(LexiconTest, LoadedLexiconListsItsConstraintTextsWithoutMakingEntries) {
  {
    auto compiled = CompileUrdu(
        u"kitab : n, ^PRED = 'kitab', [^NUM =c sg].\n"
        u"de : v, ^PRED = 'de<SUBJ,OBJ>', ~[^TENSE =c fut], [^NUM =c sg].\n"
        u"ghar : n, ^PRED = 'ghar'.");
    EXPECT_EQ(compiled->ConstraintTexts().size(), 2u);
  }
  const int before = CLexicalEntry::liveInstances;
  auto loaded = LoadUrdu();
  const std::vector<WString> texts = loaded->ConstraintTexts();
  EXPECT_EQ(CLexicalEntry::liveInstances, before);
  ASSERT_EQ(texts.size(), 2u);
  const auto gives = loaded->LookupWord(u"de");
  ASSERT_NE(gives, nullptr);
  ASSERT_EQ((*gives)[0]->constraints.size(), 2u);
  for (const WString& text : (*gives)[0]->constraints) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << Utf8(text);
  }
  EXPECT_EQ(loaded->ConstraintTexts(), texts);
}

TEST_F(LexiconTest, NumbersReaderCrossesItsWindow) {
  std::vector<uint16_t> exactWindow(4320, 0);  // 4320 * 5 units = 21600
  std::vector<uint16_t> longAtEdge(4248, 0);   // 21240 units, then one record of 359 units
  longAtEdge.push_back(354);
  longAtEdge.insert(longAtEdge.end(), 10, 0);
  const std::vector<uint16_t> straddling(5000, 2);  // 7 units each
  for (const auto& sizes : {exactWindow, longAtEdge, straddling}) {
    std::vector<unsigned char> bytes;
    for (uint16_t constraints : sizes) AppendUnits(bytes, NumbersRecord(constraints));
    AppendSeal(bytes);
    WriteBytes(dir.File("ULexiconInNumbers.txt"), bytes);
    MessageRecorder messages;
    auto loaded = LoadUrdu();
    EXPECT_TRUE(messages.messages().empty());
    const auto entries = AllEntries(*loaded);
    ASSERT_EQ(entries.size(), sizes.size());
    for (size_t i = 0; i < entries.size(); ++i) ASSERT_EQ(entries[i]->constraints.size(), sizes[i]) << "record " << i;
  }
}

TEST_F(LexiconTest, DamagedNumbersFileStopsWithAMessage) {
  const SymbolId id = GetSymbolId(u"w", true);
  const std::vector<uint16_t> tails[] = {
      {id, id, id, 3, 0, id},                     // record cut short
      {id, id, id, 0x8000, 0},                    // negative count
      {id, id, id, 0, 1, u'=', 7},                // operand flag out of range
      {id, id, id, 0, 1, u'=', 1, u'v', 40, id},  // path longer than the file
  };
  for (const auto& tail : tails) {
    std::vector<unsigned char> bytes;
    for (const auto& units : {NumbersRecord(0), NumbersRecord(1), tail}) AppendUnits(bytes, units);
    AppendSeal(bytes);  // sealed as written: the records themselves are wrong
    WriteBytes(dir.File("ULexiconInNumbers.txt"), bytes);
    MessageRecorder messages;
    EXPECT_EQ(LoadUrdu()->EntryCount(), 2u);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_NE(Utf8(messages.messages()[0].text).find("damaged at record 3"), std::string::npos);
  }
}

// A numbers file or expansion table damaged after it was written is refused
// whole: the lexicon is empty, or has no expansion table, with one message.
TEST_F(LexiconTest, DamagedSealedFilesAreRefusedWhole) {
  std::vector<unsigned char> bytes;
  for (uint16_t constraints : {0, 1, 2}) AppendUnits(bytes, NumbersRecord(constraints));
  AppendSeal(bytes);
  for (size_t cut : {size_t{0}, size_t{1}, bytes.size() / 2, bytes.size() - 1}) {
    std::vector<unsigned char> damaged(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    WriteBytes(dir.File("ULexiconInNumbers.txt"), damaged);
    MessageRecorder messages;
    EXPECT_EQ(LoadUrdu()->EntryCount(), 0u) << "cut at " << cut;
    if (cut > 0) {
      ASSERT_EQ(messages.messages().size(), 1u) << "cut at " << cut;
      EXPECT_NE(Utf8(messages.messages()[0].text).find("damaged or cut short"), std::string::npos);
    }
  }
  std::vector<unsigned char> flipped = bytes;
  flipped[3] ^= 0x01;
  WriteBytes(dir.File("ULexiconInNumbers.txt"), flipped);
  MessageRecorder messages;
  EXPECT_EQ(LoadUrdu()->EntryCount(), 0u);
  EXPECT_EQ(messages.messages().size(), 1u);
}

TEST_F(LexiconTest, DumpRecordsRefuseWhatTheirFieldsCannotHoldAndTheDumpSaysSo) {
  const std::pair<CLexicalEntry*, bool> cases[] = {
      {SizedEntry(10, 5, 99, 49, 99, 15), true},  // every field at its limit
      {SizedEntry(11, 0, 1, 1, 1, 1), false},     // eleven equations
      {SizedEntry(1, 6, 1, 1, 1, 1), false},      // six constraint texts
      {SizedEntry(1, 0, 100, 1, 1, 1), false},    // word of 100 units
      {SizedEntry(1, 1, 1, 1, 100, 1), false},    // constraint text of 100 units
      {SizedEntry(1, 0, 1, 1, 1, 16), false},     // path of 16 ids
  };
  auto lexicon = EmptyLexicon();
  for (const auto& [entry, fits] : cases) {
    const std::unique_ptr<CLexicalEntry> owned(entry);
    {
      FileHandle file(OpenFile(dir.File("record.bin"), "wb"));
      EXPECT_EQ(lexicon->WriteDumpRecord(file.get(), entry), fits);
    }
    EXPECT_EQ(ReadBytes(dir.File("record.bin")).size(), fits ? kDumpRecordBytes : 0u);
  }
  // The dump leaves out an entry that does not fit and says so.
  MessageRecorder messages;
  lexicon->AddEntry(SizedEntry(1, 1, 3, 3, 3, 2));
  lexicon->AddEntry(SizedEntry(1, 0, 3, 50, 1, 1));  // PRED too long for its field
  EXPECT_TRUE(lexicon->WriteLexiconDump(dir.File("dump.bin")));
  const auto bytes = ReadBytes(dir.File("dump.bin"));
  ASSERT_EQ(bytes.size(), kDumpRecordBytes);
  ASSERT_EQ(messages.messages().size(), 1u);
  // The 16-bit fields of the record that was written: counts of equations
  // and constraint texts, left path id and length, left kind, operator,
  // right path length and kind, a constraint text of 3 units and its
  // terminator, no category, word and PRED.
  const std::pair<size_t, unsigned> fields[] = {{0, 1 | 1 << 8}, {2, GetSymbolId(u"NUM", false)},
                                                {32, 1},         {34, '^'},
                                                {36, '='},       {68, 2},
                                                {70, 'v'},       {702, 'c'},
                                                {708, 0},        {1702, 0xFFFF},
                                                {1704, 'w'},     {1904, 'p'}};
  for (const auto& [offset, value] : fields) EXPECT_EQ(bytes[offset] | bytes[offset + 1] << 8, value) << offset;
  EXPECT_FALSE(EmptyLexicon()->WriteLexiconDump(dir.File("empty.bin")));
}

TEST_F(LexiconTest, ExpansionTableKeepsWhatEachFrameShares) {
  MessageRecorder messages;
  // Two forms of one frame (the subject's case DAT gives way to NOM); a
  // word without governable function keyed bare; two frames of one lexeme;
  // nothing shared gives no key.
  auto lexicon = CompileUrdu(
      u"dena : v, ^PRED = 'de<SUBJ,OBJ>', ^SUBJ_CASE = DAT, ^OBJ2 CASE = DAT, ^ASPECT = impf.\n"
      u"di : v, ^PRED = 'de<SUBJ,OBJ>', ^SUBJ_CASE = NOM, ^OBJ2 CASE = DAT, ^ASPECT = perf.\n"
      u"kitab : n, ^PRED = 'kitab', ^GEND = f, ^NUM = sg. kitaben : n, ^PRED = 'kitab', ^GEND = f, ^NUM = pl.\n"
      u"parhna : v, ^PRED = 'parh<SUBJ,OBJ>', ^VTYPE = trans. parhta : v, ^PRED = 'parh<SUBJ>', ^VTYPE = intrans.\n"
      u"ek : det, ^PRED = 'ek', ^SPEC = indef. ek : num, ^PRED = 'ek', ^NUM = sg.\n");
  EXPECT_TRUE(messages.messages().empty());
  const Table expected = {
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

TEST_F(LexiconTest, ExpansionTableFileCountsOnlyWhatItHolds) {
  auto lexicon = EmptyLexicon();
  auto write = [&](const PredFrameMap& table) {
    FileHandle file(OpenFile(dir.File("table.bin"), "wb"));
    lexicon->WriteExpansionTable(&table, file.get());
  };
  auto read = [&](const std::vector<unsigned char>& bytes) {
    WriteBytes(dir.File("read.bin"), bytes);
    FileHandle file(OpenFile(dir.File("read.bin"), "rb"));
    return lexicon->ReadExpansionTable(file.get());
  };
  EXPECT_TRUE(read({0, 0, 0, 0})->empty());
  // A key too long for the word field is left out and the count says so; a
  // key longer than the PRED field comes back whole from the word field.
  MessageRecorder messages;
  write({{u"short", {}}, {WString(60, u'k'), {}}, {WString(120, u'k'), {}}});
  EXPECT_EQ(messages.messages().size(), 1u);
  auto bytes = ReadBytes(dir.File("table.bin"));
  ASSERT_EQ(bytes.size(), 4 + 2 * kDumpRecordBytes);
  EXPECT_EQ(bytes[0], 2);
  auto table = read(bytes);
  EXPECT_EQ(table->size(), 2u);
  EXPECT_TRUE(table->count(WString(60, u'k')));
  // A file that promises more records than it has.
  write({{u"short", {}}});
  bytes = ReadBytes(dir.File("table.bin"));
  ASSERT_EQ(bytes.size(), 4 + kDumpRecordBytes);
  bytes[0] = 2;
  messages.clear();
  EXPECT_EQ(DescribeTable(read(bytes).get()), (Table{{"short", {}}}));
  EXPECT_EQ(messages.messages().size(), 1u);
}

TEST_F(LexiconTest, ExpansionsFileLines) {
  // CR LF, LF and blank lines; a later line replaces an earlier value; the
  // last line needs no line end.
  WriteUtf16File(dir.File("Expansions.txt"), u"can't=can not\r\nwon't=will\n\r\n\nwon't=will not\r\na=b");
  auto lexicon = EmptyLexicon();
  EXPECT_TRUE(lexicon->ReadExpansionsFile(dir.File("Expansions.txt")));
  std::map<std::string, std::string> read;
  for (const auto& [word, replacement] : *lexicon->Expansions()) read[Utf8(word)] = Utf8(replacement);
  EXPECT_EQ(read, (std::map<std::string, std::string>{{"can't", "can not"}, {"won't", "will not"}, {"a", "b"}}));
}

TEST_F(LexiconTest, ShippedUrduLexiconCompilesWithoutAMessageHoldsTheSampleSentencesAndReloads) {
  const char* source = std::getenv("LFG_SOURCE_DIR");
  ASSERT_NE(source, nullptr) << "LFG_SOURCE_DIR names the repository";
  // Read the shipped files; everything written goes to the temporary folder.
  const std::string data = std::string(source) + "/dataroot/data/";
  for (const auto& [key, name] : {std::pair{"ULexiconFileName", "ULexicon.txt"},
                                  {"Expansions", "Expansions.txt"},
                                  {"UOrderedFeatureListFileName", "UOrderedFeatureList.txt"},
                                  {"EOrderedFeatureListFileName", "EOrderedFeatureList.txt"}}) {
    SetConfigValue(key, data + name);
  }
  MessageRecorder messages;
  CLexicon lexicon("U", true);
  EXPECT_GT(lexicon.EntryCount(), 300u);
  std::set<WString> words;
  for (const CLexicalEntry* entry : AllEntries(lexicon)) words.insert(entry->word);
  // میں نے اس کو ایک کتاب دی — I gave him a book.
  // لڑکا کتاب پڑھتا ہے — The boy reads a book.
  for (const WString word : {u"میں", u"نے", u"اس", u"کو", u"ایک", u"کتاب", u"دی", u"لڑکا", u"پڑھتا", u"ہے"}) {
    EXPECT_TRUE(words.count(word)) << Utf8(word);
  }
  // Standard Urdu letters, not the Arabic yeh, kaf, heh or alef maksura.
  for (const CLexicalEntry* entry : AllEntries(lexicon)) {
    for (const WString& text : {entry->word, entry->pred}) {
      EXPECT_EQ(text.find_first_of(u"\u064A\u0643\u0647\u0649"), WString::npos) << Utf8(entry->word);
    }
  }
  // It reads back from its files; the postposition میں and the pronoun میں
  // keep separate lines of the expansion table.
  SetConfigValue("CompileLexicon", "no");
  CLexicon loaded("U", true);
  EXPECT_EQ(loaded.EntryCount(), lexicon.EntryCount());
  ASSERT_NE(loaded.ExpansionTable(), nullptr);
  EXPECT_TRUE(loaded.ExpansionTable()->count(u"میں<OBJ>"));
  EXPECT_TRUE(loaded.ExpansionTable()->count(u"میں"));
  // The English lexicon of the start-up loads quietly and empty.
  EXPECT_EQ(CLexicon("E").EntryCount(), 0u);
  for (const auto& message : messages.messages()) ADD_FAILURE() << Utf8(message.text);
}

}  // namespace
