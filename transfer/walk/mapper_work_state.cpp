#include "transfer/walk/mapper_work_state.h"

#include "core/fs_handle.h"

int CMapperWorkState::liveInstances = 0;

CFSNode* PopNode(NodeStack& stack) {
  if (stack.empty()) return nullptr;
  CFSNode* top = stack.back();
  stack.pop_back();
  return top;
}

CMapperWorkState::CMapperWorkState(CFSHandle* source, CFSHandle* target) : source(source), target(target) {
  ++liveInstances;
}

CMapperWorkState::~CMapperWorkState() { --liveInstances; }

void CMapperWorkState::SaveCursor(bool save) {
  if (source == nullptr) return;
  if (save) {
    savedCursor = source->focus;
  } else {
    source->focus = savedCursor;
  }
}
