#include "core/raw_production.h"

#include <cstdio>

#include "core/swallowing_delete.h"
#include "platform/message_box.h"
#include "platform/utf8.h"

int CRawSymbol::liveInstances = 0;
int CRawProduction::liveInstances = 0;

namespace {

// A production still being read may lack its mother or have holes; print
// such parts as empty text.
const WString& TextOf(const CRawSymbol* symbol) {
  static const WString kEmpty;
  return symbol ? symbol->Text : kEmpty;
}

void DeleteSymbol(CRawSymbol* symbol) { DeleteSwallowingExceptions(symbol); }

}  // namespace

CRawSymbol::CRawSymbol() { ++liveInstances; }

CRawSymbol::CRawSymbol(const WString& text, const WString& annotation, uint8_t flag)
    : Text(text), Annotation(annotation), Flag(flag) {
  ++liveInstances;
}

CRawSymbol::CRawSymbol(const CRawSymbol& other) : Text(other.Text), Annotation(other.Annotation), Flag(other.Flag) {
  ++liveInstances;
}

CRawSymbol::~CRawSymbol() { --liveInstances; }

CRawSymbol* CRawSymbol::Clone() const { return new CRawSymbol(*this); }

CRawProduction::CRawProduction() { ++liveInstances; }

CRawProduction::~CRawProduction() {
  DeleteSymbol(Lhs);
  Lhs = nullptr;
  for (CRawSymbol* symbol : Rhs) DeleteSymbol(symbol);
  Rhs.clear();
  --liveInstances;
}

void CRawProduction::Print() const {
  WString line = TextOf(Lhs) + u" ==> ";
  for (const CRawSymbol* symbol : Rhs) line += TextOf(symbol) + u" ";
  line += u"\n";
  std::fputs(ToUtf8(line).c_str(), stdout);
}

void CRawProduction::Show() const {
  WString text = TextOf(Lhs) + u" ==> ";
  for (const CRawSymbol* symbol : Rhs) {
    text += u"\n" + TextOf(symbol) + u" @ ";
    if (symbol) text += symbol->Annotation;
  }
  ShowMessage(text, u"Raw Production", MessageStyle::IconInformation);
}
