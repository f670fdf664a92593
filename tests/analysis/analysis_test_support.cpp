#include "analysis/analysis_test_support.h"

#include <cstdlib>
#include <memory>
#include <sstream>

#include "core/sentence_state.h"
#include "resources/lfg/lexicon.h"

namespace lfg_test {

SymbolId Sym(const std::u16string& name) { return GetSymbolId(name, true); }

namespace {

struct NotationReader {
  const std::string& text;
  size_t pos = 0;

  char Next() {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    return pos < text.size() ? text[pos] : '\0';
  }
  std::string Word() {
    Next();
    std::string word;
    while (pos < text.size() && std::string(" {}[]<>").find(text[pos]) == std::string::npos) word += text[pos++];
    return word;
  }
  CFSNode* Node(int16_t attribute) {
    auto* node = new CFSNode(attribute, nullptr);
    if (Next() == '{') {
      ++pos;
      for (std::string w = Word(); !w.empty(); w = Word()) node->Value.push_back(Sym(FromUtf8(w)));
      ++pos;
    }
    if (Next() == '[') {
      ++pos;
      for (std::string w = Word(); !w.empty(); w = Word()) node->AddChild(Node(static_cast<int16_t>(Sym(FromUtf8(w)))));
      ++pos;
    }
    if (Next() == '<') {
      ++pos;
      while (Next() != '>' && Next() != '\0') {
        CFSNode* element = Node(-1);
        element->Parent = node;
        node->AddSetElement(element);
      }
      ++pos;
    }
    return node;
  }
};

CProductionSymbol* MakeSymbol(const std::string& spec) {
  auto* symbol = new CProductionSymbol();
  const size_t colon = spec.find(':');
  symbol->name = FromUtf8(spec.substr(0, colon));
  symbol->kind = !spec.empty() && spec[0] >= 'a' && spec[0] <= 'z' ? 1 : 0;
  symbol->id = Sym(symbol->name);
  if (colon == std::string::npos) return symbol;
  std::istringstream items(spec.substr(colon + 1));
  for (std::string item; std::getline(items, item, ',');) {
    if (item[0] == '[' || item[0] == '~')
      symbol->constraints.push_back(FromUtf8(item));
    else
      symbol->equations.push_back(MakeEquation(item));
  }
  return symbol;
}

}  // namespace

CFSNode* BuildFS(const std::string& text) { return NotationReader{text}.Node(-1); }

std::string ShowFS(const CFSNode* node) {
  if (node == nullptr) return "null";
  std::string text;
  if (!node->Value.empty() || (node->ChildList.empty() && node->SetElements.empty())) {
    text += "{";
    for (size_t i = 0; i < node->Value.size(); ++i) text += (i ? " " : "") + ToUtf8(GetSymbolName(node->Value[i]));
    text += "}";
  }
  if (!node->ChildList.empty()) {
    text += "[";
    for (size_t i = 0; i < node->ChildList.size(); ++i) {
      const CFSNode* child = node->ChildList[i];
      text += (i ? " " : "") + ToUtf8(GetSymbolName(static_cast<SymbolId>(child->Attribute))) + " " + ShowFS(child);
    }
    text += "]";
  }
  if (!node->SetElements.empty()) {
    text += "<";
    for (size_t i = 0; i < node->SetElements.size(); ++i) text += (i ? " " : "") + ShowFS(node->SetElements[i]);
    text += ">";
  }
  return text;
}

CEquation* MakeEquation(const std::string& text) {
  const size_t at = text.find_first_of("=$");
  auto* equation = new CEquation();
  equation->op = static_cast<WChar>(text[at]);
  equation->left = CLexicon::ParseOperand(FromUtf8(text.substr(0, at))).release();
  equation->right = CLexicon::ParseOperand(FromUtf8(text.substr(at + 1))).release();
  return equation;
}

CProduction* MakeProduction(const std::string& mother, const std::vector<std::string>& daughters) {
  auto production = std::make_unique<CProduction>();
  production->mother = MakeSymbol(mother);
  for (const std::string& daughter : daughters) production->daughters.push_back(MakeSymbol(daughter));
  production->daughters.push_back(MakeSymbol("."));
  return RegisterProduction(std::move(production));
}

std::u16string ReadUtf16(const std::string& path) {
  const std::vector<unsigned char> bytes = ReadBytes(path);
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  return text;
}

void ExpectWellFormedXml(const std::string& path) {
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "xmllint is not installed (Debian package libxml2-utils); XML not checked";
  }
  EXPECT_EQ(std::system(("xmllint --noout '" + path + "'").c_str()), 0) << "xmllint rejects " << path;
}

void LfgTest::SetUp() {
  ResetSentenceSegment();
  CFSNode::ResetIdCounter();
  RegisterReservedSymbols();
}

void LfgTest::TearDown() { ResetSentenceSegment(); }

}  // namespace lfg_test
