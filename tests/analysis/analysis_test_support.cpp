#include "analysis_test_support.h"

#include <cstdlib>
#include <memory>

#include "resources/lexicon.h"

namespace lfg_test {

SymbolId Sym(const std::u16string& name) { return GetSymbolId(name, true); }

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

namespace {

class NotationReader {
 public:
  explicit NotationReader(const std::string& text) : text_(text) {}

  CFSNode* ReadNode(int16_t attribute) {
    auto* node = new CFSNode(attribute, nullptr);
    SkipBlanks();
    if (Peek() == '{') ReadValues(*node);
    SkipBlanks();
    if (Peek() == '[') ReadChildren(*node);
    SkipBlanks();
    if (Peek() == '<') ReadSet(*node);
    return node;
  }

 private:
  char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }
  std::string ReadWord() {
    SkipBlanks();
    std::string word;
    while (pos_ < text_.size() && std::string(" {}[]<>").find(text_[pos_]) == std::string::npos) {
      word += text_[pos_++];
    }
    return word;
  }
  void ReadValues(CFSNode& node) {
    ++pos_;
    for (std::string word = ReadWord(); !word.empty(); word = ReadWord()) node.Value.push_back(Sym(Widen(word)));
    ++pos_;  // '}'
  }
  void ReadChildren(CFSNode& node) {
    ++pos_;
    for (std::string name = ReadWord(); !name.empty(); name = ReadWord()) {
      node.AddChild(ReadNode(static_cast<int16_t>(Sym(Widen(name)))));
    }
    SkipBlanks();
    ++pos_;  // ']'
  }
  void ReadSet(CFSNode& node) {
    ++pos_;
    SkipBlanks();
    while (Peek() != '>' && Peek() != '\0') {
      CFSNode* element = ReadNode(-1);
      element->Parent = &node;
      node.AddSetElement(element);
      SkipBlanks();
    }
    ++pos_;  // '>'
  }

  std::string text_;
  size_t pos_ = 0;
};

std::string JoinValues(const std::vector<SymbolId>& values) {
  std::string text = "{";
  for (size_t i = 0; i < values.size(); ++i) text += (i ? " " : "") + Narrow(GetSymbolName(values[i]));
  return text + "}";
}

}  // namespace

CFSNode* BuildFS(const std::string& text) { return NotationReader(text).ReadNode(-1); }

std::string ShowFS(const CFSNode* node) {
  if (node == nullptr) return "null";
  std::string text;
  const bool bare = node->ChildList.empty() && node->SetElements.empty();
  if (!node->Value.empty() || bare) text += JoinValues(node->Value);
  if (!node->ChildList.empty()) {
    text += "[";
    for (size_t i = 0; i < node->ChildList.size(); ++i) {
      const CFSNode* child = node->ChildList[i];
      text += (i ? " " : "") + Narrow(GetSymbolName(static_cast<SymbolId>(child->Attribute))) + " " +
              ShowFS(child);
    }
    text += "]";
  }
  if (!node->SetElements.empty()) {
    text += "<";
    for (size_t i = 0; i < node->SetElements.size(); ++i) {
      text += (i ? " " : "") + ShowFS(node->SetElements[i]);
    }
    text += ">";
  }
  return text;
}

CEquation* MakeEquation(const std::string& text) {
  const size_t at = text.find_first_of("=$");
  auto* equation = new CEquation();
  equation->op = static_cast<WChar>(text[at]);
  equation->left = CLexicon::ParseOperand(Widen(text.substr(0, at))).release();
  equation->right = CLexicon::ParseOperand(Widen(text.substr(at + 1))).release();
  return equation;
}

namespace {

CProductionSymbol* MakeSymbol(const std::string& spec) {
  auto* symbol = new CProductionSymbol();
  const size_t colon = spec.find(':');
  symbol->name = Widen(spec.substr(0, colon));
  symbol->kind = !spec.empty() && spec[0] >= 'a' && spec[0] <= 'z' ? 1 : 0;
  symbol->id = Sym(symbol->name);
  if (colon == std::string::npos) return symbol;
  std::string rest = spec.substr(colon + 1);
  size_t start = 0;
  while (start < rest.size()) {
    size_t comma = rest.find(',', start);
    if (comma == std::string::npos) comma = rest.size();
    const std::string item = rest.substr(start, comma - start);
    if (!item.empty() && (item[0] == '[' || item[0] == '~')) {
      symbol->constraints.push_back(Widen(item));
    } else if (!item.empty()) {
      symbol->equations.push_back(MakeEquation(item));
    }
    start = comma + 1;
  }
  return symbol;
}

}  // namespace

CProduction* MakeProduction(const std::string& mother, const std::vector<std::string>& daughters) {
  auto production = std::make_unique<CProduction>();
  production->mother = MakeSymbol(mother);
  for (const std::string& daughter : daughters) production->daughters.push_back(MakeSymbol(daughter));
  production->daughters.push_back(MakeSymbol("."));
  return RegisterProduction(std::move(production));
}

void ExpectWellFormedXml(const std::string& path) {
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "xmllint is not installed (Debian package libxml2-utils); XML not checked";
  }
  const std::string command = "xmllint --noout '" + path + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << "xmllint rejects " << path;
}

void LfgTest::SetUp() {
  CFSHandle::DeleteAll();
  CFSNode::DeleteAll();
  DeleteGlobalObjectList();
  CFSNode::ResetIdCounter();
  RegisterReservedSymbols();
}

void LfgTest::TearDown() {
  DeleteGlobalObjectList();
  CFSHandle::DeleteAll();
  CFSNode::DeleteAll();
}

}  // namespace lfg_test
