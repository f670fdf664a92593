// The mapper's output for one English structure: the structure it was mapped
// from and the Urdu structures mapped from it. The handles belong to the
// handle registry; the group only points to them.
#pragma once

#include <vector>

class CFSHandle;

class CTargetGroup {
 public:
  CTargetGroup();
  ~CTargetGroup();
  CTargetGroup(const CTargetGroup&) = delete;
  CTargetGroup& operator=(const CTargetGroup&) = delete;

  CFSHandle* Source = nullptr;      // not owned; set by the mapper
  std::vector<CFSHandle*> Targets;  // not owned

  static int liveInstances;
};
