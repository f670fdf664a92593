// The subcategorisation frame table: the lines of "SubCats", each a list of
// grammatical functions separated by TAB. Frame numbers are line numbers from
// 0; lexical entries name their frame with "^GF=<n>", and the solver asks for
// the frame of a predicate through the frame hook.
#include <cstdio>

#include "constraints/p_symbol_table.h"
#include "constraints/solver_hooks.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "resources/english/e_lexicon.h"

std::vector<std::vector<std::string>> SubcatFrameNames;
std::vector<std::vector<uint16_t>> SubcatFrameIds;

namespace {

std::string TrimSpaces(const std::string& text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// The fields between separators, kept as they stand (empty ones included).
std::vector<std::string> SplitAtSeparator(const std::string& line, char separator) {
  std::vector<std::string> fields;
  size_t begin = 0;
  while (true) {
    const size_t tab = line.find(separator, begin);
    fields.push_back(line.substr(begin, tab == std::string::npos ? std::string::npos : tab - begin));
    if (tab == std::string::npos) return fields;
    begin = tab + 1;
  }
}

}  // namespace

bool LoadSubcatFrames(const std::string& path) {
  SubcatFrameNames.clear();
  SubcatFrameIds.clear();
  FileHandle file(OpenFile(path, "rb"));
  if (!file) return false;
  std::string text;
  for (int c = std::fgetc(file.get()); c != EOF; c = std::fgetc(file.get())) text += static_cast<char>(c);
  size_t begin = 0;
  while (true) {
    const size_t end = text.find('\n', begin);
    std::string line = text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF text
    std::vector<uint16_t> ids;
    const std::vector<std::string> names = SplitAtSeparator(TrimSpaces(line), '\t');
    for (const std::string& name : names) {
      const uint16_t id = P_SymbolTable::Intern(name);
      if (id == 0 && !name.empty()) {
        SubcatFrameNames.clear();
        SubcatFrameIds.clear();
        return false;
      }
      ids.push_back(id);
    }
    SubcatFrameNames.push_back(names);
    SubcatFrameIds.push_back(ids);
    if (end == std::string::npos) return true;
    begin = end + 1;
  }
}

int GetSubcatFrameIndex(const std::vector<uint16_t>& frame) {
  for (size_t i = 0; i < SubcatFrameIds.size(); ++i) {
    if (SubcatFrameIds[i] == frame) return static_cast<int>(i);
  }
  const std::u16string text = u"RUN TIme Error In: --> GetSubcatFrameIndex() ";
  ShowMessage(text, text, MessageStyle::IconInformation);
  return -1;
}

std::vector<uint16_t> GetSubcatFrame(int frameNumber) { return GetSubcatFrameRef(frameNumber); }

const std::vector<uint16_t>& GetSubcatFrameRef(int frameNumber) {
  static const std::vector<uint16_t> kNoFrame;
  if (frameNumber < 0 || static_cast<size_t>(frameNumber) >= SubcatFrameIds.size()) return kNoFrame;
  return SubcatFrameIds[static_cast<size_t>(frameNumber)];
}

void InstallSubcatFrameSource() {
  SetSubcatFrameSource([](int frameNumber) -> std::optional<std::vector<uint16_t>> {
    if (frameNumber < 0 || static_cast<size_t>(frameNumber) >= SubcatFrameIds.size()) return std::nullopt;
    return GetSubcatFrame(frameNumber);
  });
}
