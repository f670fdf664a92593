#include "transfer/generation/generation_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/config_store.h"
#include "core/sentence_state.h"
#include "platform/utf8.h"

namespace generation_test {

namespace {

std::u16string Wide(const std::string& text) { return FromUtf8(text); }

struct StructureReader {
  const std::string& text;
  size_t at = 0;
  int elementCounter = 0;

  void SkipBlanks() {
    while (at < text.size() && text[at] == ' ') ++at;
  }
  std::string Name() {
    size_t start = at;
    while (at < text.size() && std::string("[]{}= /").find(text[at]) == std::string::npos) ++at;
    return text.substr(start, at - start);
  }
  std::vector<SymbolId> Values(const std::string& list) {
    std::vector<SymbolId> values;
    std::stringstream stream(list);
    std::string piece;
    while (std::getline(stream, piece, ',')) values.push_back(Sym(Wide(piece)));
    return values;
  }
  static CFSNode* Child(CFSNode* parent, const std::string& attribute) {
    auto* node = new CFSNode(static_cast<int16_t>(Sym(Wide(attribute))), parent);
    parent->AddChild(node);
    return node;
  }
  void Pred(CFSNode* parent) {
    CFSNode* pred = Child(parent, "PRED");
    std::string word;
    // A quoted value may hold blanks.
    if (text[at] == '\'') {
      size_t close = text.find('\'', at + 1);
      word = text.substr(at, close - at + 1);
      at = close + 1;
    } else {
      word = Name();
    }
    Child(pred, "VALUE")->Value = Values(word);
    if (at < text.size() && text[at] == '/') {
      ++at;
      Child(pred, "GF")->Value = Values(Name());
    }
  }
  // Reads "[ items ]" into the node.
  void Items(CFSNode* node) {
    ++at;  // '['
    while (true) {
      SkipBlanks();
      if (at >= text.size() || text[at] == ']') break;
      const std::string attribute = Name();
      if (text[at] == '=') {
        ++at;
        if (attribute == "PRED") {
          Pred(node);
        } else {
          Child(node, attribute)->Value = Values(Name());
        }
      } else if (text[at] == '[') {
        Items(Child(node, attribute));
      } else if (text[at] == '{') {
        CFSNode* set = Child(Child(node, attribute), "SET");
        ++at;
        while (true) {
          SkipBlanks();
          if (text[at] == '}') break;
          Items(Child(set, "ELEMENT" + std::to_string(++elementCounter)));
        }
        ++at;
      }
    }
    ++at;  // ']'
  }
};

}  // namespace

CFSNode* BuildStructure(const std::string& text) {
  auto* root = new CFSNode(static_cast<int16_t>(RootId), nullptr);
  StructureReader reader{text};
  reader.Items(root);
  return root;
}

CFSNode* At(CFSNode* root, const std::string& dottedPath) {
  std::vector<SymbolId> path;
  std::stringstream stream(dottedPath);
  std::string piece;
  while (std::getline(stream, piece, '.')) path.push_back(Sym(Wide(piece)));
  return root->FindPath(&path, true);
}

std::string ValuesOf(const CFSNode* node) {
  if (node == nullptr) return "(none)";
  std::string text;
  for (SymbolId value : node->Value) text += (text.empty() ? "" : " ") + ToUtf8(GetSymbolName(value));
  return text;
}

std::string Joined(const WStringList& sentences) {
  std::string text;
  for (const WString& sentence : sentences) text += (text.empty() ? "" : "|") + ToUtf8(sentence);
  return text;
}

}  // namespace generation_test

namespace {

std::u16string ReadTestData(const std::string& name) {
  const char* source = std::getenv("LFG_SOURCE_DIR");
  std::ifstream file(std::string(source != nullptr ? source : ".") + "/tests/data/generation/" + name);
  std::stringstream content;
  content << file.rdbuf();
  return FromUtf8(content.str());
}

}  // namespace

void GenerationTest::SetUp() {
  ClearConfiguration();
  RegisterReservedSymbols();
  rulesText = ReadTestData("rules.txt");
  edgesAtStart = CChartEdge::liveInstances;
  productionsAtStart = CProduction::liveInstances;
}

void GenerationTest::TearDown() {
  SetSentenceRelease(SentencePart::kGeneration, {});
  generator.reset();
  ResetSentence();
  grammar.reset();
  lexicon.reset();
  parser.reset();
  ClearConfiguration();
}

void GenerationTest::ResetSentence() { ResetSentenceSegment(); }

CUrduSentenceGenerator& GenerationTest::Generator() {
  if (generator) return *generator;
  auto file = [&](const std::string& key, const std::string& name, const std::u16string& text) {
    WriteUtf16File(dir.File(name), text);
    SetConfigValue(key, dir.File(name));
  };
  file("UOrderedFeatureListFileName", "features.txt", u"PRED, NUM, GEND\r\n");
  file("Expansions", "expansions.txt", u"");
  file("ULexiconFileName", "lexicon.txt", ReadTestData("lexicon.txt"));
  for (const char* key : {"ULexiconDumpFileName", "ULexiconInNumbers", "UCommonLexFeaturesFileName"}) {
    SetConfigValue(key, dir.File(key));
  }
  SetConfigValue("CompileLexicon", "yes");
  file("SpecialUnmarkedItemsFileName", "special.txt", specialItems + u"\r\n");
  file("HeadlessPredicateItemsFileName", "headless.txt", headlessItems + u"\r\n");
  file("SubCatFrameListFileName", "gf.txt", u"SUBJ, OBJ, OBJ2\r\n");
  lexicon = std::make_unique<CLexicon>("U", true);
  WriteUtf16File(dir.File("rules.txt"), rulesText);
  WriteUtf16File(dir.File("macros.txt"), macrosText.empty() ? ReadTestData("macros.txt") : macrosText);
  grammar = std::make_unique<CGrammar>(dir.File("rules.txt"), dir.File("macros.txt"), dir.File("rules.lfg"),
                                       dir.File("rules.cfg"), lexicon.get(), false, true);
  parser = std::make_unique<CLFGParser>(dir.File("gf.txt"));
  generator = std::make_unique<CUrduSentenceGenerator>(parser.get(), lexicon.get(), grammar.get(), nullptr);
  // The generator's chart is this suite's part of the sentence reset.
  SetSentenceRelease(SentencePart::kGeneration, [this] {
    if (generator) generator->Reset();
  });
  return *generator;
}

std::string GenerationTest::GenerateFrom(const std::string& structure) {
  CFSNode* root = generation_test::BuildStructure(structure);
  auto* handle = new CFSHandle(root, 1.0);
  handle->Normalize();
  WStringList out;
  Generator().Generate(out, {handle});
  return generation_test::Joined(out);
}
