#pragma once
// The draw canvas on a QPainter, the drawing back end of this build.
//
// Painting allocates nothing once a parameter has been drawn: what a draw
// needs beyond the painter (the text layout, paths no Qt primitive draws,
// pens and brushes) is kept in the parameter, keyed by the values it was
// built from, and rebuilt only when those change. Pens and brushes are
// handed to the painter and taken back after each draw, so the kept ones are
// never shared when the next paint changes them.

#include "skin/base/uDrawCanvas.h"

#include <QTextLayout>
#include <QTransform>

#include <optional>

class QPaintDevice;

class TQtDrawCanvas : public TDrawCanvas {
 public:
  TQtDrawCanvas();
  ~TQtDrawCanvas() override;

  bool CustomPrepare() override;
  bool CustomUnPrepare() override;
  // True while the painter is active; a QPainter's scene is the paint it
  // belongs to, so there is nothing to begin or end.
  bool BeginDraw() override;
  void EndDraw() override;
  void SetClip(const TRectF& AClipRect) override;
  void ResetClip() override;
  bool DrawDesigningRect(const TRectF& ADrawRect, TAlphaColor ABorderColor) override;
  bool DrawDesigningText(const TRectF& ADrawRect, const QString& AText) override;
  bool CalcTextDrawSize(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                        double& ADrawWidth, double& ADrawHeight, TCalcDrawSizeType ACalcDrawSizeType) override;
  bool DrawText(TBaseDrawTextParam* ADrawTextParam, const QString& AText, const TRectF& ADrawRect,
                const TColorTextCollection* AColorTextList = nullptr) override;
  bool DrawSkinPicture(TBaseDrawPictureParam* ADrawPictureParam, TSkinPicture* ASkinPicture, const TRectF& ADrawRect,
                       bool AIsUseSrcRectAndDestDrawRect = false, const TRectF& AImageSrcRect = TRectF(),
                       const TRectF& AImageDestDrawRect = TRectF()) override;
  bool DrawRect(TBaseDrawRectParam* ADrawRectParam, const TRectF& ADrawRect) override;
  bool DrawLine(TDrawLineParam* ADrawLineParam, double X1, double Y1, double X2, double Y2) override;

 private:
  void DrawColorTextPieces(TBaseDrawTextParam& AParam, const TRectF& R, const TColorTextCollection& APieces);
  // Puts the clip SetClip asked for on the painter, once, before a draw that
  // cannot be cut to it by hand.
  void ApplyClip();

  // The clip SetClip asked for, while one is set. Pictures drawn upright are
  // cut to it piece by piece: a painter clip costs a saved painter state, a
  // heap copy on every paint of a clipped progress bar.
  std::optional<TRectF> FClip;
  // The painter state ApplyClip saved, while its clip is on the painter.
  bool FCanvasState = false;
};

namespace ostrel::skin {

// How a text parameter is laid out, from its values in force: what the kept
// layout is keyed by.
struct TextLayoutKey {
  QString Text;
  QString Family;
  double FontSize = 0;
  TFontStyles Style;
  double MaxWidth = 0;
  double MaxHeight = 0;
  bool IsWordWrap = false;
  TFontTrimmingType Trimming = TFontTrimmingType::fttNone;
  TFontHorzAlign HorzAlign = TFontHorzAlign::fhaLeft;
  TFontVertAlign VertAlign = TFontVertAlign::fvaTop;
  double DotsPerInch = 96;
  bool operator==(const TextLayoutKey&) const = default;
};

// Lays AKey's text out into a new layout in ALayout for ADevice (lines placed relative to the top-left of
// the drawing rectangle, trimmed with an ellipsis where asked) and answers
// the size of the laid-out text. Vertical text is passed in already broken
// into one character per line.
TSizeF LayOutText(std::optional<QTextLayout>& ALayout, const TextLayoutKey& AKey, QPaintDevice* ADevice);

// The text as laid out: line breaks of the stored text ("\r\n", "\n", "\r")
// become line separators; with AIsDrawVert every character is a line.
QString TextForLayout(const QString& AText, bool AIsDrawVert);

}  // namespace ostrel::skin
