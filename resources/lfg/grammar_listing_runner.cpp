// Runs a grammar listing chosen by name (grammar_listings.h).
#include <cstdio>
#include <memory>

#include "platform/file_system.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/grammar_listings.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Runs a console listing on standard output, or on the file when one is named.
template <typename Print>
bool PrintToConsoleOrFile(const std::string& file, Print print) {
  if (file.empty()) {
    print(stdout);
    return true;
  }
  std::unique_ptr<std::FILE, FileCloser> out(OpenFile(file, "wb"));
  if (out == nullptr) return false;
  print(out.get());
  return true;
}

bool Created(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(OpenFile(path, "rb"));
  return file != nullptr;
}

}  // namespace

const std::vector<std::string>& GrammarListingNames() {
  static const std::vector<std::string> names = {"raw-productions",  "production-counts",  "production-listing",
                                                 "derivation-stack", "production-numbers", "numbered-productions"};
  return names;
}

bool RunGrammarListing(CGrammar& grammar, const std::string& listing, const std::string& file,
                       const std::string& lfgPath) {
  if (listing == "raw-productions") {
    auto productions = std::make_unique<RawProductionList>(grammar.TokenizeRules(lfgPath));
    const bool printed = PrintToConsoleOrFile(
        file, [&productions](std::FILE* out) { CGrammar::PrintRawProductions(*productions, out); });
    CGrammar::DeleteRawProductions(std::move(productions));
    return printed;
  }
  if (listing == "production-counts") {
    return PrintToConsoleOrFile(file, [&grammar](std::FILE* out) { grammar.PrintProductionCounts(out); });
  }
  if (listing == "derivation-stack" || listing == "production-numbers") {
    const bool stack = listing == "derivation-stack";
    const std::string path = !file.empty() ? file : stack ? "stackFile.txt" : "temp.txt";
    if (stack) {
      grammar.WriteDerivationStack(path);
    } else {
      grammar.WriteProductionNumbers(path);
    }
    return Created(path);
  }
  if (file.empty()) return false;
  if (listing == "production-listing") {
    grammar.WriteProductionListing(file);
  } else if (listing == "numbered-productions") {
    grammar.WriteNumberedProductions(file);
  } else {
    return false;
  }
  return Created(file);
}
