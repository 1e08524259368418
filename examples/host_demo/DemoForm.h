#pragma once
// The demo's window class and the one control it draws with.

#include "skin/host/Control.h"
#include "skin/host/Form.h"

class QPainter;

// A rounded box in one colour, drawn at its absolute opacity.
class TColorBox : public TControl {
  Q_OBJECT
  Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
  Q_PROPERTY(float Radius READ Radius WRITE SetRadius)

 public:
  explicit TColorBox(TComponent* AOwner = nullptr) : TControl(AOwner) {}

  TAlphaColor Color() const { return FColor; }
  void SetColor(TAlphaColor AValue);
  float Radius() const { return FRadius; }
  void SetRadius(float AValue);

 protected:
  void Paint(QPainter& ACanvas) override;

 private:
  TAlphaColor FColor = claWhite;
  float FRadius = 0.0f;
};

class TDemoForm : public TForm {
  Q_OBJECT

 public:
  explicit TDemoForm(TComponent* AOwner = nullptr) : TForm(AOwner) {}

  Q_INVOKABLE void BackMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, float X, float Y);
  Q_INVOKABLE void CloseBoxClick(TObject* Sender);
};

// The stored form of the demo window.
extern const char* const kDemoFormText;

// Registers the classes the demo's stored form names.
void RegisterDemoClasses();
