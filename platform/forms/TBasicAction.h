// TBasicAction and TBasicActionLink: a command that can be executed and updated, and the link
// by which a client (a control, a menu item) follows it. An action keeps the list of its links
// and tells each of them of every change; a link executes and updates its action for the client.
//
// A link class is named by a TActionLinkClass (ActionLinkClassOf<TSomeLink>()), which knows its
// base link class and makes links, so a client can ask "which link class" before it makes one.
#pragma once

#include <functional>
#include <type_traits>
#include <vector>

#include "platform/forms/TComponent.h"

class TBasicAction;
class TBasicActionLink;

struct TActionLinkClassInfo {
  TClass Type = nullptr;
  const TActionLinkClassInfo* Parent = nullptr;
  TBasicActionLink* (*Create)(TObject* client) = nullptr;
  bool InheritsFrom(const TActionLinkClassInfo* other) const {
    for (const TActionLinkClassInfo* c = this; c; c = c->Parent)
      if (c == other) return true;
    return false;
  }
};
using TActionLinkClass = const TActionLinkClassInfo*;

// The class value of a link class L; L names its base as `inherited` (TBasicActionLink has none).
template <class L>
TActionLinkClass ActionLinkClassOf();

class TBasicActionLink : public TObject {
 public:
  explicit TBasicActionLink(TObject* client);
  ~TBasicActionLink() override;

  TBasicAction* Action() const { return action_; }
  virtual void SetAction(TBasicAction* value);
  // Executes the action on behalf of `component` (the action's ActionComponent meanwhile).
  virtual bool Execute(TComponent* component = nullptr);
  virtual bool Update();
  // Called with the action after each of its changes.
  TNotifyEvent OnChange;

 protected:
  friend class TBasicAction;
  virtual void Change();

  TBasicAction* action_ = nullptr;
};

class TBasicAction : public TComponent {
 public:
  explicit TBasicAction(TComponent* owner);
  ~TBasicAction() override;

  // Target actions (standard edit actions and the like) act on a control they recognise.
  virtual bool HandlesTarget(TObject* /*target*/) { return false; }
  virtual void UpdateTarget(TObject* /*target*/) {}
  virtual void ExecuteTarget(TObject* /*target*/) {}
  // Runs OnExecute (sender: the action); false when there is none.
  virtual bool Execute();
  // Runs OnUpdate; false when there is none.
  virtual bool Update();
  virtual bool HandleShortCut() { return Execute(); }

  void RegisterChanges(TBasicActionLink* link);
  void UnRegisterChanges(TBasicActionLink* link);
  int ClientCount() const { return static_cast<int>(clients_.size()); }

  // The component whose link is executing the action, or null.
  TComponent* ActionComponent = nullptr;
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;
  TNotifyEvent OnChange;

 protected:
  // Tells OnChange and every link.
  virtual void Change();
  std::vector<TBasicActionLink*> clients_;
};

template <class L>
TActionLinkClass ActionLinkClassOf() {
  static const TActionLinkClassInfo info = [] {
    TActionLinkClassInfo i;
    i.Type = &typeid(L);
    if constexpr (!std::is_same_v<L, TBasicActionLink>) i.Parent = ActionLinkClassOf<typename L::inherited>();
    i.Create = [](TObject* client) -> TBasicActionLink* { return new L(client); };
    return i;
  }();
  return &info;
}
