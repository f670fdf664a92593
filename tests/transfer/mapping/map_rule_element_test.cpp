// Statements built from their texts: path kinds, value sets, delete and
// insert statements, copies and the dump form.
#include "transfer/mapping/map_rule_element.h"

#include <memory>

#include "transfer/mapping/mapping_test_support.h"

namespace mapping_test {
namespace {

class MapRuleElementTest : public MappingTest {};

TEST_F(MapRuleElementTest, PathTextsGiveTheirKindAndIds) {
  struct Case {
    WString text;
    char kind;  // the kind when the record started as 't'
    std::vector<WString> ids;
  };
  const Case cases[] = {
      {u"SUBJ.PRED", 't', {u"SUBJ", u"PRED"}},
      {u"s::SUBJ.PRED", 's', {u"SUBJ", u"PRED"}},
      {u"t::OBJ", 't', {u"OBJ"}},
      {u"{a,b}", 'v', {u"a", u"b"}},
      {u"<SUBJ,OBJ>", 't', {u"<SUBJ,OBJ>"}},  // only '{' and an apostrophe open a value set
      {u"'x'", 'v', {u"'x'"}},
      {u"'دینا<SUBJ,OBJ>'", 'v', {u"'دینا", u"SUBJ", u"OBJ", u"'"}},
      {u"s::{sg}", 'v', {u"sg"}},
      {u"SUBJ . NUM", 't', {u"SUBJ", u"NUM"}},
      {u"OBJ PRED", 't', {u"OBJ", u"PRED"}},  // blanks cut paths too
      {u"ab::OBJ", 't', {u"ab::OBJ"}},        // only a one-letter kind is a kind
      {u"::OBJ", 't', {u"::OBJ"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    CMapPath path{'t', {}};
    EXPECT_TRUE(CMapRuleElement::ParsePath(path, c.text, true));
    EXPECT_EQ(path.kind, c.kind);
    EXPECT_EQ(Names(path.ids), Names(Syms(c.ids)));
  }
}

TEST_F(MapRuleElementTest, PathsAreNotParsedWithoutTheFlagOrWithoutPieces) {
  for (const WString& text : {WString(u""), WString(u" . "), WString(u"{,}"), WString(u"SUBJ")}) {
    CMapPath path{'t', {}};
    const bool parsed = CMapRuleElement::ParsePath(path, text, text == u"SUBJ" ? false : true);
    EXPECT_FALSE(parsed) << ToUtf8(text);
    EXPECT_TRUE(path.ids.empty());
  }
}

TEST_F(MapRuleElementTest, StatementTextsGiveOperatorAndPaths) {
  struct Case {
    WString left, right;
    char op;
    char wantOp, leftKind;
    std::vector<WString> leftIds;
    char rightKind;
    std::vector<WString> rightIds;
  };
  const Case cases[] = {
      {u"OBJ", u"", 0, 0, 't', {u"OBJ"}, 's', {}},
      {u"PRED", u"'kitab'", '=', '=', 's', {u"PRED"}, 'v', {u"'kitab'"}},
      {u"OBJ", u"s::OBJ2", '=', '=', 's', {u"OBJ"}, 's', {u"OBJ2"}},
      {u"GEND", u"{f}", '=', '=', 's', {u"GEND"}, 'v', {u"f"}},
      {u"delete OBJ", u"", 0, 'd', 't', {}, 't', {u"OBJ"}},
      {u"delete\tOBJ.SPEC", u"", 0, 'd', 't', {}, 't', {u"OBJ", u"SPEC"}},
      {u"", u"OBJ", 'd', 'd', 's', {}, 't', {u"OBJ"}},
      // Only a leading "delete", a blank and a path make a delete statement.
      {u"undelete OBJ", u"", 0, 0, 't', {u"undelete", u"OBJ"}, 's', {}},
      {u"delete ", u"", 0, 0, 't', {u"delete"}, 's', {}},
      {u"deleted", u"", 0, 0, 't', {u"deleted"}, 's', {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.left) + " " + c.op + " " + ToUtf8(c.right));
    CMapRuleElement element(c.left, c.right, c.op, u"", u"", u"", true);
    EXPECT_EQ(element.op, c.wantOp);
    EXPECT_EQ(element.leftPath.kind, c.leftKind);
    EXPECT_EQ(Names(element.leftPath.ids), Names(Syms(c.leftIds)));
    EXPECT_EQ(element.rightPath.kind, c.rightKind);
    EXPECT_EQ(Names(element.rightPath.ids), Names(Syms(c.rightIds)));
    EXPECT_EQ(element.cacheSymbol, kNoSymbol);
    EXPECT_EQ(element.insertHeadword, kNoSymbol);
  }
}

TEST_F(MapRuleElementTest, InsertValuesAreCountsSymbolsOrNothing) {
  struct Case {
    WString value;
    uint16_t want;  // kNoSymbol: none; 0: the symbol of the text; else a count
  };
  const Case cases[] = {
      {u"NULL", kNoSymbol}, {u"", kNoSymbol}, {u"3", 3},         {u"12", 12},
      {u"32767", 32767},    {u"OBJ", 0},      {u"0", kNoSymbol}, {u"40000", kNoSymbol},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.value));
    CMapRuleElement element(u"", u"", 'i', u"VP", u"VPRULES", c.value, true);
    EXPECT_EQ(element.op, 'i');
    EXPECT_EQ(element.cacheSymbol, Sym(u"VP"));
    EXPECT_EQ(element.insertHeadword, Sym(u"VPRULES"));
    const bool count = c.want != kNoSymbol && c.want != 0;
    EXPECT_EQ(element.valueIsNumber, count);
    EXPECT_EQ(element.value, c.want == 0 ? Sym(c.value) : c.want);
    EXPECT_TRUE(element.leftPath.ids.empty());
    EXPECT_TRUE(element.rightPath.ids.empty());
  }
}

TEST_F(MapRuleElementTest, WithoutParsingTheTextsLeaveThePathsEmpty) {
  CMapRuleElement element(u"OBJ", u"s::OBJ", '=', u"", u"", u"", false);
  EXPECT_EQ(element.op, '=');
  EXPECT_TRUE(element.leftPath.ids.empty());
  EXPECT_TRUE(element.rightPath.ids.empty());
}

TEST_F(MapRuleElementTest, PathStartsWithLooksAtTheFirstLeftId) {
  EXPECT_TRUE(CMapRuleElement(u"BREAK", u"", 0, u"", u"", u"", true).PathStartsWith(BreakId));
  EXPECT_FALSE(CMapRuleElement(u"OBJ.BREAK", u"", 0, u"", u"", u"", true).PathStartsWith(BreakId));
  EXPECT_FALSE(CMapRuleElement(u"", u"BREAK", 'd', u"", u"", u"", true).PathStartsWith(BreakId));
  EXPECT_FALSE(CMapRuleElement().PathStartsWith(kNoSymbol));
}

TEST_F(MapRuleElementTest, CloneAndDumpKeepEveryField) {
  std::vector<std::unique_ptr<CMapRuleElement>> elements;
  elements.push_back(std::make_unique<CMapRuleElement>());
  elements.push_back(std::make_unique<CMapRuleElement>(u"OBJ.PRED", u"'kitab'", '=', u"", u"", u"", true));
  elements.push_back(std::make_unique<CMapRuleElement>(u"delete OBJ", u"", 0, u"", u"", u"", true));
  elements.push_back(std::make_unique<CMapRuleElement>(u"", u"", 'i', u"VP", u"VPRULES", u"2", true));
  elements.push_back(std::make_unique<CMapRuleElement>(u"", u"", 'i', u"VP", u"VPRULES", u"OBJ", true));
  for (const auto& element : elements) {
    std::unique_ptr<CMapRuleElement> copy(element->Clone());
    EXPECT_TRUE(*copy == *element);

    DumpWords words;
    uint32_t written = kNoWordYet;
    PutWord(words, written, 0xBEEF);  // something before the element
    ASSERT_TRUE(element->Serialize(words, written));
    uint32_t read = 0;
    CMapRuleElement loaded;
    ASSERT_TRUE(loaded.Deserialize(words, read));
    EXPECT_TRUE(loaded == *element);
    EXPECT_EQ(read, written);
    EXPECT_EQ(written + 1, words.size());
  }
}

TEST_F(MapRuleElementTest, ACutDumpIsRefusedAtEveryLength) {
  CMapRuleElement element(u"OBJ.PRED", u"{a,b,c}", '=', u"", u"", u"", true);
  DumpWords words;
  uint32_t written = kNoWordYet;
  ASSERT_TRUE(element.Serialize(words, written));
  for (size_t length = 0; length < words.size(); ++length) {
    const DumpWords cut(words.begin(), words.begin() + static_cast<long>(length));
    uint32_t read = kNoWordYet;
    CMapRuleElement loaded;
    EXPECT_FALSE(loaded.Deserialize(cut, read)) << length;
  }
}

TEST_F(MapRuleElementTest, ADamagedPathCountStopsAtTheEndOfTheWords) {
  CMapRuleElement element(u"OBJ", u"SUBJ", '=', u"", u"", u"", true);
  DumpWords words;
  uint32_t written = kNoWordYet;
  ASSERT_TRUE(element.Serialize(words, written));
  words[5] = 0xFFFF;  // the left count
  uint32_t read = kNoWordYet;
  CMapRuleElement loaded;
  EXPECT_FALSE(loaded.Deserialize(words, read));
}

TEST_F(MapRuleElementTest, EveryElementIsCounted) {
  const int before = CMapRuleElement::liveInstances;
  {
    CMapRuleElement element(u"OBJ", u"", 0, u"", u"", u"", true);
    std::unique_ptr<CMapRuleElement> copy(element.Clone());
    EXPECT_EQ(CMapRuleElement::liveInstances, before + 2);
  }
  EXPECT_EQ(CMapRuleElement::liveInstances, before);
}

}  // namespace
}  // namespace mapping_test
