#include "UndoHistory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ostrel {
namespace {

TWorkingState State(std::string bytes, std::string caption = "c") {
  return {std::make_shared<const std::string>(std::move(bytes)), std::move(caption), true};
}

TEST(UndoHistoryTest, RecordsChangesOnlyAndCountsSharedBytesOnce) {
  TUndoHistory history;
  EXPECT_FALSE(history.Record(State("same"), State("same")));
  EXPECT_TRUE(history.Record(State("same"), State("same", "other caption")));
  EXPECT_EQ(history.Bytes(), 4U) << "one buffer for both sides";
  // Each step starts where the one before ended: ten bytes per new state.
  TUndoHistory chain;
  std::string last(10, 'a');
  for (char c : std::string("bcd")) {
    std::string next(10, c);
    chain.Record(State(last), State(next));
    last = next;
  }
  EXPECT_EQ(chain.StepCount(), 3U);
  EXPECT_EQ(chain.Bytes(), 40U);
}

TEST(UndoHistoryTest, TheBoundDropsTheOldestStepsButKeepsTheNewest) {
  TUndoHistory history(35);
  std::string last(10, 'a');
  for (char c : std::string("bcdef")) {
    std::string next(10, c);
    history.Record(State(last), State(next));
    last = next;
  }
  EXPECT_LE(history.Bytes(), 35U);
  EXPECT_EQ(history.StepCount(), 2U);
  history.StepBack();
  history.StepBack();
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(*history.RedoTarget().Bytes, std::string(10, 'e'));
  EXPECT_EQ(history.Bytes(), 30U);

  history.Record(State("x"), State(std::string(100, 'y')));
  EXPECT_EQ(history.StepCount(), 1U) << "redo steps are dropped, the large step stays";
  EXPECT_TRUE(history.CanUndo());
  EXPECT_EQ(*history.UndoTarget().Bytes, "x");
}

}  // namespace
}  // namespace ostrel
