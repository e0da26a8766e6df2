// TActionClient: how a client (a control, a menu item) follows its action, the same for every
// kind of client. The client has at most one link, of the class its GetActionLinkClass names,
// made when it first gets an action; the link tells the client of each change of the action,
// and the client hears when the action goes (FreeNotification) and then drops it.
#pragma once

#include <functional>

#include "platform/forms/TBasicAction.h"

// Raises EInvalidOperation `message` (%s: the client's class name) for a link of another kind.
[[noreturn]] void RaiseWrongActionLink(const TObject* client, const char* message);

template <class Link>
class TActionClient {
 public:
  // `wrongLink` is the message for a link class that makes a link other than a Link.
  TActionClient(TComponent* client, const char* wrongLink) : client_(client), wrongLink_(wrongLink) {}
  ~TActionClient() { DeleteLink(); }
  TActionClient(const TActionClient&) = delete;
  TActionClient& operator=(const TActionClient&) = delete;

  Link* ActionLink() const { return link_; }
  TBasicAction* Action() const { return link_ ? link_->Action() : nullptr; }

  // Makes the link from `linkClass` unless there is one.
  void MakeLink(TActionLinkClass linkClass) {
    if (link_) return;
    TBasicActionLink* made = linkClass->Create(client_);
    link_ = dynamic_cast<Link*>(made);
    if (!link_) {
      delete made;
      RaiseWrongActionLink(client_, wrongLink_);
    }
  }
  // Follows `action` through the link MakeLink made: `change` takes the action's values now
  // (checking the client's defaults while the action is being loaded) and after each change of
  // the action.
  void Follow(TBasicAction* action, std::function<void(TObject* sender, bool checkDefaults)> change) {
    TBasicAction* previous = link_->Action();
    if (previous && previous != action) previous->RemoveFreeNotification(client_);
    link_->SetAction(action);
    link_->OnChange = [this, change](TObject* sender) {
      if (sender && sender == Action()) change(sender, false);
    };
    change(action, (action->ComponentState() & csLoading) != 0);
    action->FreeNotification(client_);
  }
  // Drops the link and with it the action.
  void Drop() {
    Link* link = link_;
    link_ = nullptr;
    if (link && link->Action()) link->Action()->RemoveFreeNotification(client_);
    delete link;
  }
  // The link goes without a word to the action (the client is going).
  void DeleteLink() {
    delete link_;
    link_ = nullptr;
  }
  // Whether the client's Notification of `component` going means the action is gone (or has
  // already cut the link loose): the client then drops it.
  bool LosesAction(TComponent* component, TOperation operation) const {
    return operation == opRemove && link_ && (link_->Action() == component || !link_->Action());
  }
  // The action's OnUpdate, through the link.
  void Update() {
    if (link_) link_->Update();
  }
  // Runs the action for the client; false without a link.
  bool Execute() { return link_ && link_->Execute(client_); }

 private:
  TComponent* client_;
  const char* wrongLink_;
  Link* link_ = nullptr;
};
