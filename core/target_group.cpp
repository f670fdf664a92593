#include "core/target_group.h"

int CTargetGroup::liveInstances = 0;

CTargetGroup::CTargetGroup() { ++liveInstances; }

CTargetGroup::~CTargetGroup() {
  Source = nullptr;
  --liveInstances;
}
