#include "skin/base/uSkinImageList.h"

TSkinBaseImageList::TSkinBaseImageList(TComponent* AOwner)
    : TComponent(AOwner), FSkinObjectChangeManager(std::make_unique<TSkinObjectChangeManager>(this)) {}

TSkinBaseImageList::~TSkinBaseImageList() { BeginDestroy(); }

void TSkinBaseImageList::RegisterChanges(TSkinObjectChangeLink* ALink) { FSkinObjectChangeManager->RegisterChanges(ALink); }

void TSkinBaseImageList::UnRegisterChanges(TSkinObjectChangeLink* ALink) {
  FSkinObjectChangeManager->UnRegisterChanges(ALink);
}

void TSkinBaseImageList::DoChange() { FSkinObjectChangeManager->DoChange(this); }

void TSkinBaseImageList::BeginDestroy() {
  if (!FSkinObjectChangeManager->IsDestroy()) FSkinObjectChangeManager->BeginDestroy(this);
}
