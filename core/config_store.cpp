#include "core/config_store.h"

#include <new>

#include "core/file_reader.h"
#include "core/string_helpers.h"
#include "platform/install_folder.h"
#include "platform/message_box.h"

namespace {

struct ConfigState {
  ConfigTableMap table;
  bool registry_mode = false;
  std::string install_folder;
};

ConfigState& State() {
  static ConfigState state;
  return state;
}

WString& KeyPathStorage() {
  static WString key_path;
  return key_path;
}

}  // namespace

const ConfigTableMap& ConfigTable() { return State().table; }

bool IsRegistryMode() { return State().registry_mode; }

void ClearConfiguration() {
  State().table.clear();
  State().registry_mode = false;
  State().install_folder.clear();
}

void InitInprocServerKeyPath() { KeyPathStorage() = u"CLSID\\{0ED07ED2-E892-4A65-B4B5-7BA3A3A0C7E3}\\InprocServer32"; }

const WString& InprocServerKeyPath() {
  static const bool initialised = (InitInprocServerKeyPath(), true);
  (void)initialised;
  return KeyPathStorage();
}

std::string WideBufferToNarrow(const std::vector<unsigned char>& bytes, size_t byte_count) {
  if (byte_count > bytes.size()) byte_count = bytes.size();
  std::string narrow;
  for (size_t i = 0; i + 1 < byte_count; i += 2) {
    const unsigned unit = bytes[i] | (bytes[i + 1] << 8);
    if (unit == 0) break;
    narrow += static_cast<char>(bytes[i]);
  }
  return narrow;
}

std::string ReadInstallFolder() {
  // The whole value is used, however long: a module path is not cut short.
  const auto value = QueryClassKeyDefaultValue(InprocServerKeyPath());
  if (!value) return std::string();
  std::string folder = WideBufferToNarrow(*value, value->size());
  for (size_t i = folder.size(); i-- > 1;) {
    if (folder[i] == '\\') {
      folder.resize(i);
      break;
    }
  }
  return folder;
}

bool LoadConfiguration(const std::string& file_name, bool registry_mode) {
  State().registry_mode = registry_mode;
  std::string path = file_name;
  if (registry_mode) {
    State().install_folder = ReadInstallFolder();
    if (State().install_folder.empty()) {
      ShowMessage(u"Configuration file not found", u"", MessageStyle::OkCancel);
      return false;
    }
    path = State().install_folder + "\\" + file_name;
  }
  return ParseConfigFile(path);
}

bool ParseConfigFile(const std::string& path) {
  CFileReader reader(path, 1024);
  if (!reader.IsOpen()) return false;
  std::string gathered;
  std::string key;
  for (WChar unit = reader.GetChar(); unit != 0; unit = reader.NextChar()) {
    switch (unit) {
      case u'\n':
      case u'\r': break;
      case u'=':
        key = std::move(gathered);
        gathered.clear();
        break;
      case u';':
        SetConfigValue(key, gathered);
        key.clear();
        gathered.clear();
        break;
      default: gathered += static_cast<char>(unit & 0xFF); break;
    }
  }
  return true;
}

bool SetConfigValue(const std::string& key, const std::string& value) {
  try {
    State().table[key] = value;
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::string GetConfigValue(const std::string& key, bool not_a_file_name) {
  const auto found = State().table.find(key);
  if (found == State().table.end() || found->second.empty()) {
    ShowMessage(u"File Not found - " + NarrowToWide(key), u"", MessageStyle::OkCancel);
    return std::string();
  }
  if (State().registry_mode && !not_a_file_name && !State().install_folder.empty()) {
    return State().install_folder + "\\" + found->second;
  }
  return found->second;
}

std::string GetConfigDirectory() { return State().registry_mode ? State().install_folder : std::string(); }
