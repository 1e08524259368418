#pragma once
// TStyleObject: one part of a control's host look (the background of a combo
// box, the area that shows its selected item) that a skin can take over. The
// control creates its parts when it applies its style and frees them with it;
// whoever keeps a part forgets it when the control frees its style.
//
// A part draws the host's look unless that is switched off, then its OnPaint
// handler, both on a painter at the control's top-left.

#include "skin/host/Control.h"

#include <QString>

class QPainter;

class TStyleObject : public TObject {
 public:
  TStyleObject(TControl& AControl, QString AStyleName);
  ~TStyleObject() override;

  QString StyleName() const { return FStyleName; }
  TControl& Control() const { return FControl; }
  // The part's area in the control's coordinates.
  virtual TRectF BoundsRect() const = 0;

  bool HostDrawing() const { return FHostDrawing; }
  // Off strips the host's look from this part; a skin then draws it alone.
  void SetHostDrawing(bool AValue);
  // Called with the part as sender, the painter and the part's area; it
  // applies the control's opacity itself, like a control's own Paint.
  const TPaintEvent& OnPaint() const { return FOnPaint; }
  void SetOnPaint(TPaintEvent AValue);

  // Asks for the part's area to be drawn again.
  void Repaint() const;
  // Draws the host's look at AOpacity when it is on, then OnPaint.
  void Paint(QPainter& ACanvas, qreal AOpacity);

 protected:
  virtual void DrawHostLook(QPainter& ACanvas) const = 0;

 private:
  TControl& FControl;
  QString FStyleName;
  bool FHostDrawing = true;
  TPaintEvent FOnPaint;
};
