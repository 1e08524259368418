#include "skin/base/uSkinMaterial.h"

#include "skin/base/uDrawClassRegistry.h"

#include <utility>

namespace ostrel::skin {

namespace {

int gRepaintSuppressCount = 0;

}  // namespace

int RepaintSuppressCount() { return gRepaintSuppressCount; }

void BeginSuppressRepaint() { ++gRepaintSuppressCount; }

void EndSuppressRepaint() {
  // An unpaired end must not leave the count negative, where a later
  // bracket would no longer suppress anything.
  if (gRepaintSuppressCount > 0) --gRepaintSuppressCount;
}

TBaseList& GlobalSkinMaterialStyleList() {
  static TBaseList list(TObjectOwnership::ooReference, false);
  return list;
}

}  // namespace ostrel::skin

// --- TSkinMaterial ------------------------------------------------------------

TSkinMaterial::TSkinMaterial(TComponent* AOwner)
    : TComponent(AOwner),
      FSkinObjectChangeManager(std::make_unique<TSkinObjectChangeManager>(this)),
      FDrawParamList(std::make_unique<TBaseList>(TObjectOwnership::ooReference, true)),
      FDrawPictureList(std::make_unique<TBaseList>(TObjectOwnership::ooReference, true)) {}

TSkinMaterial::~TSkinMaterial() {
  // The controls let go while every part is still here; from now on no
  // change reaches them.
  FSkinObjectChangeManager->BeginDestroy(this);
  FDrawParamList.reset();
  FDrawPictureList.reset();
  FOwnedPictures.clear();
  FOwnedParams.clear();
}

void TSkinMaterial::DoChange(TObject*) {
  if (ostrel::skin::IsRepaintSuppressed()) return;
  const TComponent* owner = Owner();
  if (owner == nullptr) return;
  const TComponentState state = owner->ComponentState();
  if (state.Contains(TComponentStateItem::csLoading) || state.Contains(TComponentStateItem::csReading)) return;
  FSkinObjectChangeManager->DoChange(this);
}

bool TSkinMaterial::HasMouseDownEffect() const {
  for (int i = 0; i < FDrawParamList->Count(); ++i) {
    const auto* param = FDrawParamList->GetItemAs<TDrawParam>(i);
    if (param != nullptr && param->DrawEffectSetting()->MouseDownEffect()->HasEffectTypes()) return true;
  }
  return false;
}

bool TSkinMaterial::HasMouseOverEffect() const {
  for (int i = 0; i < FDrawParamList->Count(); ++i) {
    const auto* param = FDrawParamList->GetItemAs<TDrawParam>(i);
    if (param != nullptr && param->DrawEffectSetting()->MouseOverEffect()->HasEffectTypes()) return true;
  }
  return false;
}

bool TSkinMaterial::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  ADocNode->SetClassName(ClassName());
  for (int i = 0; i < FDrawPictureList->Count(); ++i) {
    const auto* picture = FDrawPictureList->GetItemAs<TDrawPicture>(i);
    if (picture == nullptr) continue;
    picture->SaveToDocNode(ADocNode->AddChildNode_Class(picture->Name(), picture->Caption()));
  }
  for (int i = 0; i < FDrawParamList->Count(); ++i) {
    const auto* param = FDrawParamList->GetItemAs<TDrawParam>(i);
    if (param == nullptr) continue;
    param->SaveToDocNode(ADocNode->AddChildNode_Class(param->Name(), param->Caption()));
  }
  return true;
}

bool TSkinMaterial::LoadFromDocNode(TBTNode20_Class* ADocNode) {
  for (int i = 0; i < FDrawPictureList->Count(); ++i) {
    auto* picture = FDrawPictureList->GetItemAs<TDrawPicture>(i);
    if (picture == nullptr) continue;
    if (TBTNode20_Class* node = ADocNode->FindChildClassNode(picture->Name())) picture->LoadFromDocNode(node);
  }
  for (int i = 0; i < FDrawParamList->Count(); ++i) {
    auto* param = FDrawParamList->GetItemAs<TDrawParam>(i);
    if (param == nullptr) continue;
    if (TBTNode20_Class* node = ADocNode->FindChildClassNode(param->Name())) param->LoadFromDocNode(node);
  }
  return true;
}

void TSkinMaterial::RegisterChanges(TSkinObjectChangeLink* ALink) { FSkinObjectChangeManager->RegisterChanges(ALink); }

void TSkinMaterial::UnRegisterChanges(TSkinObjectChangeLink* ALink) {
  FSkinObjectChangeManager->UnRegisterChanges(ALink);
}

int TSkinMaterial::RefControlCount() const { return FSkinObjectChangeManager->LinkCount(); }

TDrawParam* TSkinMaterial::FindParamByName(const QString& AName) const {
  for (int i = 0; i < FDrawParamList->Count(); ++i) {
    auto* param = FDrawParamList->GetItemAs<TDrawParam>(i);
    if (param != nullptr && param->Name() == AName) return param;
  }
  return nullptr;
}

TDrawPicture* TSkinMaterial::FindPictureByName(const QString& AName) const {
  for (int i = 0; i < FDrawPictureList->Count(); ++i) {
    auto* picture = FDrawPictureList->GetItemAs<TDrawPicture>(i);
    if (picture != nullptr && picture->Name() == AName) return picture;
  }
  return nullptr;
}

void TSkinMaterial::AssignTo(TPersistent* ADest) const {
  auto* dest = dynamic_cast<TSkinMaterial*>(ADest);
  if (dest == nullptr) {
    TComponent::AssignTo(ADest);
    return;
  }
  for (int i = 0; i < dest->FDrawParamList->Count(); ++i) {
    auto* param = dest->FDrawParamList->GetItemAs<TDrawParam>(i);
    if (param == nullptr) continue;
    if (const TDrawParam* source = FindParamByName(param->Name())) param->Assign(source);
  }
  for (int i = 0; i < dest->FDrawPictureList->Count(); ++i) {
    auto* picture = dest->FDrawPictureList->GetItemAs<TDrawPicture>(i);
    if (picture == nullptr) continue;
    if (const TDrawPicture* source = FindPictureByName(picture->Name())) picture->Assign(source);
  }
  dest->DoChange(nullptr);
}

void TSkinMaterial::AdoptDrawParam(std::unique_ptr<TDrawParam> AParam) {
  AParam->SetOnChange([this](TObject* Sender) { DoChange(Sender); });
  AParam->SetSkinMaterial(this);
  FDrawParamList->Add(AParam.get());
  FOwnedParams.push_back(std::move(AParam));
}

TDrawRectParam* TSkinMaterial::CreateDrawRectParam(const QString& AName, const QString& ACaption) {
  return CreateDrawParam<TDrawRectParam>(AName, ACaption);
}

TDrawTextParam* TSkinMaterial::CreateDrawTextParam(const QString& AName, const QString& ACaption) {
  return CreateDrawParam<TDrawTextParam>(AName, ACaption);
}

TDrawPictureParam* TSkinMaterial::CreateDrawPictureParam(const QString& AName, const QString& ACaption) {
  return CreateDrawParam<TDrawPictureParam>(AName, ACaption);
}

TDrawLineParam* TSkinMaterial::CreateDrawLineParam(const QString& AName, const QString& ACaption) {
  return CreateDrawParam<TDrawLineParam>(AName, ACaption);
}

TDrawPathParam* TSkinMaterial::CreateDrawPathParam(const QString& AName, const QString& ACaption) {
  return CreateDrawParam<TDrawPathParam>(AName, ACaption);
}

TDrawPicture* TSkinMaterial::CreateDrawPicture(const QString& AName, const QString& ACaption, const QString& AGroup) {
  std::unique_ptr<TDrawPicture> picture = ::CreateDrawPicture(AName, ACaption, AGroup);
  TDrawPicture* const result = picture.get();
  picture->SetOnChange([this](TObject* Sender) { DoChange(Sender); });
  picture->SetSkinMaterial(this);
  FDrawPictureList->Add(result);
  FOwnedPictures.push_back(std::move(picture));
  return result;
}

// --- TSkinControlMaterial -------------------------------------------------------

TSkinControlMaterial::TSkinControlMaterial(TComponent* AOwner)
    : TSkinMaterial(AOwner),
      FDrawBackColorParam(CreateDrawRectParam(QStringLiteral("DrawBackColorParam"),
                                              QStringLiteral("背景颜色矩形绘制参数"))) {}

TSkinControlMaterial::~TSkinControlMaterial() {
  if (FIsInGlobalStyleList) ostrel::skin::GlobalSkinMaterialStyleList().Remove(this, false, true);
}

void TSkinControlMaterial::SetStyleName(const QString& AValue) {
  FStyleName = AValue;
  TBaseList& styles = ostrel::skin::GlobalSkinMaterialStyleList();
  const bool blank = AValue.trimmed().isEmpty();
  if (!blank && !FIsInGlobalStyleList) {
    styles.Add(this);
    FIsInGlobalStyleList = true;
  } else if (blank && FIsInGlobalStyleList) {
    styles.Remove(this, false, true);
    FIsInGlobalStyleList = false;
  }
}

void TSkinControlMaterial::SetIsTransparent(bool AValue) {
  if (AValue == FIsTransparent) return;
  FIsTransparent = AValue;
  DoChange(nullptr);
}

bool TSkinControlMaterial::SaveToDocNode(TBTNode20_Class* ADocNode) const {
  TSkinMaterial::SaveToDocNode(ADocNode);
  ADocNode->AddChildNode_Bool32(QStringLiteral("IsTransparent"), QStringLiteral("是否透明"), FIsTransparent);
  return true;
}

bool TSkinControlMaterial::LoadFromDocNode(TBTNode20_Class* ADocNode) {
  TSkinMaterial::LoadFromDocNode(ADocNode);
  const TBTNodeList20& children = ADocNode->ChildNodes();
  for (int i = 0; i < children.Count(); ++i) {
    TBTNode20* child = children.GetItems(i);
    if (child->NodeName() != QStringLiteral("IsTransparent")) continue;
    if (const TBTNode20_Bool32* node = child->ConvertNode_Bool32()) FIsTransparent = node->Data();
  }
  return true;
}

void TSkinControlMaterial::AssignTo(TPersistent* ADest) const {
  if (auto* dest = dynamic_cast<TSkinControlMaterial*>(ADest)) dest->FIsTransparent = FIsTransparent;
  TSkinMaterial::AssignTo(ADest);
}
