// Shared set-up of the tokeniser tests: list files in a temporary folder, a
// source of entries that records the category and features asked for, and a
// compact row per token (text, kind, entry category, entry features,
// readings) for table-driven comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/pre_processor.h"
#include "core/config_store.h"
#include "resources/e_lexicon_entry.h"
#include "support/test_support.h"

class RecordingEntryMaker : public CTokenEntryMaker {
 public:
  struct Request {
    WString category;
    WString features;
  };
  std::unique_ptr<CELexicalEntry> MakeEntry(const WString& category, const WString& features) override {
    if (refuse) return nullptr;
    auto entry = std::make_unique<CELexicalEntry>();
    made[entry.get()] = {category, features};
    return entry;
  }
  std::map<const CELexicalEntry*, Request> made;
  bool refuse = false;  // as a lexicon whose compiler rejects the features
};

struct TokenRow {
  std::string text;
  std::string kind;  // "word", "abbr", "end" (sentence end) or a POS name
  std::string category;
  std::string features;
  std::vector<std::string> readings;

  bool operator==(const TokenRow& other) const = default;
};

inline void PrintTo(const TokenRow& row, std::ostream* out) {
  *out << "{\"" << row.text << "\", " << row.kind << ", " << row.category << ", \"" << row.features << "\", [";
  for (const auto& r : row.readings) *out << r << " ";
  *out << "]}";
}

// A row without an entry.
inline TokenRow Plain(const std::string& text, const std::string& kind = "word") { return {text, kind, "", "", {}}; }

inline const char* kTestPOSList = "det n pn pron v aux adj adv p conj neg card ord date time alphanum apostr wh punct";

class TokeniserTest : public ::testing::Test {
 protected:
  void WriteText(const std::string& name, const std::string& text) {
    std::ofstream out(dir_.File(name), std::ios::binary);
    out << text;
  }

  // Builds the tokeniser over the given table and lists.
  void Build(const std::string& table, const std::string& units = "", const std::string& abbreviations = "Mr Dr etc",
             const std::string& pos = kTestPOSList) {
    WriteText("table.txt", table);
    WriteText("units.txt", units);
    WriteText("abbreviations.txt", abbreviations);
    WriteText("pos.txt", pos);
    UseFiles(dir_.File("table.txt"), dir_.File("units.txt"), dir_.File("abbreviations.txt"), dir_.File("pos.txt"));
  }

  void UseFiles(const std::string& table, const std::string& units, const std::string& abbreviations,
                const std::string& pos) {
    SetConfigValue("TransitionTable", table);
    SetConfigValue("UnitPosFile", units);
    SetConfigValue("AbbreviationFile", abbreviations);
    SetConfigValue("POSs", pos);
    pre_ = std::make_unique<CPreProcessor>(maker_);
    posNames_.clear();
    std::ifstream in(pos);
    for (std::string name; in >> name;) posNames_.push_back(name);
  }

  std::string KindName(int kind) const {
    if (kind == kTokenWord) return "word";
    if (kind == kTokenAbbreviation) return "abbr";
    if (kind == kTokenSentenceEnd) return "end";
    if (kind == kTokenEndOfInput) return "eoi";
    if (kind >= 1 && static_cast<size_t>(kind) <= posNames_.size()) return posNames_[kind - 1];
    return "#" + std::to_string(kind);
  }

  TokenRow Row(const CToken& token) const {
    TokenRow row{ToUtf8(token.Text), KindName(token.Kind), "", "", {}};
    if (const CELexicalEntry* entry = pre_->GetLastBuiltEntry()) {
      const auto found = maker_.made.find(entry);
      if (found != maker_.made.end()) {
        row.category = ToUtf8(found->second.category);
        row.features = ToUtf8(found->second.features);
      }
    }
    for (uint32_t r : token.Readings) row.readings.push_back(KindName(static_cast<int>(r)));
    return row;
  }

  // Every token of the sentence, as the parser draws them.
  std::vector<TokenRow> Tokens(const std::string& sentence) {
    pre_->SetSentence(FromUtf8(sentence));
    std::vector<TokenRow> rows;
    for (int guard = 0; guard < 1000 && !pre_->IsAtLastChar(); ++guard) {
      const CToken token = pre_->NextToken();
      if (token.Kind == kTokenEndOfInput) break;
      rows.push_back(Row(token));
    }
    return rows;
  }

  // The shipped tokeniser files of the data root; false when absent.
  bool UseShippedData() {
    const char* root = std::getenv("LFG_SOURCE_DIR");
    if (!root) return false;
    const std::filesystem::path data = std::filesystem::path(root) / "dataroot" / "data";
    const auto pos = data / "english" / "POSs.txt";
    const auto table = data / "tokeniser" / "TransitionTable.txt";
    if (!std::filesystem::exists(pos) || !std::filesystem::exists(table)) return false;
    UseFiles(table.string(), (data / "tokeniser" / "UnitPosFile.txt").string(),
             (data / "tokeniser" / "AbbreviationFile.txt").string(), pos.string());
    return true;
  }

  TempDir dir_;
  RecordingEntryMaker maker_;
  std::unique_ptr<CPreProcessor> pre_;
  std::vector<std::string> posNames_;
};
