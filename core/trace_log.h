// The numbered trace log of the whole run ("data\LogFile.Log"): a program-wide
// CFileWriter and a line counter. Each WriteTraceLog writes one line: the
// counter, ". ", the message and CR LF.
#pragma once

#include <cstdint>
#include <string>

#include "core/file_writer.h"
#include "core/wide_string.h"

// Opens (truncates) GetConfigDirectory() + "\" + name, or the name itself when
// that folder is empty, and sets the counter to 0. Returns true even when the
// file cannot be opened; the log then only counts. From then on the repeats
// of a message within one sentence (platform/message_box.h) are logged here.
bool OpenTraceLog(const std::string& name);
// Adds 1 to the counter and writes "<counter>. <message>\r\n" in one flushed
// Write. The counter also advances when the log is not open.
void WriteTraceLog(const WString& message);
// Closes the log file; returns true. The counter is kept.
bool CloseTraceLog();
// The log's writer, for other writers of the log.
CFileWriter& GetTraceLogWriter();
// The number of WriteTraceLog calls since the last OpenTraceLog (or since the
// start of the program).
uint64_t TraceLogLineCount();
