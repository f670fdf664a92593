// The JSON the page reads: the window's texts, and one translation's result
// record (output, alternatives, both trees, messages, C-structure documents,
// what a partial translation leaves out, and timings). Texts go out as JSON strings; the page inserts them as text.
#pragma once

#include <nlohmann/json_fwd.hpp>

struct CTranslationResult;

// Every shown text of the window, by name.
nlohmann::json DialogTextsJson();

nlohmann::json TranslationResultJson(const CTranslationResult& result);
