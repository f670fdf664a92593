#include "app/loaders/data_manifest.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>

#include "core/file_checksum.h"
#include "core/sealed_file.h"
#include "platform/file_system.h"
#include "platform/utf8.h"

namespace {

struct ManifestLine {
  unsigned long long length = 0;
  uint32_t checksum = 0;
  std::string rest;  // the path, or the end line's nothing
};

uint32_t ChecksumOf(const std::string& bytes) {
  return ContentChecksum(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// "NUMBER HEX8 REST" with single blanks; REST may be empty only when allowed.
std::optional<ManifestLine> ParseLine(const std::string& line, bool needsPath) {
  ManifestLine parsed;
  char hex[9] = {};
  int consumed = 0;
  if (std::sscanf(line.c_str(), "%llu %8[0-9a-f]%n", &parsed.length, hex, &consumed) != 2 ||
      std::string(hex).size() != 8) {
    return std::nullopt;
  }
  parsed.checksum = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
  if (needsPath) {
    if (static_cast<size_t>(consumed) + 1 >= line.size() || line[consumed] != ' ') return std::nullopt;
    parsed.rest = line.substr(consumed + 1);
  } else if (static_cast<size_t>(consumed) != line.size()) {
    return std::nullopt;
  }
  return parsed;
}

// The manifest's text: UTF-16LE after the mark, as UTF-8.
std::optional<std::string> DecodeManifest(const std::string& bytes) {
  if (bytes.size() < 2 || bytes.size() % 2 != 0 || bytes[0] != '\xFF' || bytes[1] != '\xFE') return std::nullopt;
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return ToUtf8(text);
}

std::string Rebuild(const std::string& what) {
  return what + "; run " + kDataRebuildCommand + " to rebuild the data root";
}

}  // namespace

std::string CheckDataManifest(const std::string& folder) {
  const std::filesystem::path root(folder);
  const std::string manifestPath = (root / kDataManifestFile).string();
  std::error_code missing;
  if (!std::filesystem::exists(manifestPath, missing)) return std::string();
  const std::string damagedManifest = Rebuild("The data manifest '" + std::string(kDataManifestFile) + "' is damaged");

  const std::optional<std::string> bytes = ReadFileBytes(manifestPath);
  if (!bytes) return Rebuild("The data manifest '" + std::string(kDataManifestFile) + "' cannot be read");
  const std::optional<std::string> text = DecodeManifest(*bytes);
  if (!text) return damagedManifest;

  // First the manifest's own seal: its last line counts and seals the rest.
  const size_t endLine = text->rfind("\r\nend ");
  if (endLine == std::string::npos || text->size() < 2 || text->substr(text->size() - 2) != "\r\n") {
    return damagedManifest;
  }
  const std::string body = text->substr(0, endLine + 2);
  const std::optional<ManifestLine> end = ParseLine(text->substr(endLine + 6, text->size() - endLine - 8), false);
  if (!end || end->checksum != ChecksumOf(body)) return damagedManifest;

  std::istringstream lines(body);
  unsigned long long files = 0;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::optional<ManifestLine> entry = ParseLine(line, true);
    if (!entry) return damagedManifest;
    ++files;
    const std::string named = "The data file '" + entry->rest + "'";
    const std::optional<FileChecksum> content = ChecksumWholeFile((root / entry->rest).string());
    if (!content) return Rebuild(named + " is missing or cannot be read");
    if (content->size != entry->length || content->checksum != entry->checksum) {
      return Rebuild(named + " differs from what '" + kDataManifestFile + "' lists (damaged or changed)");
    }
  }
  if (files != end->length) return damagedManifest;
  return std::string();
}
