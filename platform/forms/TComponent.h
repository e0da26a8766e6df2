// TComponent: the owned, named objects of the form library. An owner frees what it owns, a
// component tells its owner and everyone who asked (FreeNotification) when it goes, and the
// layout reader marks what it is loading through ComponentState.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/Object.h"

enum TOperation { opInsert, opRemove };

class TBasicAction;

enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,  // never set here: there is no designer
  csAncestor = 1u << 5,
  csUpdating = 1u << 6,
  csFixups = 1u << 7,
  csFreeNotification = 1u << 8,
  csInline = 1u << 9,
};
using TComponentState = unsigned;

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const AnsiString& Name() const { return name_; }
  // Unique among the owner's components, case-insensitively; EComponentError otherwise.
  virtual void SetName(const AnsiString& newName);
  std::intptr_t Tag = 0;

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  // Position in the owner's list, -1 without an owner.
  int ComponentIndex() const;
  TComponent* FindComponent(const AnsiString& name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, the last inserted first. The base destructor does it too, but
  // by then the derived classes are gone; a class whose Notification must hear its owned
  // components go calls it from its own destructor.
  void DestroyComponents();

  TComponentState ComponentState() const { return state_; }
  // Sets csDestroying on this component and everything it owns.
  void Destroying();

  // `component` will get Notification(this, opRemove) when this one is freed (and the other
  // way round, so neither keeps a dangling pointer).
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // After a layout is read, for each component in creation order; clears csLoading.
  virtual void Loaded();

  // An action that acts on whatever it recognises (a target action) is offered to components
  // in turn: true when this one was its target and the action ran (or was updated) on it.
  virtual bool ExecuteAction(TBasicAction* action);
  virtual bool UpdateAction(TBasicAction* action);
  void BeforeDestruction() override;

  // The layout hierarchy: the component a layout nests this one in (a control's parent).
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* /*value*/) {}
  // The components written nested inside this one, in order. The root writes what it owns
  // that has no parent component of its own.
  virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);

  // The form handler names an event was bound to when read, so the writer can name them again.
  void SetHandlerName(const std::string& event, const std::string& handler);
  std::string HandlerName(const std::string& event) const;

  // The layout reader's state switches.
  void SetComponentState(TComponentState add) { state_ |= add; }
  void ClearComponentState(TComponentState remove) { state_ &= ~remove; }

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void ValidateRename(TComponent* component, const AnsiString& curName, const AnsiString& newName);

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void RemoveNotification(TComponent* component);

  TComponent* owner_ = nullptr;
  AnsiString name_;
  TComponentState state_ = 0;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::vector<std::pair<std::string, std::string>> handlerNames_;
};
