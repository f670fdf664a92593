#include "support/test_support.h"

#include <atomic>
#include <fstream>
#include <random>
#include <stdexcept>

#include <unistd.h>

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("lfg-test-" + std::to_string(getpid()) + "-" +
                                                      std::to_string(counter++) + "-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const { return (path_ / name).string(); }

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<unsigned char> Utf16LeBytes(const WString& text, bool with_mark) {
  std::vector<unsigned char> bytes;
  bytes.reserve(text.size() * 2 + 2);
  if (with_mark) {
    bytes.push_back(0xFF);
    bytes.push_back(0xFE);
  }
  for (WChar unit : text) {
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
  return bytes;
}

void WriteUtf16File(const std::string& path, const WString& text, bool with_mark) {
  WriteBytes(path, Utf16LeBytes(text, with_mark));
}

MessageRecorder::MessageRecorder() {
  previous_ = SetMessageHandler([this](const WString& text, const WString& caption, unsigned style) {
    messages_.push_back({text, caption, style});
    return MessageAnswer::Ok;
  });
}

MessageRecorder::~MessageRecorder() { SetMessageHandler(previous_); }

namespace {
CEquationOperand* MakeOperand(char kind, std::vector<SymbolId> path) {
  if (kind == 0) return nullptr;
  auto* operand = new CEquationOperand();
  operand->kind = static_cast<int8_t>(kind);
  operand->path = std::move(path);
  return operand;
}
}  // namespace

std::unique_ptr<CEquation> MakeEquation(char leftKind, std::vector<SymbolId> left, WChar op, char rightKind,
                                        std::vector<SymbolId> right) {
  auto equation = std::make_unique<CEquation>();
  equation->left = MakeOperand(leftKind, std::move(left));
  equation->op = op;
  equation->right = MakeOperand(rightKind, std::move(right));
  return equation;
}
