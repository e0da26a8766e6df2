// The component model: ownership, notifications, names and component lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/forms/TComponent.h"
#include "platform/forms/TComponentList.h"
#include "platform/rtl/Exceptions.h"

namespace {

// Records the notifications it receives and its own destruction.
class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::vector<std::string>* log, const char* tag)
      : TComponent(owner), log_(log), tag_(tag) {
    SetName(tag);
  }
  ~Probe() override {
    // Owned components go while this class's Notification is still in force.
    DestroyComponents();
    log_->push_back(std::string("free ") + tag_);
  }

 protected:
  void Notification(TComponent* c, TOperation op) override {
    // By name: a component being freed is no longer its derived class when the news goes out.
    log_->push_back(std::string(tag_) + (op == opInsert ? " +" : " -") + c->Name().ToStd());
    TComponent::Notification(c, op);
  }

 public:
  std::vector<std::string>* log_;
  const char* tag_;
};

TEST(Components, OwnerFreesOwnedComponentsLastInsertedFirstAndWatchersHear) {
  std::vector<std::string> log;
  auto* owner = new Probe(nullptr, &log, "owner");
  auto* a = new Probe(owner, &log, "a");
  auto* b = new Probe(owner, &log, "b");
  b->FreeNotification(a);
  EXPECT_EQ(owner->ComponentCount(), 2);
  log.clear();
  delete owner;
  // b goes first; because a watches it, the owner is told and passes the news to a.
  std::vector<std::string> expected{"owner -b", "a -b", "free b", "free a", "free owner"};
  EXPECT_EQ(log, expected);
}

TEST(Components, ComponentFreedEarlyLeavesItsOwnerOnce) {
  std::vector<std::string> log;
  {
    Probe owner(nullptr, &log, "owner");
    auto* a = new Probe(&owner, &log, "a");
    new Probe(&owner, &log, "b");
    delete a;
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0)->ComponentIndex(), 0);
    log.clear();
  }
  EXPECT_EQ(std::count(log.begin(), log.end(), "free a"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "free b"), 1);
}

TEST(Components, FreeNotificationReachesComponentsOfOtherOwners) {
  std::vector<std::string> log;
  Probe watcher(nullptr, &log, "watcher");
  auto* target = new Probe(nullptr, &log, "target");
  target->FreeNotification(&watcher);
  delete target;
  EXPECT_NE(std::find(log.begin(), log.end(), "watcher -target"), log.end());
  // The watcher's own end no longer reaches the freed target.
  log.clear();
}

TEST(Components, NamesAreUniqueAmongTheOwnersComponentsIgnoringCase) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Label1");
  EXPECT_THROW(b->SetName("LABEL1"), EComponentError);
  b->SetName("Label2");
  EXPECT_EQ(owner.FindComponent("label2"), b);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  a->SetName("label1");  // its own name in another case is fine
  EXPECT_EQ(a->Name(), "label1");
}

TEST(Components, DestroyingMarksTheWholeTree) {
  TComponent owner(nullptr);
  auto* child = new TComponent(&owner);
  owner.Destroying();
  EXPECT_TRUE(child->ComponentState() & csDestroying);
}

TEST(Components, ComponentListDropsFreedMembersAndFreesWhatItOwns) {
  std::vector<std::string> log;
  auto* kept = new Probe(nullptr, &log, "kept");
  {
    TComponentList list(true);
    auto* gone = new Probe(nullptr, &log, "gone");
    list.Add(gone);
    list.Add(kept);
    delete gone;
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], kept);
    EXPECT_THROW(list.Items(1), EListError);
  }
  EXPECT_NE(std::find(log.begin(), log.end(), "free kept"), log.end());
}

}  // namespace
