// Work made on several threads and taken in order: every item is made once,
// taken once, in increasing order and only after it was made; nothing is
// made further ahead than the window; a failure stops the run and reaches
// the caller.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <vector>

#include "RunInOrder.h"

namespace {

struct RunCase {
  std::size_t n;
  unsigned threads;
  std::size_t window;
};

}  // namespace

TEST(RunInOrder, EveryItemMadeOnceAndTakenInOrderWithinTheWindow) {
  const RunCase cases[] = {{0, 2, 4},  {1, 2, 4},   {7, 1, 1},    {7, 2, 1},    {50, 2, 3},
                           {50, 4, 2}, {200, 3, 16}, {1000, 2, 64}, {5, 8, 100}, {64, 2, 0}};
  for (const RunCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "n " << c.n << " threads " << c.threads << " window " << c.window);
    std::unique_ptr<std::atomic<int>[]> made(new std::atomic<int>[c.n + 1]);
    for (std::size_t i = 0; i < c.n; ++i) made[i] = 0;
    std::atomic<std::size_t> taken{0};
    std::atomic<int> beyondWindow{0};
    std::vector<std::size_t> order;
    const std::size_t window = c.window == 0 ? 1 : c.window;
    RunInOrder(
        c.n, c.threads, c.window,
        [&](std::size_t i) {
          if (i >= taken.load() + window) ++beyondWindow;
          ++made[i];
        },
        [&](std::size_t i) {
          EXPECT_EQ(made[i].load(), 1) << "item " << i << " taken before it was made";
          order.push_back(i);
          taken = i + 1;
        });
    ASSERT_EQ(order.size(), c.n);
    for (std::size_t i = 0; i < c.n; ++i) {
      EXPECT_EQ(order[i], i);
      EXPECT_EQ(made[i].load(), 1) << "item " << i;
    }
    EXPECT_EQ(beyondWindow.load(), 0);
  }
}

TEST(RunInOrder, FailureInMakeOrTakeStopsTheRunAndReachesTheCaller) {
  for (unsigned threads : {1u, 2u, 4u}) {
    for (bool inTake : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "threads " << threads << (inTake ? " take" : " make"));
      constexpr std::size_t kFailing = 37;
      std::vector<std::size_t> order;
      EXPECT_THROW(RunInOrder(
                       500, threads, 8,
                       [&](std::size_t i) {
                         if (!inTake && i == kFailing) throw std::runtime_error("make");
                       },
                       [&](std::size_t i) {
                         if (inTake && i == kFailing) throw std::runtime_error("take");
                         order.push_back(i);
                       }),
                   std::runtime_error);
      // Everything before the failing item was taken in order, nothing after.
      ASSERT_EQ(order.size(), kFailing);
      for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], i);
    }
  }
}
