#include "runtime/probes/submission_inbox.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace vardelle {
namespace {

struct Submission {
  int id;
  std::function<void(int)> done;
};

// The engine is woken once per empty-to-waiting change, gets everything in order, and after
// Close every post is refused with its own callback handed back uncalled.
TEST(SubmissionInboxTest, WakesOnTheFirstAndHandsBackWhatAClosedInboxRefuses) {
  SubmissionInbox<Submission> inbox;
  std::vector<int> called;
  const auto post = [&](int id) {
    return inbox.Post({id, [&called, id](int) { called.push_back(id); }});
  };

  EXPECT_TRUE(post(1).wake);
  EXPECT_FALSE(post(2).wake);
  SubmissionInbox<Submission>::Taken taken = inbox.TakeAll();
  ASSERT_EQ(taken.submissions.size(), 2u);
  EXPECT_EQ(taken.submissions[0].id, 1);
  EXPECT_EQ(taken.submissions[1].id, 2);
  EXPECT_FALSE(taken.closed);
  EXPECT_TRUE(post(3).wake) << "emptied, the inbox wakes the engine again";

  inbox.Close();
  SubmissionInbox<Submission>::Posted refused = post(4);
  EXPECT_FALSE(refused.wake);
  ASSERT_TRUE(refused.refused);
  EXPECT_TRUE(called.empty()) << "the inbox never calls a callback itself";
  refused.refused(0);
  EXPECT_EQ(called, std::vector<int>{4});

  taken = inbox.TakeAll();
  EXPECT_TRUE(taken.closed);
  ASSERT_EQ(taken.submissions.size(), 1u) << "what waited before Close stays for the engine";
  EXPECT_EQ(taken.submissions[0].id, 3);
}

}  // namespace
}  // namespace vardelle
