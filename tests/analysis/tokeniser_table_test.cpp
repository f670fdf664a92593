// Loading and looking up the tokeniser's transition table.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "analysis/transition_table.h"
#include "support/test_support.h"

namespace {

class TransitionTableTest : public ::testing::Test {
 protected:
  // Loads the text as a table file; returns what was printed.
  std::string Load(const std::string& text) {
    {
      std::ofstream out(dir_.File("table.txt"), std::ios::binary);
      out << text;
    }
    testing::internal::CaptureStdout();
    loaded_ = table_.LoadFile(dir_.File("table.txt"));
    return testing::internal::GetCapturedStdout();
  }
  // "state:code" for each transition of the lookup.
  std::vector<std::string> Lookup(uint16_t state, char16_t c) {
    std::vector<std::string> shown;
    for (const CTransition& t : table_.NextTransitions(state, c))
      shown.push_back(std::to_string(t.GetNextState()) + ":" + static_cast<char>(t.GetAcceptCode()));
    return shown;
  }

  TempDir dir_;
  CTransitionTable table_;
  bool loaded_ = false;
};

TEST_F(TransitionTableTest, RecordFieldsAreStoredAsRead) {
  Load("0 ~ 5 1 -1 -1 -1 0 0 3\n7 a -1 B 8 9 10 1 42 0");
  ASSERT_TRUE(table_.HasTransition(0, u' '));
  const CTransition blank = table_.NextTransitions(0, u' ').at(0);
  EXPECT_EQ(blank.GetNextState(), 5u);
  EXPECT_EQ(blank.GetAcceptCode(), '1');
  EXPECT_EQ(blank.GetArg1(), 0u);
  EXPECT_FALSE(blank.GetFlag());
  EXPECT_EQ(blank.GetOrderKey(), 3u);
  // The last record counts without a line end; -1 as to-state means 0.
  const CTransition a = table_.NextTransitions(7, u'a').at(0);
  EXPECT_EQ(a.GetNextState(), 0u);
  EXPECT_EQ(a.GetAcceptCode(), 'B');
  EXPECT_EQ(a.GetArg1(), 8u);
  EXPECT_EQ(a.GetArg2(), 9u);
  EXPECT_EQ(a.GetArg3(), 10u);
  EXPECT_TRUE(a.GetFlag());
  // A from-state of -1 is state 0.
  Load("-1 x 2 2 -1 -1 -1 0 0 1\n");
  EXPECT_TRUE(table_.HasTransition(0, u'x'));
}

TEST_F(TransitionTableTest, GroupsAreSortedByOrderKeyStably) {
  Load("1 a 10 2 -1 -1 -1 0 0 9\n"
       "1 a 11 2 -1 -1 -1 0 0 2\n"
       "1 a 12 2 -1 -1 -1 0 0 9\n"
       "1 a 13 2 -1 -1 -1 0 0 2\n"
       // A later group of the same key follows the first, sorted apart.
       "2 b 3 2 -1 -1 -1 0 0 0\n"
       "1 a 14 2 -1 -1 -1 0 0 1\n");
  EXPECT_EQ(Lookup(1, u'a'), (std::vector<std::string>{"11:2", "13:2", "10:2", "12:2", "14:2"}));
  EXPECT_EQ(GetLastTransitionCount(), 5u);
}

TEST_F(TransitionTableTest, EmptyInputTransitionsFollowBreadthFirst) {
  Load("1 5 2 A -1 -1 -1 0 0 1\n"
       "2 $ 3 B -1 -1 -1 0 0 1\n"
       "3 $ 4 C -1 -1 -1 0 0 1\n"
       "2 $ 7 D -1 -1 -1 0 0 1\n");
  EXPECT_EQ(Lookup(1, u'5'), (std::vector<std::string>{"2:A", "3:B", "7:D", "4:C"}));
  EXPECT_EQ(GetLastTransitionCount(), 4u);
  // No transition of its own: nothing, even though state 2 has '$' ones.
  EXPECT_TRUE(Lookup(2, u'x').empty());
  EXPECT_EQ(GetLastTransitionCount(), 0u);
  EXPECT_FALSE(table_.HasTransition(2, u'x'));
}

TEST_F(TransitionTableTest, EmptyInputCycleRejectsTheTable) {
  const std::string printed = Load("1 a 2 2 -1 -1 -1 0 0 1\n"
                                   "2 $ 3 2 -1 -1 -1 0 0 1\n"
                                   "3 $ 4 2 -1 -1 -1 0 0 1\n"
                                   "4 $ 2 2 -1 -1 -1 0 0 1\n");
  EXPECT_FALSE(loaded_);
  EXPECT_EQ(table_.Size(), 0u);
  EXPECT_NE(printed.find("cycle"), std::string::npos);
}

TEST_F(TransitionTableTest, MalformedRecordIsReportedWithItsPlace) {
  struct Case {
    const char* text;
    const char* place;
    size_t kept;
  };
  const std::vector<Case> cases = {
      {"1 a 2 2 -1 -1 -1 0 0 1\n1 b x 2 -1 -1 -1 0 0 1\n", "line 2, column 5", 1},
      {"1 a 2 2 -1 -1 -1 0 0 1\n\n  1 b 2 2 -1 -1", "line 3, column 16", 1},  // cut short
      {"1 a 2 2 -1 -1 -1 0 0 -1\n", "line 1, column 22", 0},                    // negative order key
      {"70000 a 2 2 -1 -1 -1 0 0 1\n", "line 1, column 1", 0},                  // state beyond 16 bits
  };
  for (const Case& c : cases) {
    const std::string printed = Load(c.text);
    EXPECT_FALSE(loaded_) << c.text;
    EXPECT_NE(printed.find(c.place), std::string::npos) << printed;
    EXPECT_EQ(table_.Size(), c.kept) << c.text;
  }
}

TEST_F(TransitionTableTest, MissingFileLeavesTheTableEmpty) {
  Load("1 a 2 2 -1 -1 -1 0 0 1\n");
  testing::internal::CaptureStdout();
  EXPECT_FALSE(table_.LoadFile(dir_.File("absent.txt")));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "exception\n");
  EXPECT_EQ(table_.Size(), 0u);
}

TEST_F(TransitionTableTest, ReloadingReplacesTheTable) {
  Load("1 a 2 2 -1 -1 -1 0 0 1\n");
  Load("1 a 2 2 -1 -1 -1 0 0 1\n");
  EXPECT_EQ(table_.Size(), 1u);
}

}  // namespace
