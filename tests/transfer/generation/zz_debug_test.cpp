#include <gtest/gtest.h>
#include <iostream>
#include "platform/utf8.h"
#include "transfer/generation/generation_fixture.h"
TEST_F(GenerationTest, DebugRun) {
  std::cerr << GenerateFrom(std::getenv("GEN_STRUCT")) << "\n";
}
