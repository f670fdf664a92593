// The raw syntax of the mapping files: headword blocks, entries, statements,
// comments, DEFAULT and the traps of the format.
#include "core/trace_log.h"
#include "transfer/mapping/map_lexicon.h"
#include "transfer/mapping/mapping_test_support.h"

namespace mapping_test {
namespace {

// A compact view of an element: operator, kinds and names of both paths.
std::string Show(const CMapRuleElement& e) {
  if (e.op == 'i') {
    return "INSERT " + ToUtf8(GetSymbolName(e.cacheSymbol)) + " " + ToUtf8(GetSymbolName(e.insertHeadword)) + " " +
           (e.value == kNoSymbol ? std::string("none")
            : e.valueIsNumber    ? std::to_string(e.value)
                                 : ToUtf8(GetSymbolName(e.value)));
  }
  std::string text = e.op == 0 ? "go" : std::string(1, e.op);
  text += " " + std::string(1, e.leftPath.kind) + "[" + Names(e.leftPath.ids) + "]";
  if (e.op != 0) text += " " + std::string(1, e.rightPath.kind) + "[" + Names(e.rightPath.ids) + "]";
  return text;
}

std::vector<std::string> ShowAll(const CMapLexEntry& entry) {
  std::vector<std::string> shown;
  for (const auto& statement : entry.statements) shown.push_back(Show(*statement));
  return shown;
}

class MapLexiconCompileTest : public MappingTest {
 protected:
  // An empty lexicon that compiles the text.
  std::unique_ptr<CMapLexicon> Compile(const std::string& raw) {
    auto lexicon = std::make_unique<CMapLexicon>("", "", "", english_.get(), 1.0);
    messages_.clear();
    EXPECT_TRUE(lexicon->CompileRawFile(WriteText("raw.ext", raw)));
    return lexicon;
  }
  CMapLexHeadword* Find(const CMapLexicon& lexicon, const WString& word) {
    const SymbolId id = GetSymbolId(word, false);
    return id == kNoSymbol ? nullptr : lexicon.FindHeadword(id);
  }
};

TEST_F(MapLexiconCompileTest, StatementTextsBecomeElements) {
  struct Case {
    WString text;
    std::vector<std::string> want;
    bool allTaken;
  };
  const Case cases[] = {
      {u"OBJ = s::OBJ, BREAK", {"= s[OBJ] s[OBJ]", "go t[BREAK]"}, true},
      {u"PRED = 'kitab', GEND = {m,f}", {"= s[PRED] v['kitab']", "= s[GEND] v[m f]"}, true},
      {u"PRED = 'dena<SUBJ,OBJ>'", {"= s[PRED] v['dena SUBJ OBJ ']"}, true},
      {u"OBJ.SPEC", {"go t[OBJ SPEC]"}, true},
      {u"DELETE OBJ", {"d s[] t[OBJ]"}, true},
      {u"delete OBJ.SPEC", {"d t[] t[OBJ SPEC]"}, true},
      {u"DELETE", {"go t[DELETE]"}, true},
      {u"INSERT(VP, VPRULES, 2), OBJ", {"INSERT VP VPRULES 2", "go t[OBJ]"}, true},
      {u"INSERT(VP,VPRULES,NULL)", {"INSERT VP VPRULES none"}, true},
      {u"INSERT(VP,VPRULES,OBJ)", {"INSERT VP VPRULES OBJ"}, true},
      {u"INSERT(VP,VPRULES,40000), OBJ", {"go t[OBJ]"}, false},
      {u"OBJ, INSERT(VP,VPRULES", {"go t[OBJ]"}, false},
      {u"A, , B", {"go t[A]", "go t[B]"}, true},
      {u"A = {x, y", {}, true},  // ends inside a value set: nothing is built
      {u"ELEMENT, NULL", {"go t[ELEMENT]", "go t[NULL]"}, true},
  };
  auto lexicon = Compile("");
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    CMapLexEntry entry;
    EXPECT_EQ(lexicon->ParseEntryValue(c.text, entry), c.allTaken);
    EXPECT_EQ(ShowAll(entry), c.want);
    EXPECT_EQ(entry.breakFlag, c.text.starts_with(u"OBJ = s::OBJ, BREAK"));
  }
}

TEST_F(MapLexiconCompileTest, EntriesAreReadWithConditionMarkerNumberAndBreak) {
  struct Case {
    std::string raw;
    WString condition;
    char marker;
    int number;
    bool breakFlag;
    std::vector<std::string> statements;
  };
  const Case cases[] = {
      {"take [ (SUBJ) --> OBJ = s::OBJ, BREAK @2;]", u"(SUBJ)", '-', 2, true, {"= s[OBJ] s[OBJ]", "go t[BREAK]"}},
      {"take [ --> PRED = 'lena' ;]", u"", '-', 0, false, {"= s[PRED] v['lena']"}},
      {"take [ ?-> PRED = 'lena' @ 7 ;]", u"", '?', 7, false, {"= s[PRED] v['lena']"}},
      {"take [ (A) -->;]", u"(A)", '-', 0, false, {}},
      {"take [ (A) --> B @-1;]", u"(A)", '-', -1, false, {"go t[B]"}},
      // Line ends are skipped outside parentheses.
      {"take [\r\n  (SUBJ.NUM == {sg})\n  & ~(OBJ)\n  --> B;]",
       u"(SUBJ.NUM == {sg})  & ~(OBJ)",
       '-',
       0,
       false,
       {"go t[B]"}},
      // Nothing acts inside parentheses: neither '-' nor '[' nor "//".
      {"take [ ((A-B) | [x] // y) --> B;]", u"((A-B) | [x] // y)", '-', 0, false, {"go t[B]"}},
      {"take [ --> B @3", u"", '-', 3, false, {"go t[B]"}},  // the end of the file ends number and block
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raw);
    auto lexicon = Compile(c.raw);
    CMapLexHeadword* take = Find(*lexicon, u"take");
    ASSERT_NE(take, nullptr);
    ASSERT_EQ(take->entries.size(), 1u);
    const CMapLexEntry& entry = *take->entries[0];
    EXPECT_EQ(ToUtf8(entry.condition), ToUtf8(c.condition));
    EXPECT_EQ(entry.marker, c.marker);
    EXPECT_EQ(entry.number, c.number);
    EXPECT_EQ(entry.breakFlag, c.breakFlag);
    EXPECT_EQ(entry.weight, 1.0);
    EXPECT_EQ(ShowAll(entry), c.statements);
    EXPECT_EQ(take->GetEntryCount(), 1u);
    EXPECT_EQ(take->conditionalEntries.size(), c.condition.empty() ? 0u : 1u);
  }
}

TEST_F(MapLexiconCompileTest, HeadwordsCommentsAndTheTraps) {
  struct Case {
    std::string raw;
    std::vector<WString> headwords;  // in id order of their first appearance
  };
  const Case cases[] = {
      {"a [ --> X;] b [ --> Y;]", {u"a", u"b"}},
      {"// a [ --> X;]\nb [ --> Y;]", {u"b"}},
      {"junk // comment\nb [ --> Y;]", {u"b"}},  // a comment drops the pending text
      {"well-known [ --> X;]", {u"wellnown"}},   // '-' and the next character are dropped
      {"why? [ --> X;]", {u"why"}},              // so are '?' and the blank after it
      {"a/b [ --> X;]", {u"a/b"}},               // a single '/' is text
      {"  spaced  word  [ --> X;]", {u"spaced  word"}},
      {"a [ --> X; // the rest of the line\n --> Y;]", {u"a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raw);
    auto lexicon = Compile(c.raw);
    std::vector<std::string> found;
    for (const auto& [id, headword] : lexicon->Headwords()) found.push_back(ToUtf8(GetSymbolName(id)));
    std::vector<std::string> want;
    for (const WString& word : c.headwords) want.push_back(ToUtf8(word));
    std::sort(found.begin(), found.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(found, want);
    EXPECT_TRUE(messages_.messages().empty());
  }
}

TEST_F(MapLexiconCompileTest, TheDefaultEntryStandsApart) {
  auto lexicon = Compile("run [ (DEFAULT) --> PRED = {daud} ;]");
  CMapLexHeadword* run = Find(*lexicon, u"run");
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(run->GetEntryCount(), 0u);
  EXPECT_TRUE(run->entries.empty());
  ASSERT_NE(run->defaultEntry, nullptr);
  EXPECT_TRUE(run->defaultEntry->condition.empty());
  EXPECT_EQ(ShowAll(*run->defaultEntry), std::vector<std::string>{"= s[PRED] v[daud]"});

  // "DEFAULT" at the start of a condition is an ordinary condition.
  lexicon = Compile("run [ DEFAULT --> A;]");
  run = Find(*lexicon, u"run");
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(run->defaultEntry, nullptr);
  EXPECT_EQ(run->GetEntryCount(), 1u);
}

TEST_F(MapLexiconCompileTest, SecondBlocksAndSecondDefaultsAreDroppedWithALogLine) {
  const uint64_t before = TraceLogLineCount();
  auto lexicon = Compile(
      "go [ --> PRED = 'first';]\n"
      "go [ --> PRED = 'second';]\n"
      "run [ (DEFAULT) --> PRED = 'one'; (DEFAULT) --> PRED = 'two';]");
  EXPECT_EQ(TraceLogLineCount(), before + 2);
  CMapLexHeadword* go = Find(*lexicon, u"go");
  ASSERT_NE(go, nullptr);
  ASSERT_EQ(go->entries.size(), 1u);
  EXPECT_EQ(ShowAll(*go->entries[0]), std::vector<std::string>{"= s[PRED] v['first']"});
  CMapLexHeadword* run = Find(*lexicon, u"run");
  ASSERT_NE(run, nullptr);
  ASSERT_NE(run->defaultEntry, nullptr);
  EXPECT_EQ(ShowAll(*run->defaultEntry), std::vector<std::string>{"= s[PRED] v['one']"});
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(MapLexiconCompileTest, MisplacedTextIsReportedWithItsLineAndSkipped) {
  struct Case {
    std::string raw;
    std::string message;  // a part of the one message
    size_t entriesOfA;    // entries that headword a keeps
  };
  const Case cases[] = {
      {"--> X;\na [ --> Y;]", "line 1: an entry stands outside a headword block", 1},
      {"a [ --> Y;]\n> X;", "line 2: statements stand outside an entry", 1},
      {"a [ --> Y;]\n\n]", "line 3: a ']' closes no headword block", 1},
      {"a [ --> Y;] (B --> Z;", "line 1: a '(' is not closed", 1},
      {"a [ --> Y;] )", "line 1: a ')' closes no '('", 1},
      {"a [ --> Y;\nb [ --> Z;]", "line 2: the block of a is not closed", 1},
      {"a [ --> Y;", "line 1: the block of a is not closed", 1},
      {"a [ --> INSERT(VP,R,99999);]", "line 1: the entry of a with the condition '' has a statement that is refused",
       1},
      {"a [ (X) -- (Y) --> Z;]", "line 1: the entry of a has no statements", 1},
      {"[ --> Y;] a [ --> Y;]", "line 1: a '[' has no headword", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raw);
    auto lexicon = Compile(c.raw);
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_NE(ToUtf8(messages_.messages()[0].text).find(c.message), std::string::npos)
        << ToUtf8(messages_.messages()[0].text);
    EXPECT_NE(ToUtf8(messages_.messages()[0].text).find("raw.ext"), std::string::npos);
    CMapLexHeadword* a = Find(*lexicon, u"a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->entries.size(), c.entriesOfA);
  }
}

TEST_F(MapLexiconCompileTest, AMissingFileCompilesNothing) {
  CMapLexicon lexicon("", "", "", english_.get(), 1.0);
  messages_.clear();
  EXPECT_FALSE(lexicon.CompileRawFile(dir_.File("absent.ext")));
  EXPECT_TRUE(lexicon.Headwords().empty());
  EXPECT_EQ(messages_.messages().size(), 1u);
}

TEST_F(MapLexiconCompileTest, LookupsByIdAndByPathAndCounts) {
  // Headwords and entries; each default entry counts one.
  const std::tuple<const char*, size_t, size_t> counts[] = {
      {"a [ --> X; (C) --> Y; (DEFAULT) --> Z;] ab [ --> X;]", 2, 4},
      {"a [ (DEFAULT) --> Z;] b [ (DEFAULT) --> Z;]", 2, 2},
      {"a [ (C) --> Y; (D) --> Y;]", 1, 2},
      {"", 0, 0},
  };
  for (const auto& [text, headwords, entries] : counts) {
    size_t headwordCount = 99, entryCount = 99;
    EXPECT_TRUE(Compile(text)->CountEntries(headwordCount, entryCount));
    EXPECT_EQ(headwordCount, headwords) << text;
    EXPECT_EQ(entryCount, entries) << text;
  }
  auto lexicon = Compile("a [ --> X; (C) --> Y; (DEFAULT) --> Z;] ab [ --> X;]");
  EXPECT_EQ(lexicon->FindHeadwordByPath({Sym(u"a")}), Find(*lexicon, u"a"));
  EXPECT_EQ(lexicon->FindHeadwordByPath({Sym(u"a"), Sym(u"b")}), Find(*lexicon, u"ab"));
  EXPECT_EQ(lexicon->FindHeadwordByPath({Sym(u"b"), Sym(u"a")}), nullptr);
  EXPECT_EQ(GetSymbolId(u"ba", false), kNoSymbol);  // the lookup creates nothing
  EXPECT_EQ(lexicon->FindHeadwordByPath({}), nullptr);
  EXPECT_EQ(lexicon->FindHeadword(Sym(u"zzz")), nullptr);
}

TEST_F(MapLexiconCompileTest, WithoutAnEnglishLexiconPathsStayEmpty) {
  CMapLexicon lexicon("", "", "", nullptr, 1.0);
  CMapLexEntry entry;
  lexicon.ParseEntryValue(u"OBJ = s::OBJ", entry);
  ASSERT_EQ(entry.statements.size(), 1u);
  EXPECT_TRUE(entry.statements[0]->leftPath.ids.empty());
  EXPECT_FALSE(lexicon.ParsesPaths());
}

}  // namespace
}  // namespace mapping_test
