#include "transfer/mapping/map_lexicon_report.h"

#include "core/string_helpers.h"
#include "platform/message_box.h"

void ReportMapLexiconProblem(const WString& text) {
  ShowMessage(text, u"Mapping Lexicon", MessageStyle::Ok | MessageStyle::IconInformation);
}

void ReportMapLexiconProblemAt(const std::string& file, int line, const WString& text) {
  ReportMapLexiconProblem(NarrowToWide(file) + u", line " + IntToWString(line) + u": " + text);
}
