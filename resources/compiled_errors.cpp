#include "resources/compiled_errors.h"

#include "core/string_helpers.h"
#include "platform/message_box.h"
#include "platform/utf8.h"

void FailCompile(const WString& text, const WString& caption, const std::string& errorText,
                 const std::string& location) {
  WString shown = text;
  if (!location.empty()) shown += u"\n" + FromUtf8(location);
  ShowMessage(shown, caption, MessageStyle::IconInformation);
  throw CCompileError(location.empty() ? errorText : errorText + " (" + location + ")");
}

std::string CompileLocation(const std::string& file, const WString& entry) {
  std::string location = "in " + file;
  if (!entry.empty()) location += ", entry \"" + ToUtf8(entry) + "\"";
  return location;
}
