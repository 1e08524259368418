#pragma once
// Materials: the appearance of skinned controls. A material is a component
// holding drawing parameters and pictures; every change of one of them
// reaches the controls that use the material through the material's change
// manager, so they repaint. Materials found by style name live in the
// process-wide style list.
//
// Adding a family's material: derive from TSkinControlMaterial, create each
// parameter and picture in the constructor with the Create… helpers below
// (the material keeps them; the class only holds the returned pointer),
// publish them with Q_PROPERTY (setters Assign into the owned object), and
// give the constructor a default owner of nullptr, so that a class reference
// can create it.

#include "skin/base/uBaseList.h"
#include "skin/base/uBinaryTreeDoc.h"
#include "skin/base/uDrawCanvas.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uDrawPictureParam.h"
#include "skin/base/uDrawRectParam.h"
#include "skin/base/uDrawTextParam.h"
#include "skin/host/ClassFactory.h"
#include "skin/host/Component.h"

#include <QString>
#include <QStringList>

#include <concepts>
#include <memory>
#include <vector>

class TSkinMaterial;
class TSkinControlMaterial;

// A class of materials: creates one without an owner, to be handed to its owner.
using TMaterialClass = ostrel::host::ClassRef<TSkinMaterial>;

namespace ostrel::skin {

// The library-wide repaint suppression. While the count is above 0 control
// types ask for no repaint, materials tell their controls nothing, controls
// ignore material changes outside design mode and properties do not repaint.
// List-like controls bracket temporary changes to item materials with it.
int RepaintSuppressCount();
void BeginSuppressRepaint();
void EndSuppressRepaint();
inline bool IsRepaintSuppressed() { return RepaintSuppressCount() > 0; }

// Begins the suppression and ends it when it goes out of scope.
class ScopedRepaintSuppression {
 public:
  ScopedRepaintSuppression() { BeginSuppressRepaint(); }
  ~ScopedRepaintSuppression() { EndSuppressRepaint(); }
  ScopedRepaintSuppression(const ScopedRepaintSuppression&) = delete;
  ScopedRepaintSuppression& operator=(const ScopedRepaintSuppression&) = delete;
};

// The process-wide list of materials with a non-blank style name, in the
// order they entered it; it references them, never owns them.
TBaseList& GlobalSkinMaterialStyleList();

}  // namespace ostrel::skin

class TSkinMaterial : public TComponent, public ISupportClassDocNode {
  Q_OBJECT

 public:
  explicit TSkinMaterial(TComponent* AOwner = nullptr);
  // Tells the controls that use it first, then frees its parameters and pictures.
  ~TSkinMaterial() override;

  // Tells every control that uses the material, the last registered first,
  // then fires OnChange. Silent while repaints are suppressed, without a
  // component owner, and while the owner loads or reads its stored form.
  virtual void DoChange(TObject* Sender);
  // True when a parameter has a mouse-down (mouse-over) effect with effect types.
  virtual bool HasMouseDownEffect() const;
  virtual bool HasMouseOverEffect() const;

  // Pictures, then parameters, each as a class node named and captioned like it.
  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;
  // Each picture and parameter from the child of its own name; other children are ignored.
  bool LoadFromDocNode(TBTNode20_Class* ADocNode) override;

  void RegisterChanges(TSkinObjectChangeLink* ALink);
  void UnRegisterChanges(TSkinObjectChangeLink* ALink);

  // The first one of exactly that name (case-sensitive), or none.
  TDrawParam* FindParamByName(const QString& AName) const;
  TDrawPicture* FindPictureByName(const QString& AName) const;

  // Every parameter and picture, in creation order; the lists only refer to them.
  TBaseList* DrawParamList() const { return FDrawParamList.get(); }
  TBaseList* DrawPictureList() const { return FDrawPictureList.get(); }
  TSkinObjectChangeManager* SkinObjectChangeManager() const { return FSkinObjectChangeManager.get(); }
  // The number of change links registered: the controls using the material.
  int RefControlCount() const;

  TNotifyEvent OnChange() const { return FSkinObjectChangeManager->OnChange(); }
  void SetOnChange(TNotifyEvent AValue) { FSkinObjectChangeManager->SetOnChange(std::move(AValue)); }

 protected:
  // Into another material: each of its parameters (then pictures) from the
  // one of the same name here, then its DoChange.
  void AssignTo(TPersistent* ADest) const override;

  // Creation helpers for the constructors of material classes. Each object
  // reports its changes to DoChange, knows this material, joins the
  // parameter (picture) list and is kept by this material until it is freed.
  TDrawRectParam* CreateDrawRectParam(const QString& AName, const QString& ACaption);
  TDrawTextParam* CreateDrawTextParam(const QString& AName, const QString& ACaption);
  TDrawPictureParam* CreateDrawPictureParam(const QString& AName, const QString& ACaption);
  TDrawLineParam* CreateDrawLineParam(const QString& AName, const QString& ACaption);
  TDrawPathParam* CreateDrawPathParam(const QString& AName, const QString& ACaption);
  TDrawPicture* CreateDrawPicture(const QString& AName, const QString& ACaption, const QString& AGroup);
  // The same for a parameter kind of a family's own.
  template <class T>
    requires std::derived_from<T, TDrawParam>
  T* CreateDrawParam(const QString& AName, const QString& ACaption) {
    auto param = std::make_unique<T>(AName, ACaption);
    T* const result = param.get();
    AdoptDrawParam(std::move(param));
    return result;
  }

 private:
  void AdoptDrawParam(std::unique_ptr<TDrawParam> AParam);

  std::unique_ptr<TSkinObjectChangeManager> FSkinObjectChangeManager;
  std::unique_ptr<TBaseList> FDrawParamList;
  std::unique_ptr<TBaseList> FDrawPictureList;
  // What the Create… helpers made, freed after the controls were told.
  std::vector<std::unique_ptr<TDrawParam>> FOwnedParams;
  std::vector<std::unique_ptr<TDrawPicture>> FOwnedPictures;
};

// The base of every family's material: style names, transparency and the
// background rectangle the control type draws before the family's content.
class TSkinControlMaterial : public TSkinMaterial {
  Q_OBJECT
  Q_PROPERTY(QString StyleName READ StyleName WRITE SetStyleName)
  Q_PROPERTY(QStringList StyleNameAliases READ StyleNameAliases WRITE SetStyleNameAliases)
  Q_PROPERTY(int RefControlCount READ RefControlCount)
  Q_PROPERTY(TDrawRectParam* BackColor READ BackColor WRITE SetBackColor)
  Q_PROPERTY(bool IsTransparent READ IsTransparent WRITE SetIsTransparent)

 public:
  explicit TSkinControlMaterial(TComponent* AOwner = nullptr);
  // Leaves the style list.
  ~TSkinControlMaterial() override;

  // After the base nodes, a Bool32 node "IsTransparent".
  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;
  // IsTransparent from every child of that name, without notification.
  bool LoadFromDocNode(TBTNode20_Class* ADocNode) override;

  QString StyleName() const { return FStyleName; }
  // A non-blank name puts the material into the style list (once); a blank one takes it out.
  void SetStyleName(const QString& AValue);
  QStringList StyleNameAliases() const { return FStyleNameAliases; }
  void SetStyleNameAliases(const QStringList& AValue) { FStyleNameAliases = AValue; }
  bool IsInGlobalStyleList() const { return FIsInGlobalStyleList; }

  TDrawRectParam* BackColor() const { return FDrawBackColorParam; }
  void SetBackColor(const TDrawRectParam* AValue) { FDrawBackColorParam->Assign(AValue); }
  TDrawRectParam* DrawBackColorParam() const { return FDrawBackColorParam; }

  bool IsTransparent() const { return FIsTransparent; }
  void SetIsTransparent(bool AValue);
  Q_INVOKABLE bool IsIsTransparentStored() const { return !FIsTransparent; }

 protected:
  // IsTransparent first when the destination is a control material, then the base copy.
  void AssignTo(TPersistent* ADest) const override;

 private:
  bool FIsInGlobalStyleList = false;
  QString FStyleName;
  QStringList FStyleNameAliases;
  bool FIsTransparent = true;
  TDrawRectParam* FDrawBackColorParam = nullptr;
};
