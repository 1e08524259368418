#include "examples/host_demo/DemoForm.h"

#include "skin/host/Animation.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/GlowEffect.h"

#include <QApplication>
#include <QPainter>

void TColorBox::SetColor(TAlphaColor AValue) {
  if (AValue == FColor) return;
  FColor = AValue;
  Repaint();
}

void TColorBox::SetRadius(float AValue) {
  if (AValue == FRadius) return;
  FRadius = AValue;
  Repaint();
}

void TColorBox::Paint(QPainter& ACanvas) {
  ACanvas.setOpacity(AbsoluteOpacity());
  ACanvas.setPen(Qt::NoPen);
  ACanvas.setBrush(QColor::fromRgba(FColor));
  ACanvas.drawRoundedRect(LocalRect(), FRadius, FRadius);
}

void TDemoForm::BackMouseDown(TObject*, TMouseButton, TShiftState, float, float) { StartWindowDrag(); }

void TDemoForm::CloseBoxClick(TObject*) { QApplication::quit(); }

void RegisterDemoClasses() {
  ostrel::host::RegisterClass<TDemoForm>();
  ostrel::host::RegisterClass<TColorBox>();
  ostrel::host::RegisterClass<TGlowEffect>();
  ostrel::host::RegisterAnimationClasses();
}

const char* const kDemoFormText = R"(object DemoForm: TDemoForm
  Caption = 'Host demo'
  ClientWidth = 320
  ClientHeight = 200
  Position = ScreenCenter
  BorderStyle = None
  FormStyle = StayOnTop
  Transparency = True
  object Back: TColorBox
    Position.X = 10
    Position.Y = 10
    Width = 300
    Height = 180
    ClipChildren = True
    Color = xFF0092CA
    Radius = 4
    OnMouseDown = BackMouseDown
    object Shadow: TGlowEffect
      GlowColor = claBlack
      Opacity = 0.5
    end
    object Mover: TColorBox
      Position.X = 20
      Position.Y = 60
      Width = 60
      Height = 60
      Opacity = 0
      HitTest = False
      Color = xFFFF8000
      object FadeIn: TFloatAnimation
        Enabled = True
        Duration = 0.6
        PropertyName = 'Opacity'
        StopValue = 1
      end
      object Slide: TFloatAnimation
        Enabled = True
        Delay = 0.2
        Duration = 0.8
        Interpolation = Cubic
        AnimationType = InOut
        PropertyName = 'Position.X'
        StartValue = 20
        StopValue = 200
      end
    end
    object CloseBox: TColorBox
      Position.X = 276
      Position.Y = 4
      Width = 20
      Height = 20
      Color = xFFC5C5C5
      Radius = 4
      Cursor = crHandPoint
      Hint = 'Close'
      ShowHint = True
      OnClick = CloseBoxClick
    end
  end
end
)";
