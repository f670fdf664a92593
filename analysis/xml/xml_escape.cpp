#include "analysis/xml/xml_escape.h"

#include "core/string_helpers.h"

namespace {

// XML 1.0 characters within one UTF-16 unit; surrogates are allowed only in
// proper pairs, which the caller checks.
bool IsXmlCharUnit(WChar c) {
  if (c == 0x9 || c == 0xA || c == 0xD) return true;
  if (c < 0x20) return false;
  return c != 0xFFFE && c != 0xFFFF;
}

bool IsHighSurrogate(WChar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WChar c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsAsciiLetter(WChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The name-start characters of XML 1.0 (fifth edition) within the basic
// plane, without ':' (namespaces) and without surrogates.
bool IsNameStartUnit(WChar c) {
  if (IsAsciiLetter(c) || c == u'_') return true;
  return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
         (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
         (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
         (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD);
}

bool IsNameUnit(WChar c) {
  if (IsNameStartUnit(c)) return true;
  if ((c >= u'0' && c <= u'9') || c == u'-' || c == u'.') return true;
  return c == 0xB7 || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

const char16_t* EntityFor(WChar c) {
  switch (c) {
    case u'&': return u"&amp;";
    case u'<': return u"&lt;";
    case u'>': return u"&gt;";
    case u'"': return u"&quot;";
    case u'\'': return u"&apos;";
    default: return nullptr;
  }
}

// '#' and '/' become '_', markup characters their references, and units
// that no XML text may hold U+FFFD.
WString ReplaceUnits(const WString& text) {
  WString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const WChar c = text[i];
    if (c == u'#' || c == u'/') {
      out += u'_';
    } else if (const char16_t* entity = EntityFor(c)) {
      out += entity;
    } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      out += c;
      out += text[++i];
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c) || !IsXmlCharUnit(c)) {
      out += static_cast<WChar>(0xFFFD);
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

WString XmlEscape(const WString& text) {
  const WString trimmed = TrimWString(ReplaceUnits(text));
  WString out;
  out.reserve(trimmed.size());
  for (WChar c : trimmed) {
    if (c == u' ') {
      out += u"&#32;";
    } else {
      out += c;
    }
  }
  return out;
}

WString XmlElementName(const WString& text) {
  WString name;
  name.reserve(text.size() + 1);
  for (WChar c : text) name += IsNameUnit(c) ? c : u'_';
  if (name.empty() || !IsNameStartUnit(name.front())) name.insert(name.begin(), u'_');
  return name;
}
