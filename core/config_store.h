// The configuration store: the key=value pairs of "EConfig.inf" in one
// program-wide table. Every file name, switch and number of the engines comes
// from here through GetConfigValue.
//
// File format: UTF-16 text read with CFileReader; only the low byte of each
// unit is kept. CR and LF are ignored; '=' makes the gathered text the pending
// key; ';' stores the gathered text under the pending key; a zero unit or the
// end of the file stops reading; every other unit is gathered. No comments,
// no quoting, no trimming; text after the last ';' is dropped.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "core/wide_string.h"

using ConfigTableMap = std::unordered_map<std::string, std::string>;

// The program-wide table, for reading.
const ConfigTableMap& ConfigTable();

// Stores the registry-mode flag. In registry mode reads the installation
// folder; when it is empty shows "Configuration file not found" and returns
// false; otherwise parses folder + "\" + file_name. Without registry mode
// parses file_name. Returns what ParseConfigFile returns.
bool LoadConfiguration(const std::string& file_name, bool registry_mode);
// Fills the table from the file (a CFileReader of 1024 units). False when the
// file cannot be opened (after the reader's message); the table is then
// unchanged.
bool ParseConfigFile(const std::string& path);
// Stores the value under the key, replacing an earlier one. False when the
// table cannot take it (out of memory).
bool SetConfigValue(const std::string& key, const std::string& value);
// The value under the key. A missing key or an empty value shows
// "File Not found - <key>" (OK and Cancel) and gives the empty string. In
// registry mode with not_a_file_name false, the installation folder and "\"
// come in front of the value. Callers pass true for switches and numbers.
std::string GetConfigValue(const std::string& key, bool not_a_file_name = false);
// The installation folder in registry mode, else the empty string.
std::string GetConfigDirectory();
// The folder of the module registered under the InprocServer32 subkey: its
// default value cut at the last '\'; empty when there is none (always, outside
// tests).
std::string ReadInstallFolder();

// The low byte of each little-endian unit of bytes[0, byte_count), up to the
// first zero unit; a trailing odd byte is ignored.
std::string WideBufferToNarrow(const std::vector<unsigned char>& bytes, size_t byte_count);
// Sets the program-wide registry subkey text (done at first use as well).
void InitInprocServerKeyPath();
// "CLSID\{0ED07ED2-E892-4A65-B4B5-7BA3A3A0C7E3}\InprocServer32".
const WString& InprocServerKeyPath();

// Whether the last LoadConfiguration ran in registry mode.
bool IsRegistryMode();
// Empties the table, switches registry mode off and forgets the installation
// folder (between tests, or before an engine loads again).
void ClearConfiguration();
