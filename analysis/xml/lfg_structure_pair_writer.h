// The F- and C-structures of every complete start edge of the LFG chart as
// a pair of XML files, for grammar writers comparing analyses.
#pragma once

#include <string>

class CFileWriter;
class CLFGParser;
class CProduction;

// Writes "<F-Structures>" with one element "F-Structure-n" per complete "S"
// edge (its F-structure as WriteFStructureXml writes it; empty without one)
// to fsFileName, and "<C-Structures>" with one element "C-Structure-n" per
// edge holding "<S>" ... "</S>" around its tree to csFileName. Returns the
// number of edges; nothing is written for an empty file name.
int WriteStartEdgeStructures(CLFGParser& parser, const std::string& fsFileName, const std::string& csFileName);
// The daughters of the production as elements: a word as "<name>word</name>",
// a category as "<name>" and its own daughters "</name>"; the dot marker is
// left out. Names are made valid element names, words escaped.
void WriteEdgeCStructureXml(const CProduction& production, CFileWriter& writer);
