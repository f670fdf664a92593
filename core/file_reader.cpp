#include "core/file_reader.h"

#include <algorithm>
#include <array>
#include <new>

#include "core/string_helpers.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

int CFileReader::liveInstances = 0;

namespace {

constexpr WChar kByteOrderMark = 0xFEFF;

}  // namespace

CFileReader::CFileReader(int buffer_size) {
  ++liveInstances;
  try {
    const size_t units = buffer_size < 1 ? 1 : static_cast<size_t>(buffer_size);
    buffer_.resize(units);
    bytes_.resize(units * 2);
  } catch (const std::bad_alloc&) {
    buffer_.clear();
    bytes_.clear();
  }
}

CFileReader::CFileReader(const std::string& path, int buffer_size) : CFileReader(buffer_size) {
  if (!buffer_.empty()) Open(path);
}

CFileReader::~CFileReader() {
  Close();
  --liveInstances;
}

WChar CFileReader::Open(const std::string& path) {
  Close();
  if (!buffer_.empty()) file_ = OpenFile(path, "rb");
  if (!file_) {
    ShowMessage(u"File '" + NarrowToWide(path) + u"' could not be opened....\n", u"File Reader Component",
                MessageStyle::OkCancel);
    return 0;
  }
  if (FillBuffer()) {
    current_ = buffer_[0];
    if (current_ == kByteOrderMark) NextChar();
  }
  return current_;
}

size_t CFileReader::ReadUnits(WChar* target, size_t units_wanted) {
  // Byte-wise, so short reads never split a unit and the byte order is ours.
  const size_t bytes_wanted = std::min(units_wanted * 2, bytes_.size());
  size_t got = 0;
  while (got < bytes_wanted) {
    const size_t n = std::fread(bytes_.data() + got, 1, bytes_wanted - got, file_);
    if (n == 0) break;  // end of file or error: a final odd byte is dropped
    got += n;
  }
  const size_t units = got / 2;
  for (size_t i = 0; i < units; ++i) {
    target[i] = static_cast<WChar>(bytes_[2 * i] | (bytes_[2 * i + 1] << 8));
  }
  return units;
}

bool CFileReader::FillBuffer() {
  if (!file_) return false;
  units_read_ = ReadUnits(buffer_.data(), buffer_.size());
  position_ = 0;
  current_ = 0;
  return units_read_ > 0;
}

WChar CFileReader::NextChar() {
  ++position_;
  if (position_ >= units_read_) {
    if (!FillBuffer()) {
      // Stay at the end: later calls keep answering 0.
      position_ = 0;
      units_read_ = 0;
      current_ = 0;
      return 0;
    }
  }
  current_ = buffer_[position_];
  return current_;
}

WString CFileReader::ReadAll(const std::string& path) {
  WString text;
  Open(path);
  for (WChar unit = GetChar(); unit != 0; unit = NextChar()) text += unit;
  return text;
}

bool CFileReader::ReadItemList(const std::string& path, const std::string& delimiters, std::vector<WString>& out) {
  std::array<bool, 256> is_delimiter{};
  for (char c : delimiters) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 128) is_delimiter[byte] = true;
  }
  const WString text = ReadAll(path);
  if (!IsOpen()) return false;
  WString item;
  for (WChar unit : text) {
    if (unit < 256 && is_delimiter[unit]) {
      if (!item.empty()) out.push_back(TrimWString(item));
      item.clear();
    } else {
      item += unit;
    }
  }
  if (!item.empty()) out.push_back(TrimWString(item));
  return true;
}

WString CFileReader::ReadAt(int64_t byte_offset, int64_t count) {
  if (!file_ || byte_offset < 0 || count <= 0) return WString();
  const off_t saved = ftello(file_);
  WString text;
  if (fseeko(file_, static_cast<off_t>(byte_offset), SEEK_SET) == 0) {
    std::vector<WChar> units(buffer_.size());
    const size_t n = ReadUnits(units.data(), units.size());
    text.assign(units.data(), std::min(n, static_cast<size_t>(count)));
  }
  if (saved >= 0) fseeko(file_, saved, SEEK_SET);
  return text;
}

void CFileReader::Close() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  current_ = 0;
  position_ = 0;
  units_read_ = 0;
}
