// Helpers shared by the test suites.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/wide_string.h"
#include "platform/message_box.h"

// A fresh temporary folder, removed with everything in it when the object
// goes. Tests that need files make them here, so suites can run in parallel.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of a file inside the folder, as a narrow string.
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Writes raw bytes to a file.
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::string& path);

// The UTF-16LE bytes of the text, with the mark FF FE in front when asked.
std::vector<unsigned char> Utf16LeBytes(const WString& text, bool with_mark = true);

// Writes text as UTF-16LE units, with the mark FF FE in front when asked.
void WriteUtf16File(const std::string& path, const WString& text, bool with_mark = true);

// Records every message box shown while it lives, answering OK.
class MessageRecorder {
 public:
  struct Message {
    WString text;
    WString caption;
    unsigned style;
  };
  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<Message>& messages() const { return messages_; }
  void clear() { messages_.clear(); }

 private:
  std::vector<Message> messages_;
  MessageHandler previous_;
};

// An equation "left op right" over symbol-id paths, for the suites that build
// equations by hand; an operand kind of 0 leaves that side out.
#include <memory>

#include "core/equation.h"

std::unique_ptr<CEquation> MakeEquation(char leftKind, std::vector<SymbolId> left, WChar op, char rightKind = 0,
                                        std::vector<SymbolId> right = {});
