// The raw lexicon format: "word : item, item, ... ." where an item is a
// category name, "left = right", "left =c right", "[...]" or "~[...]".
// '/' starts a comment up to the end of the line. Quotes and braces protect
// ',' inside values. Line breaks separate nothing.
#include <memory>
#include <string>
#include <vector>

#include "core/file_reader.h"
#include "core/scanning.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "platform/message_box.h"
#include "resources/lfg/lexicon.h"

namespace {

constexpr int kRawLexiconBufferUnits = 1024;
const char16_t* const kLexiconCaption = u"Lexicon";

// One pass over raw lexicon text. In file mode a closed entry is marked
// finished and, without a "^PRED" item, takes its category text as PRED; in
// text mode every filed entry is listed with its word instead.
class RawLexiconParser {
 public:
  RawLexiconParser(CLexicon& lexicon, const WString& text, bool fileMode, WordEntryPairList* filed)
      : lexicon_(lexicon), text_(text), fileMode_(fileMode), filed_(filed) {}

  // False when an entry could not be read.
  bool Run() {
    for (; Current() != 0; Advance()) Step(Current());
    if (entry_) {
      Drop(u"the text ends before its '.'");
    } else if (const WString rest = TrimWString(current_); !rest.empty()) {
      // A text cut between a word and its ':' would otherwise lose the
      // entries after the cut without a word.
      Report(line_, u"the text ends inside the word '" + rest + u"'");
    }
    ReportProblems();
    return problems_.empty();
  }

 private:
  WChar Current() const { return position_ < text_.size() ? text_[position_] : 0; }
  // Moves to the next unit and counts the lines it passes.
  void Advance() {
    if (Current() == u'\n') ++line_;
    if (position_ < text_.size()) ++position_;
  }

  void Step(WChar unit) {
    switch (unit) {
      case u'\r':
      case u'\n': breakAt_ = current_.size(); return;
      case u':': return StartEntry();
      case u'{':
        braces_ = true;
        current_ += unit;
        return;
      case u'}':
        braces_ = false;
        current_ += unit;
        return;
      case u'\'':
        quoted_ = !quoted_;
        current_ += unit;
        return;
      case u',': return OnComma();
      case u'=': return OnOperator();
      case u'.': return OnPeriod();
      case u'[':
      case u'~': return ScanConstraint(unit);
      case u'/': return SkipComment();
      default: current_ += unit;
    }
  }

  // An entry still open here lost its '.'; its unfinished item stands on the
  // lines before the new word, which then starts after the last line break.
  void StartEntry() {
    WString word = current_;
    if (entry_) {
      Drop(u"the next entry starts before its '.'");
      word = current_.substr(breakAt_);
    }
    entry_ = std::make_unique<CLexicalEntry>();
    entry_->word = TrimWString(word);
    entryLine_ = line_;
    ClearText();
    left_.clear();
    operator_.clear();
    category_.clear();
    commentAteItem_ = false;
  }

  void OnComma() {
    if (current_.empty()) return;  // the ',' after a bracketed constraint
    if (braces_ || quoted_) {
      current_ += u',';
      return;
    }
    EndItem(false);
  }

  // '=' or "=c": the text so far is the left side. The unit after a plain
  // '=' starts the right side whatever it is.
  void OnOperator() {
    left_ = TrimWString(current_);
    ClearText();
    Advance();
    const WChar next = Current();
    if (next == 0) return;
    if (next == u'c') {
      operator_ = u"=c";
      return;
    }
    operator_ = u"=";
    current_ = WString(1, next);
    if (next == u'{') braces_ = true;
    if (next == u'\'') quoted_ = true;
  }

  // A '.' ends the entry even inside quotes or braces; an open quote or brace
  // then means the entry's items ran together, so it is dropped.
  void OnPeriod() {
    const bool blankItem = TrimWString(current_).empty();
    if (!blankItem) EndItem(true);
    ClearText();
    const bool unbalanced = braces_ || quoted_;
    braces_ = quoted_ = false;
    if (!entry_) return;
    if (unbalanced) return Drop(u"a quote or a brace is not closed");
    if (blankItem && commentAteItem_) return Drop(u"a comment stands before its '.'");
    CloseEntry();
  }

  void CloseEntry() {
    if (commentAteItem_) Report(entryLine_, u"a comment discarded an item of entry '" + entry_->word + u"'");
    if (fileMode_) {
      entry_->finished = 1;
      if (entry_->pred.empty()) entry_->pred = category_;
    }
    CLexicalEntry* entry = entry_.release();
    lexicon_.AddEntry(entry);
    if (filed_) filed_->emplace_back(entry->word, entry);
  }

  void EndItem(bool periodForm) {
    const WString right = TrimWString(current_);
    if (entry_) ApplyItem(right, periodForm);
    ClearText();
    left_.clear();
    operator_.clear();
  }

  void ApplyItem(const WString& right, bool periodForm) {
    if (operator_.empty()) {
      if (right.empty()) return;  // blanks only: no category
      entry_->category = static_cast<int16_t>(GetSymbolId(right, true));
      category_ = right;
      return;
    }
    if (operator_ == u"=c") {
      entry_->constraints.push_back(u"[" + left_ + u" =c " + right + u"]");
      return;
    }
    if (periodForm && right.empty()) return;
    if (left_ == u"^PRED") entry_->pred = right;
    auto equation = std::make_unique<CEquation>();
    equation->left = CLexicon::ParseOperand(left_).release();
    equation->op = u'=';
    equation->right = CLexicon::ParseOperand(right).release();
    entry_->equations.push_back(equation.release());
  }

  // From '[' (depth 1) or '~' (depth 0) to the ']' that brings the depth to
  // 0, line breaks included, or to the end of the text.
  void ScanConstraint(WChar first) {
    WString constraint(1, first);
    int depth = first == u'[' ? 1 : 0;
    while (true) {
      Advance();
      const WChar unit = Current();
      if (unit == 0) break;
      constraint += unit;
      if (unit == u'[') ++depth;
      if (unit == u']' && --depth == 0) break;
    }
    if (entry_) entry_->constraints.push_back(constraint);
    ClearText();
  }

  // A comment runs to the end of its line and takes the unfinished item
  // before it on that line with it.
  void SkipComment() {
    while (Current() != 0 && !IsLineEnd(Current())) ++position_;
    if (entry_ && !TrimWString(current_).empty()) commentAteItem_ = true;
    ClearText();
  }

  void ClearText() {
    current_.clear();
    breakAt_ = 0;
  }

  void Drop(const WString& reason) {
    Report(entryLine_, u"entry '" + entry_->word + u"' was dropped: " + reason);
    entry_.reset();
  }

  void Report(size_t line, const WString& text) {
    problems_.push_back(u"line " + IntToWString(static_cast<int>(line)) + u": " + text);
  }

  void ReportProblems() const {
    if (problems_.empty()) return;
    WString text;
    for (const WString& problem : problems_) text += problem + u"\n";
    ShowMessage(text, kLexiconCaption, MessageStyle::Ok);
  }

  CLexicon& lexicon_;
  const WString& text_;
  const bool fileMode_;
  WordEntryPairList* filed_;
  size_t position_ = 0;
  size_t line_ = 1;
  size_t entryLine_ = 1;
  std::unique_ptr<CLexicalEntry> entry_;
  WString current_;
  size_t breakAt_ = 0;  // length of current_ at its last line break
  WString left_;
  WString operator_;
  WString category_;
  bool braces_ = false;
  bool quoted_ = false;
  bool commentAteItem_ = false;
  std::vector<WString> problems_;
};

}  // namespace

bool CLexicon::ParseRawLexicon(const std::string& fileName) {
  CFileReader reader(kRawLexiconBufferUnits);
  const WString text = reader.ReadAll(fileName);
  if (!RawLexiconParser(*this, text, true, nullptr).Run()) damagedFile_ = fileName;
  return true;
}

std::unique_ptr<WordEntryPairList> CLexicon::ParseLexicalEntryText(const WString& text) {
  auto filed = std::make_unique<WordEntryPairList>();
  RawLexiconParser(*this, text, false, filed.get()).Run();
  return filed;
}
