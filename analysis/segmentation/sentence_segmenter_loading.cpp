// Reading the segmentation rule file into the segmenter's rule list.
#include <vector>

#include "analysis/segmentation/sentence_segmenter.h"
#include "core/file_reader.h"
#include "core/scanning.h"
#include "core/string_helpers.h"
#include "core/text_reading.h"
#include "platform/message_box.h"

namespace {

// The lines of a block, relative to its header line.
constexpr size_t kPatternLine = 1;
constexpr size_t kConditionLine = 2;
constexpr size_t kLabelLine = 3;
constexpr size_t kBlankLine = 4;
constexpr size_t kBlockLines = 5;

bool IsBlankLine(const WString& line) { return TrimWString(line).empty(); }

void ReportRuleFileError(const std::string& fileName, size_t lineIndex, const std::string& reason) {
  std::string text = "Segmentation rule file '" + fileName + "', line " + IntToString(static_cast<int>(lineIndex + 1)) +
                     ": " + reason + "; the rule is skipped.";
  ShowMessage(NarrowToWide(text), u"Sentence Segmenter", MessageStyle::Ok);
}

// Where reading goes on after a malformed block: after the first blank line
// from the block's header on (a blank header line counts: it is then most
// likely an extra blank line between blocks). lines.size() when none is left.
size_t NextBlockAfter(const std::vector<WString>& lines, size_t header) {
  for (size_t i = header; i < lines.size(); ++i) {
    if (IsBlankLine(lines[i])) return i + 1;
  }
  return lines.size();
}

struct BlockError {
  size_t line = 0;
  std::string reason;
  bool endsFile = false;  // the file ends inside the block
};

// Fills the rule from the block that starts at header; false with the error
// when the block is malformed.
bool ReadBlock(const std::vector<WString>& lines, size_t header, const TagIdLookup& tagIds, CSegmentRule& rule,
               BlockError& error) {
  auto lineAt = [&](size_t offset) { return header + offset; };
  if (!rule.ParsePattern(lines[lineAt(kPatternLine)], tagIds)) {
    error = {lineAt(kPatternLine), "malformed pattern (elements TAG:# or WORD:TAG joined by '*')", false};
    return false;
  }
  if (lineAt(kConditionLine) >= lines.size()) {
    error = {lineAt(kPatternLine), "the file ends before the rule's condition line", true};
    return false;
  }
  WString conditions = lines[lineAt(kConditionLine)];
  TrimSpaceCrLf(conditions);
  if (conditions != u"#" && !rule.ParseConditions(lines[lineAt(kConditionLine)], tagIds)) {
    error = {lineAt(kConditionLine), "malformed conditions (\"#\", or TAG:#+n, WORD:TAG-n ... joined by '*' and '|')",
             false};
    return false;
  }
  if (lineAt(kLabelLine) >= lines.size()) {
    error = {lineAt(kConditionLine), "the file ends before the rule's label line", true};
    return false;
  }
  rule.SetLabel(lines[lineAt(kLabelLine)]);
  if (lineAt(kBlankLine) < lines.size() && !IsBlankLine(lines[lineAt(kBlankLine)])) {
    error = {lineAt(kBlankLine), "a blank line must follow the label line", false};
    return false;
  }
  return true;
}

}  // namespace

CSentenceSegmenter::CSentenceSegmenter(const std::string& fileName, const TagIdLookup& tagIds) {
  LoadRules(fileName, tagIds);
}

void CSentenceSegmenter::LoadRules(const std::string& fileName, const TagIdLookup& tagIds) {
  std::vector<WString> lines = SplitLines(CFileReader(1024).ReadAll(fileName));
  size_t header = 0;
  // A block that ends before its pattern line adds no rule.
  while (header + kPatternLine < lines.size()) {
    if (rules.size() >= kNoRule) {
      ReportRuleFileError(fileName, header, "too many rules");
      return;
    }
    auto rule = std::make_unique<CSegmentRule>();
    BlockError error;
    if (!ReadBlock(lines, header, tagIds, *rule, error)) {
      ReportRuleFileError(fileName, error.line, error.reason);
      if (error.endsFile) return;
      header = NextBlockAfter(lines, header);
      continue;
    }
    WString pattern = lines[header + kPatternLine];
    TrimSpaceCrLf(pattern);
    if (pattern == u"p:#") pRuleIndex = static_cast<uint16_t>(rules.size());
    if (pattern == u"and:coord_conj") andRuleIndex = static_cast<uint16_t>(rules.size());
    rules.push_back(std::move(rule));
    header += kBlockLines;
  }
}
