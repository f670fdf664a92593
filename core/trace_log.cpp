#include "core/trace_log.h"

#include "core/config_store.h"
#include "core/string_helpers.h"
#include "platform/message_box.h"

namespace {

// 64 bits, so the numbering never wraps within a run.
uint64_t& LineCounter() {
  static uint64_t counter = 0;
  return counter;
}

}  // namespace

CFileWriter& GetTraceLogWriter() {
  static CFileWriter writer;
  return writer;
}

uint64_t TraceLogLineCount() { return LineCounter(); }

bool OpenTraceLog(const std::string& name) {
  const std::string directory = GetConfigDirectory();
  const std::string path = directory.empty() ? name : directory + "\\" + name;
  GetTraceLogWriter().Open(path);
  LineCounter() = 0;
  // Messages repeated within one sentence are logged instead of shown.
  SetRepeatedMessageSink([](const std::u16string& text, const std::u16string& caption) {
    WriteTraceLog(u"Repeated message: " + caption + u": " + text);
  });
  return true;
}

void WriteTraceLog(const WString& message) {
  const uint64_t number = ++LineCounter();
  if (!GetTraceLogWriter().IsOpen()) return;
  GetTraceLogWriter().Write(NarrowToWide(std::to_string(number)) + u". " + message + u"\r\n");
}

bool CloseTraceLog() {
  GetTraceLogWriter().Close();
  return true;
}
