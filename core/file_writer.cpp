#include "core/file_writer.h"

#include <vector>

#include "platform/file_system.h"

int CFileWriter::liveInstances = 0;

CFileWriter::CFileWriter(const std::string& path) {
  ++liveInstances;
  Open(path);
}

CFileWriter::~CFileWriter() {
  Close();
  --liveInstances;
}

bool CFileWriter::Open(const std::string& path) {
  Close();
  file_ = OpenFile(path, "wb");
  if (!file_) return false;
  static const unsigned char kMark[2] = {0xFF, 0xFE};
  if (std::fwrite(kMark, 1, 2, file_) != 2 || std::fflush(file_) != 0) {
    Close();
    return false;
  }
  return true;
}

int CFileWriter::Write(const WString& text) {
  if (!file_ || text.empty()) return 0;
  std::vector<unsigned char> bytes(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<unsigned char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
  }
  const size_t written = std::fwrite(bytes.data(), bytes.size(), 1, file_);
  std::fflush(file_);
  return written == 1 ? 1 : 0;
}

void CFileWriter::Close() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

int64_t CFileWriter::Tell() const {
  if (!file_) return -1;
  return static_cast<int64_t>(ftello(file_));
}

CFileWriter& FStructuresXmlStream() {
  static CFileWriter writer;
  return writer;
}

bool InitFStructuresXmlStream(const std::string& path) { return FStructuresXmlStream().Open(path); }
