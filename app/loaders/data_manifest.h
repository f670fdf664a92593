// The data root's manifest ("DataManifest.txt", written by tools/sync_data.py):
// the length and checksum of every data file, so that set-up refuses a
// damaged or hand-changed file by its name before any loader reads it.
//
// Text (UTF-16LE with the mark): '#' comment lines, one line
// "LENGTH CHECKSUM PATH" per file (checksum in 8 hex digits, path relative to
// the data root), and a last line "end COUNT CHECKSUM" with the number of
// file lines and the checksum of the UTF-8 text before it.
#pragma once

#include <string>

constexpr const char* kDataManifestFile = "DataManifest.txt";
constexpr const char* kDataRebuildCommand = "python3 tools/sync_data.py";

// Checks the files the manifest in the folder lists. Empty when every one is
// as listed, or when the folder has no manifest (a data root of one's own);
// otherwise the message naming the first file that differs (or the manifest
// itself, when it is damaged) and the command that rebuilds the data root.
std::string CheckDataManifest(const std::string& folder);
