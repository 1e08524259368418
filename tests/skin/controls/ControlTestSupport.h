#pragma once
// What the control families' tests share: a fixture with the application
// and the library started, a control that counts its repaint requests, and
// a paint of a control the way its own paint runs (control type, the
// material it paints with, its local rectangle) onto a test device: an
// image for pixel checks or the recording device for exact geometry.

#include "skin/base/uQtDrawCanvas.h"
#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/controls/uSkinLibraryStart.h"
#include "skin/host/HostClasses.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/RecordingPaintDevice.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace controls_test {

class ControlTest : public testing::Test {
 protected:
  void SetUp() override {
    host_test::App();
    ostrel::host::RegisterHostClasses();
    ostrel::skin::StartSkinControls();
  }

  // Owns the controls a test makes.
  TComponent FOwner;
};

// A control of class TControlClass that counts its repaint requests.
template <class TControlClass>
class Counting : public TControlClass {
 public:
  using TControlClass::TControlClass;
  void Invalidate() override {
    ++InvalidateCount;
    TControlClass::Invalidate();
  }
  int InvalidateCount = 0;
};

inline void PaintControlOn(QPaintDevice& ADevice, ostrel::skin::SkinControlCore& AControl, const TRectF& ARect,
                           bool AInteractive) {
  QPainter painter(&ADevice);
  TQtDrawCanvas canvas;
  canvas.Prepare(&painter);
  TPaintData data;
  data.IsDrawInteractiveState = AInteractive;
  if (TSkinControlType* type = AControl.SkinControlType()) {
    type->Paint(canvas, type->GetPaintCurrentUseMaterial(), ARect, data);
  }
  canvas.UnPrepare();
}

template <class TControlClass>
QImage RenderControl(TControlClass& AControl, bool AInteractive = true) {
  QImage image(static_cast<int>(AControl.Width()), static_cast<int>(AControl.Height()),
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  PaintControlOn(image, AControl, AControl.LocalRect(), AInteractive);
  return image;
}

template <class TControlClass>
std::vector<paint_record::Op> RecordControl(TControlClass& AControl, bool AInteractive = true) {
  paint_record::RecordingPaintDevice device(static_cast<int>(AControl.Width()), static_cast<int>(AControl.Height()));
  PaintControlOn(device, AControl, AControl.LocalRect(), AInteractive);
  return device.Ops();
}

inline std::vector<paint_record::Op> OpsOf(const std::vector<paint_record::Op>& AOps, paint_record::OpKind AKind) {
  std::vector<paint_record::Op> result;
  for (const paint_record::Op& op : AOps) {
    if (op.Kind == AKind) result.push_back(op);
  }
  return result;
}

// A family refuses a control that lacks its interface by throwing with a
// message naming that interface; AStep must not get past the refusal.
inline void ExpectRefused(const std::function<void()>& AStep, const char* AMessage) {
  try {
    AStep();
    ADD_FAILURE() << "accepted, expected: " << AMessage;
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), AMessage);
  }
}

}  // namespace controls_test
