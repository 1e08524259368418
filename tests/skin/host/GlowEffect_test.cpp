// The glow's shadow: the same picture Graphics View's drop shadow draws for
// the control's tree, kept between paints and made again when what the tree
// covers changes, whether the control itself or a child changed it; the kept
// picture always matches one made afresh.

#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "skin/host/GlowEffect.h"
#include "skin/host/GlowShadow.h"
#include "tests/skin/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <QGraphicsDropShadowEffect>
#include <QGraphicsItem>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

// Fills a rounded rectangle with one colour at its absolute opacity, inset
// by Inset on every side (the edge between is left uncovered).
class Patch : public TControl {
 public:
  Patch(TComponent* AOwner, QColor AColor) : TControl(AOwner), FColor(AColor) {}

  void SetColor(QColor AColor) {
    FColor = AColor;
    Repaint();
  }
  float Inset = 0;
  float Radius = 0;

 protected:
  void Paint(QPainter& ACanvas) override {
    ACanvas.setOpacity(AbsoluteOpacity());
    ACanvas.setPen(Qt::NoPen);
    ACanvas.setBrush(FColor);
    ACanvas.drawRoundedRect(LocalRect().adjusted(Inset, Inset, -Inset, -Inset), Radius, Radius);
  }

 private:
  QColor FColor;
};

int MaxDifference(const QImage& A, const QImage& B) {
  int worst = 0;
  for (int y = 0; y < A.height(); ++y) {
    for (int x = 0; x < A.width(); ++x) {
      const QRgb a = A.pixel(x, y);
      const QRgb b = B.pixel(x, y);
      worst = std::max({worst, std::abs(qAlpha(a) - qAlpha(b)), std::abs(qRed(a) - qRed(b)),
                        std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
    }
  }
  return worst;
}

class Glow : public ::testing::Test {
 protected:
  // The form needs the application before the fixture is made.
  static void SetUpTestSuite() { host_test::App(); }

  void SetUp() override {
    form.SetClientSize(160, 120);
    form.SetTransparency(true);
    back = new Patch(&form, QColor(0x30, 0x30, 0x30));
    back->SetBounds(20, 20, 120, 80);
    back->Radius = 6;
    back->SetParent(&form);
    child = new Patch(&form, QColor(0xe0, 0x40, 0x40));
    child->SetBounds(30, 20, 40, 30);
    child->SetParent(back);
    glow = new TGlowEffect(&form);
    glow->SetGlowColor(claBlack);
    glow->SetOpacity(0.5f);
    glow->SetParentComponent(back);
  }

  // The window as Graphics View's own drop shadow draws it with the glow's
  // colour and radius: the look the glow keeps.
  QImage DropShadowRendering() {
    glow->SetEnabled(false);
    auto effect = std::make_unique<QGraphicsDropShadowEffect>();
    effect->setColor(QColor(0, 0, 0, 128));
    effect->setOffset(0, 0);
    effect->setBlurRadius(TGlowEffect::BlurRadiusFor(glow->Softness()));
    back->Item()->setGraphicsEffect(effect.release());
    QImage image = form.RenderToImage();
    back->Item()->setGraphicsEffect(nullptr);
    glow->SetEnabled(true);
    return image;
  }

  int Blurs() const { return glow->Shadow()->BlurCount(); }

  TForm form;
  Patch* back = nullptr;
  Patch* child = nullptr;
  TGlowEffect* glow = nullptr;
};

TEST_F(Glow, LooksLikeGraphicsViewsDropShadow) {
  back->Inset = 4;  // a translucent frame: the shadow shows through it too
  back->SetColor(QColor(0x30, 0x30, 0x30, 0xc0));
  const QImage cached = form.RenderToImage();
  EXPECT_GT(cached.pixelColor(18, 60).alpha(), 0);  // just outside the control
  EXPECT_EQ(cached.pixelColor(2, 2).alpha(), 0);    // far outside
  EXPECT_LE(MaxDifference(cached, DropShadowRendering()), 2);
}

TEST_F(Glow, BlursOnceWhileNothingCoveredChanges) {
  back->SetClipChildren(true);
  form.RenderToImage();
  const int made = Blurs();
  EXPECT_EQ(made, 1);
  // Moves, repaints and fades inside the opaque background, and the
  // background repainted as a whole, as the intro's handlers do.
  for (int i = 0; i < 10; ++i) {
    child->Position()->SetPoint(TPointF(30 + i * 5, 20 + i * 3));
    child->SetOpacity(0.1f * static_cast<float>(i));
    back->Repaint();
    form.RenderToImage();
  }
  EXPECT_EQ(Blurs(), made);
  EXPECT_LE(MaxDifference(form.RenderToImage(), DropShadowRendering()), 2);
}

TEST_F(Glow, FollowsWhatTheTreeCovers) {
  // Each change alters what the tree covers outside the background's opaque
  // area, so each must be seen: the picture matches a fresh drop shadow.
  back->Inset = 10;
  back->Repaint();
  struct Step {
    const char* What;
    std::function<void()> Change;
  };
  const Step steps[] = {
      {"a child moves into the uncovered edge", [&] { child->Position()->SetPoint(TPointF(0, 0)); }},
      {"a child moves out of it again", [&] { child->Position()->SetPoint(TPointF(40, 30)); }},
      {"a child grows into it", [&] { child->SetSize(120, 40); }},
      {"a child hides", [&] { child->SetVisible(false); }},
      {"a child shows", [&] { child->SetVisible(true); }},
      {"a child fades", [&] { child->SetOpacity(0.3f); }},
      {"the control's own look", [&] { back->SetColor(QColor(0x30, 0x30, 0x30, 0x80)); }},
      {"the control's own size", [&] { back->SetSize(100, 90); }},
      {"the control fades", [&] { back->SetOpacity(0.5f); }},
      {"the glow's colour", [&] { glow->SetGlowColor(0xFF0000FFu); }},
      {"the glow's softness", [&] { glow->SetSoftness(0.2f); }},
      {"a child leaves", [&] { child->SetParent(nullptr); }},
  };
  form.RenderToImage();
  for (const Step& step : steps) {
    const int before = Blurs();
    step.Change();
    const QImage cached = form.RenderToImage();
    EXPECT_GT(Blurs(), before) << step.What;
    // Made afresh: a new shadow blurs what the tree covers now.
    glow->SetEnabled(false);
    glow->SetEnabled(true);
    const QImage fresh = form.RenderToImage();
    EXPECT_LE(MaxDifference(cached, fresh), 2) << step.What;
  }
}

TEST_F(Glow, FollowsTheTreeAtAFractionalScale) {
  // Changed areas end inside device pixels there; what the shadow keeps of
  // the tree must still match a shadow made afresh.
  back->Inset = 10;
  back->Repaint();
  const auto render = [&] {
    QImage image(240, 180, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1.5);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    form.Scene()->render(&painter, QRectF(0, 0, 160, 120), QRectF(0, 0, 160, 120));
    return image;
  };
  render();
  const TPointF places[] = {{0.5, 0.5}, {1.3, 40.7}, {-3.2, 2.1}, {85.5, 55.5}};
  for (const TPointF& place : places) {
    child->Position()->SetPoint(place);
    const QImage cached = render();
    glow->SetEnabled(false);
    glow->SetEnabled(true);
    EXPECT_LE(MaxDifference(cached, render()), 2) << place.x() << "," << place.y();
  }
}

TEST_F(Glow, ClipsTheTreeWhereTheSceneClipsIt) {
  // Both the background and its child clip their children. The child lies
  // over the background's uncovered edge or reaches past the background,
  // and a grandchild reaches past the child: the shadow follows only what
  // the scene shows of them, wherever they move.
  back->Inset = 10;
  back->SetClipChildren(true);
  child->SetClipChildren(true);
  auto* grandchild = new Patch(&form, QColor(0x40, 0xe0, 0x40));
  grandchild->SetSize(30, 30);
  grandchild->SetParent(child);
  struct Place {
    TPointF Child;
    TPointF Grandchild;
  };
  const Place places[] = {
      {{0, 0}, {-20, -20}}, {{0, 0}, {20, -15}}, {{0, 0}, {-15, 10}}, {{-10, 60}, {25, 15}}, {{90, -10}, {5, 5}},
  };
  for (const Place& place : places) {
    child->Position()->SetPoint(place.Child);
    grandchild->Position()->SetPoint(place.Grandchild);
    EXPECT_LE(MaxDifference(form.RenderToImage(), DropShadowRendering()), 2)
        << place.Child.x() << "," << place.Child.y() << " / " << place.Grandchild.x() << "," << place.Grandchild.y();
  }
}

TEST_F(Glow, ComesOffWithItsControlOrByItself) {
  form.RenderToImage();
  delete glow;
  EXPECT_EQ(back->Item()->boundingRect(), QRectF(0, 0, 120, 80));
  EXPECT_EQ(form.RenderToImage().pixelColor(18, 60).alpha(), 0);

  auto* second = new TGlowEffect(&form);
  second->SetParent(back);
  form.RenderToImage();
  delete back;
  EXPECT_EQ(second->Parent(), nullptr);
  EXPECT_EQ(second->Shadow(), nullptr);
  form.RenderToImage();
}

}  // namespace
