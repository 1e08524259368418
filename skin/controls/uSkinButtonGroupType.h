#pragma once
// The button group: a container that lays its member buttons out in a row or
// a column, may give its first, middle and last member their own button
// materials, and can make its members a radio set.
//
// Where each member goes and how long the row is are pure functions below;
// the group's classes follow them.

#include "skin/base/uComponentType.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/base/uSkinMaterial.h"
#include "skin/base/uSkinRegManager.h"
#include "skin/controls/uSkinButtonType.h"
#include "skin/host/Events.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

namespace uSkinButtonGroupType {
Q_NAMESPACE

enum class TButtonGroupOrientation : std::uint8_t { boHorz, boVert };
Q_ENUM_NS(TButtonGroupOrientation)

// bsctFixed gives every member ButtonSize along the orientation; bsctSeparate
// shares the group's length evenly among the members it shows.
enum class TButtonSizeCalcType : std::uint8_t { bsctFixed, bsctSeparate };
Q_ENUM_NS(TButtonSizeCalcType)

}  // namespace uSkinButtonGroupType

using uSkinButtonGroupType::TButtonGroupOrientation;
using uSkinButtonGroupType::TButtonSizeCalcType;

namespace ostrel::skin {

// What the row or column of members is laid out from.
struct TButtonGroupLayout {
  TButtonGroupOrientation Orientation = TButtonGroupOrientation::boHorz;
  TButtonSizeCalcType SizeCalcType = TButtonSizeCalcType::bsctFixed;
  double ButtonSize = 0;
  // The group's own size.
  double Width = 0;
  double Height = 0;
};

// The length one member takes along the orientation when AShown members are
// shown; never negative.
double GroupButtonLength(const TButtonGroupLayout& ALayout, int AShown);

// The rectangle of the APosition-th shown member of AShown: one after the
// other along the orientation, each as deep as the group across it.
TRectF GroupButtonRect(const TButtonGroupLayout& ALayout, int APosition, int AShown);

// How long the row (column) of AShown members is: the size the group takes
// along its orientation when it sizes itself.
double GroupContentLength(const TButtonGroupLayout& ALayout, int AShown);

}  // namespace ostrel::skin

class TButtonGroupProperties : public TSkinControlProperties {
  Q_OBJECT
  Q_PROPERTY(TButtonGroupOrientation Orientation READ Orientation WRITE SetOrientation)
  Q_PROPERTY(double ButtonSize READ ButtonSize WRITE SetButtonSize)
  Q_PROPERTY(TButtonSizeCalcType ButtonSizeCalcType READ ButtonSizeCalcType WRITE SetButtonSizeCalcType)

 public:
  // Raises "This Component Do not Support ISkinButtonGroup Interface" when
  // ASkinControl is no button group; sizes the group to 296 x 44.
  explicit TButtonGroupProperties(TControl* ASkinControl);
  ~TButtonGroupProperties() override;

  QString GetComponentClassify() const override { return QStringLiteral("SkinButtonGroup"); }
  // AutoSize, Orientation, ButtonSize and ButtonSizeCalcType; never the members.
  void AssignProperties(const TSkinControlProperties* ASource) override;

  TButtonGroupOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TButtonGroupOrientation AValue);
  // The member length along the orientation under bsctFixed; below 0 counts as 0.
  double ButtonSize() const { return FButtonSize; }
  void SetButtonSize(double AValue);
  TButtonSizeCalcType ButtonSizeCalcType() const { return FButtonSizeCalcType; }
  void SetButtonSizeCalcType(TButtonSizeCalcType AValue);

  TSkinButtonList* ButtonList() const { return FButtonList.get(); }
  int ButtonCount() const { return FButtonList->Count(); }
  // The member at AIndex; none outside the list.
  TBaseSkinButton* GetButton(int AIndex) const;
  // Orders the members by the ButtonIndex each one stored, the lowest first;
  // members of equal numbers keep their order.
  void SortButtons();
  // The position of the first pushed member; -1 when none is pushed.
  int PushedButtonIndex() const;

  // Puts each shown member in its place and, with AutoSize and a member,
  // sizes the group along its orientation. Waits while the group is read.
  void LayoutButtons();
  // The numbers the layout is made from, at the group's current size.
  ostrel::skin::TButtonGroupLayout Layout() const;

 private:
  std::unique_ptr<TSkinButtonList> FButtonList;
  TButtonGroupOrientation FOrientation = TButtonGroupOrientation::boHorz;
  double FButtonSize = 100;
  TButtonSizeCalcType FButtonSizeCalcType = TButtonSizeCalcType::bsctFixed;
  ISkinButtonGroup* FSkinButtonGroupIntf;
};

// The group material: three button materials for the first, the middle and
// the last member, and whether the first and last are used.
class TSkinButtonGroupMaterial : public TSkinControlMaterial {
  Q_OBJECT
  Q_PROPERTY(bool IsUseFirstButtonMaterial READ IsUseFirstButtonMaterial WRITE SetIsUseFirstButtonMaterial)
  Q_PROPERTY(bool IsUseLastButtonMaterial READ IsUseLastButtonMaterial WRITE SetIsUseLastButtonMaterial)
  Q_PROPERTY(TSkinButtonMaterial* FirstButtonMaterial READ FirstButtonMaterial)
  Q_PROPERTY(TSkinButtonMaterial* LastButtonMaterial READ LastButtonMaterial)
  Q_PROPERTY(TSkinButtonMaterial* MiddleButtonMaterial READ MiddleButtonMaterial)

 public:
  explicit TSkinButtonGroupMaterial(TComponent* AOwner = nullptr);
  ~TSkinButtonGroupMaterial() override;

  // After the base nodes: the two flags as Bool32 nodes, then the first,
  // middle and last button materials as class nodes.
  bool SaveToDocNode(TBTNode20_Class* ADocNode) const override;
  bool LoadFromDocNode(TBTNode20_Class* ADocNode) override;

  bool IsUseFirstButtonMaterial() const { return FIsUseFirstButtonMaterial; }
  void SetIsUseFirstButtonMaterial(bool AValue);
  bool IsUseLastButtonMaterial() const { return FIsUseLastButtonMaterial; }
  void SetIsUseLastButtonMaterial(bool AValue);
  TSkinButtonMaterial* FirstButtonMaterial() const { return FFirstButtonMaterial; }
  TSkinButtonMaterial* LastButtonMaterial() const { return FLastButtonMaterial; }
  TSkinButtonMaterial* MiddleButtonMaterial() const { return FMiddleButtonMaterial; }
  TSkinButtonMaterial* ButtonMaterial(ostrel::skin::TGroupButtonMaterial AWhich) const;

 protected:
  // The button materials are of AButtonMaterialClass.
  TSkinButtonGroupMaterial(TComponent* AOwner, const TMaterialClass& AButtonMaterialClass);
  // The flags and the three button materials, then the base copy.
  void AssignTo(TPersistent* ADest) const override;

 private:
  TSkinButtonMaterial* CreateButtonMaterial(const TMaterialClass& AClass, const QString& AName);

  bool FIsUseFirstButtonMaterial = false;
  bool FIsUseLastButtonMaterial = false;
  // Sub-components: owned through the component tree, this material their owner.
  TSkinButtonMaterial* FFirstButtonMaterial;
  TSkinButtonMaterial* FLastButtonMaterial;
  TSkinButtonMaterial* FMiddleButtonMaterial;
};

// Its button materials are default button materials, with state pictures.
class TSkinButtonGroupDefaultMaterial : public TSkinButtonGroupMaterial {
  Q_OBJECT

 public:
  explicit TSkinButtonGroupDefaultMaterial(TComponent* AOwner = nullptr);
  ~TSkinButtonGroupDefaultMaterial() override;
};

// Sizes the group to its members and lays them out again when it is resized.
class TSkinButtonGroupType : public TSkinControlType {
 public:
  bool CustomBind(TControl* ASkinControl) override;
  void CustomUnBind() override;
  bool CalcAutoSize(double& AWidth, double& AHeight) override;
  void SizeChanged() override;

 protected:
  ISkinButtonGroup* FSkinButtonGroupIntf = nullptr;
};

class TSkinButtonGroupDefaultType : public TSkinButtonGroupType {};

class TBaseSkinButtonGroup : public TSkinFireMonkeyControl, public ISkinButtonGroup {
  Q_OBJECT

 public:
  explicit TBaseSkinButtonGroup(TComponent* AOwner = nullptr);
  // Every member leaves the group; the members the group made are freed.
  ~TBaseSkinButtonGroup() override;

  TPropertiesClass GetPropertiesClassType() const override { return TPropertiesClass::Of<TButtonGroupProperties>(); }
  TButtonGroupProperties* GetButtonGroupProperties() const override;
  TButtonGroupProperties* Prop() const { return GetButtonGroupProperties(); }
  TSkinButtonGroupDefaultMaterial* Material() { return SelfOwnMaterialToDefault(); }
  TSkinButtonGroupDefaultMaterial* SelfOwnMaterialToDefault();
  TSkinButtonGroupDefaultMaterial* CurrentUseMaterialToDefault();

  // --- ISkinButtonGroup ---
  TSkinButtonList* GetButtonList() const override { return GetButtonGroupProperties()->ButtonList(); }
  void ButtonsVisibleChanged() override { GetButtonGroupProperties()->LayoutButtons(); }
  void ButtonsSizeChanged() override { GetButtonGroupProperties()->LayoutButtons(); }
  TSkinButtonMaterial* GetButtonMaterial(std::int32_t AButtonIndex) override;

  // Makes the group a radio set of ACount members: buttons the group makes
  // (and owns, so a stored form leaves them out) are added or the last ones
  // removed; each member gets push group 1 unless it has one, IsAutoPush,
  // its position as ButtonIndex, hit testing and AOnClick; the member at
  // APushedIndex is pushed.
  void SetRadioButtonCount(int ACount, int APushedIndex, TNotifyEvent AOnClick);

  // Lays the members out in the order they were stored, once all are read.
  void Loaded() override;
  // The members paint with the group's material, so they repaint with it.
  void DoCustomMaterialChange(TObject* Sender) override;

 private:
  void FreeChildButtons();
};

class TSkinFMXButtonGroup : public TBaseSkinButtonGroup {
  Q_OBJECT

 public:
  using TBaseSkinButtonGroup::TBaseSkinButtonGroup;
  ~TSkinFMXButtonGroup() override;
};

void RegisterSkinButtonGroupFamily(ostrel::skin::SkinLibraryRegistration& AReg);
