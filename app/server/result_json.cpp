#include "app/server/result_json.h"

#include <nlohmann/json.hpp>

#include "app/dialog/dialog_captions.h"
#include "app/engine/translation_result.h"
#include "platform/utf8.h"

namespace {

nlohmann::json TreeItemJson(const CTreeItem& item) {
  nlohmann::json children = nlohmann::json::array();
  for (const CTreeItem& child : item.children) children.push_back(TreeItemJson(child));
  return {{"text", ToUtf8(item.text)}, {"expanded", item.expanded}, {"children", std::move(children)}};
}

nlohmann::json TreeJson(const CTreeView& tree) {
  nlohmann::json roots = nlohmann::json::array();
  for (const CTreeItem& root : tree.roots) roots.push_back(TreeItemJson(root));
  return roots;
}

nlohmann::json MessagesJson(const CTranslationResult& result) {
  nlohmann::json messages = nlohmann::json::array();
  for (const CTranslationMessage& message : result.messages) {
    messages.push_back({{"caption", ToUtf8(message.caption)}, {"text", ToUtf8(message.text)}});
  }
  return messages;
}

nlohmann::json CStructuresJson(const CTranslationResult& result) {
  nlohmann::json documents = nlohmann::json::array();
  for (const CStructureDocument& document : result.cStructures) {
    documents.push_back(
        {{"segment", document.segment}, {"readable", document.readable}, {"xml", ToUtf8(document.xml)}});
  }
  return documents;
}

nlohmann::json WordsJson(const std::vector<WString>& words) {
  nlohmann::json list = nlohmann::json::array();
  for (const WString& word : words) list.push_back(ToUtf8(word));
  return list;
}

nlohmann::json SegmentsJson(const CTranslationResult& result) {
  nlohmann::json segments = nlohmann::json::array();
  for (const CSegmentOutcome& segment : result.segments) {
    segments.push_back({{"number", segment.number},
                        {"english", ToUtf8(segment.english)},
                        {"translation", ToUtf8(segment.translation)},
                        {"parsed", segment.parsed},
                        {"mapped", segment.mapped},
                        {"generated", segment.generated},
                        {"leftOut", WordsJson(segment.leftOut)},
                        {"parseMilliseconds", segment.parseMilliseconds},
                        {"mapMilliseconds", segment.mapMilliseconds},
                        {"generateMilliseconds", segment.generateMilliseconds}});
  }
  return segments;
}

nlohmann::json AlternativesJson(const CTranslationResult& result) {
  nlohmann::json alternatives = nlohmann::json::array();
  for (const CSegmentOutcome& segment : result.segments) {
    for (const WString& alternative : segment.alternatives) alternatives.push_back(ToUtf8(alternative));
  }
  return alternatives;
}

}  // namespace

nlohmann::json DialogTextsJson() {
  nlohmann::json texts = nlohmann::json::object();
  for (const CDialogText& text : DialogTexts()) {
    if (text.shown) texts[std::string(text.name)] = ToUtf8(text.text);
  }
  return texts;
}

nlohmann::json TranslationResultJson(const CTranslationResult& result) {
  return {{"sentence", ToUtf8(result.sentence)},
          {"output", ToUtf8(result.output)},
          {"alternatives", AlternativesJson(result)},
          {"sourceTree", TreeJson(result.sourceTree)},
          {"targetTree", TreeJson(result.targetTree)},
          {"messages", MessagesJson(result)},
          {"cStructures", CStructuresJson(result)},
          {"segments", SegmentsJson(result)},
          {"translated", result.translated},
          {"allSegmentsTranslated", result.AllSegmentsTranslated()},
          {"partlyTranslated", result.PartlyTranslated()},
          {"setAside", WordsJson(result.setAside)},
          {"totalMilliseconds", result.totalMilliseconds}};
}
