#include "examples/gallery/GalleryForm.h"

#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/controls/uSkinLibraryStart.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/HostClasses.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>

namespace {

// A rounded square of one colour with a lighter rim, stretched over a button.
QByteArray StatePicture(QColor AColor) {
  QImage image(24, 24, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(AColor.lighter(140), 2));
    painter.setBrush(AColor);
    painter.drawRoundedRect(QRectF(1, 1, 22, 22), 5, 5);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

void GiveInteractionStates(TComponent& ARoot) {
  for (TComponent* component : ARoot.Components()) {
    auto* control = dynamic_cast<ostrel::skin::SkinControlCore*>(component);
    if (control != nullptr) {
      const QString name = component->Name();
      if (name.endsWith(QStringLiteral("Hover")) || name.endsWith(QStringLiteral("Down"))) control->SetIsMouseOver(true);
      if (name.endsWith(QStringLiteral("Down"))) control->SetIsMouseDown(true);
    }
    GiveInteractionStates(*component);
  }
}

}  // namespace

TGallery::TGallery(const QString& APicturesDir)
    : FPicturesDir(APicturesDir),
      FLookup([this](const QString& AName) { return FindPicture(AName); }),
      FScope(FLookup) {
  FMadePictures.insert(QStringLiteral("state_normal"), StatePicture(QColor(0x3A, 0x4A, 0x5C)));
  FMadePictures.insert(QStringLiteral("state_hover"), StatePicture(QColor(0x2E, 0x7D, 0xB8)));
  FMadePictures.insert(QStringLiteral("state_down"), StatePicture(QColor(0x1B, 0x4F, 0x80)));
  FMadePictures.insert(QStringLiteral("state_disabled"), StatePicture(QColor(0x55, 0x55, 0x55)));
  FMadePictures.insert(QStringLiteral("state_pushed"), StatePicture(QColor(0xC0, 0x7A, 0x1E)));
  ostrel::host::RegisterHostClasses();
  ostrel::skin::StartSkinControls();
  FForm = std::make_unique<TForm>();
  ostrel::host::ReadComponentInto(*FForm, QString::fromUtf8(kGalleryFormText));
  GiveInteractionStates(*FForm);
}

TGallery::~TGallery() = default;

std::optional<QByteArray> TGallery::FindPicture(const QString& AName) const {
  if (const auto made = FMadePictures.constFind(AName.toLower()); made != FMadePictures.constEnd()) return *made;
  QFile file(FPicturesDir + u'/' + AName + QStringLiteral(".png"));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

// The switch bars share one material, which draws no text. Controls with
// captions keep their own: a text parameter keeps one laid-out text, so
// controls of different captions sharing it would lay text out on every
// repaint. Rows: buttons in their states; buttons with icons, help text and the
// install look; labels; panels; images; switch bars, progress bars and a
// button group whose first and last members have their own materials.
const char* const kGalleryFormText = R"(object Gallery: TForm
  Caption = 'Skinned controls'
  ClientWidth = 660
  ClientHeight = 440
  object matSwitch: TSkinSwitchBarDefaultMaterial
    HorzBackGndPicture.ResourceName = 'state_disabled'
    HorzForeGndPicture.ResourceName = 'state_hover'
    HorzSwitchBtnNormalPicture.ResourceName = 'switchon1'
    HorzSwitchBtnHoverPicture.ResourceName = 'switchon2'
    HorzSwitchBtnDownPicture.ResourceName = 'switchon3'
    BackGndDrawPictureParam.IsStretch = True
    ForeGndDrawPictureParam.IsStretch = True
    SwitchBtnDrawSize = 28
  end
  object pnlBack: TSkinFMXPanel
    Width = 660
    Height = 440
    SelfOwnMaterial.IsTransparent = False
    SelfOwnMaterial.BackColor.IsFill = True
    SelfOwnMaterial.BackColor.FillColor.Color = xFF1E2630
    object btnNormal: TSkinFMXButton
      Position.X = 10
      Position.Y = 10
      Width = 96
      Height = 36
      Caption = 'Normal'
      SelfOwnMaterial.NormalPicture.ResourceName = 'state_normal'
      SelfOwnMaterial.HoverPicture.ResourceName = 'state_hover'
      SelfOwnMaterial.DownPicture.ResourceName = 'state_down'
      SelfOwnMaterial.DisabledPicture.ResourceName = 'state_disabled'
      SelfOwnMaterial.PushedPicture.ResourceName = 'state_pushed'
      SelfOwnMaterial.DrawPictureParam.IsStretch = True
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object btnHover: TSkinFMXButton
      Position.X = 116
      Position.Y = 10
      Width = 96
      Height = 36
      Caption = 'Hover'
      SelfOwnMaterial.NormalPicture.ResourceName = 'state_normal'
      SelfOwnMaterial.HoverPicture.ResourceName = 'state_hover'
      SelfOwnMaterial.DownPicture.ResourceName = 'state_down'
      SelfOwnMaterial.DisabledPicture.ResourceName = 'state_disabled'
      SelfOwnMaterial.PushedPicture.ResourceName = 'state_pushed'
      SelfOwnMaterial.DrawPictureParam.IsStretch = True
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object btnDown: TSkinFMXButton
      Position.X = 222
      Position.Y = 10
      Width = 96
      Height = 36
      Caption = 'Pressed'
      SelfOwnMaterial.NormalPicture.ResourceName = 'state_normal'
      SelfOwnMaterial.HoverPicture.ResourceName = 'state_hover'
      SelfOwnMaterial.DownPicture.ResourceName = 'state_down'
      SelfOwnMaterial.DisabledPicture.ResourceName = 'state_disabled'
      SelfOwnMaterial.PushedPicture.ResourceName = 'state_pushed'
      SelfOwnMaterial.DrawPictureParam.IsStretch = True
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object btnPushed: TSkinFMXButton
      Position.X = 328
      Position.Y = 10
      Width = 96
      Height = 36
      Caption = 'Pushed'
      Properties.IsPushed = True
      SelfOwnMaterial.NormalPicture.ResourceName = 'state_normal'
      SelfOwnMaterial.HoverPicture.ResourceName = 'state_hover'
      SelfOwnMaterial.DownPicture.ResourceName = 'state_down'
      SelfOwnMaterial.DisabledPicture.ResourceName = 'state_disabled'
      SelfOwnMaterial.PushedPicture.ResourceName = 'state_pushed'
      SelfOwnMaterial.DrawPictureParam.IsStretch = True
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object btnDisabled: TSkinFMXButton
      Position.X = 434
      Position.Y = 10
      Width = 96
      Height = 36
      Enabled = False
      Caption = 'Disabled'
      SelfOwnMaterial.NormalPicture.ResourceName = 'state_normal'
      SelfOwnMaterial.HoverPicture.ResourceName = 'state_hover'
      SelfOwnMaterial.DownPicture.ResourceName = 'state_down'
      SelfOwnMaterial.DisabledPicture.ResourceName = 'state_disabled'
      SelfOwnMaterial.PushedPicture.ResourceName = 'state_pushed'
      SelfOwnMaterial.DrawPictureParam.IsStretch = True
      SelfOwnMaterial.DrawCaptionParam.FontColor = xFFAAAAAA
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object btnDisabledDown: TSkinFMXButton
      Position.X = 540
      Position.Y = 10
      Width = 110
      Height = 36
      Enabled = False
      Caption = 'Disabled, pressed'
      SelfOwnMaterial.NormalPicture.ResourceName = 'state_normal'
      SelfOwnMaterial.HoverPicture.ResourceName = 'state_hover'
      SelfOwnMaterial.DownPicture.ResourceName = 'state_down'
      SelfOwnMaterial.DisabledPicture.ResourceName = 'state_disabled'
      SelfOwnMaterial.PushedPicture.ResourceName = 'state_pushed'
      SelfOwnMaterial.DrawPictureParam.IsStretch = True
      SelfOwnMaterial.DrawCaptionParam.FontColor = xFFAAAAAA
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object btnClose: TSkinFMXButton
      Position.X = 10
      Position.Y = 60
      Width = 36
      Height = 36
      Properties.Icon.ResourceName = 'close'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF2A3440
      SelfOwnMaterial.DrawIconParam.PictureHorzAlign = phaCenter
      SelfOwnMaterial.DrawIconParam.PictureVertAlign = pvaCenter
    end
    object btnCloseHover: TSkinFMXButton
      Position.X = 56
      Position.Y = 60
      Width = 36
      Height = 36
      Properties.Icon.ResourceName = 'close'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF2A3440
      SelfOwnMaterial.BackColor.DrawEffectSetting.MouseOverEffect.EffectTypes = [drpetFillColorChange]
      SelfOwnMaterial.BackColor.DrawEffectSetting.MouseOverEffect.FillColor.Color = xFFE81123
      SelfOwnMaterial.DrawIconParam.PictureHorzAlign = phaCenter
      SelfOwnMaterial.DrawIconParam.PictureVertAlign = pvaCenter
    end
    object btnBrowse: TSkinFMXButton
      Position.X = 102
      Position.Y = 60
      Width = 110
      Height = 36
      Caption = 'Browse'
      Properties.Icon.ResourceName = 'files'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF2A3440
      SelfOwnMaterial.IsAutoCenterIconAndCaption = True
      SelfOwnMaterial.DrawIconParam.PictureVertAlign = pvaCenter
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object btnBrowseAfter: TSkinFMXButton
      Position.X = 222
      Position.Y = 60
      Width = 110
      Height = 36
      Caption = 'Browse'
      Properties.Icon.ResourceName = 'files'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF2A3440
      SelfOwnMaterial.IsAutoCenterIconAndCaption = True
      SelfOwnMaterial.DrawIconParam.PictureHorzAlign = phaRight
      SelfOwnMaterial.DrawIconParam.PictureVertAlign = pvaCenter
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object btnHelp: TSkinFMXButton
      Position.X = 342
      Position.Y = 60
      Width = 96
      Height = 36
      Properties.HelpText = 'Help text'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF2A3440
      SelfOwnMaterial.DrawHelpTextParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawHelpTextParam.FontVertAlign = fvaCenter
    end
    object btnInstall: TSkinFMXButton
      Position.X = 448
      Position.Y = 56
      Width = 96
      Height = 44
      Caption = 'Install'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.IsRound = True
      SelfOwnMaterial.BackColor.RoundWidth = 4
      SelfOwnMaterial.BackColor.RoundHeight = 4
      SelfOwnMaterial.BackColor.FillColor.Color = xFF0092CA
      SelfOwnMaterial.DrawCaptionParam.FontSize = 20
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object btnInstallDown: TSkinFMXButton
      Position.X = 554
      Position.Y = 56
      Width = 96
      Height = 44
      Caption = 'Install'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.IsRound = True
      SelfOwnMaterial.BackColor.RoundWidth = 4
      SelfOwnMaterial.BackColor.RoundHeight = 4
      SelfOwnMaterial.BackColor.FillColor.Color = xFF0092CA
      SelfOwnMaterial.DrawCaptionParam.FontSize = 20
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
      SelfOwnMaterial.DrawCaptionParam.DrawEffectSetting.MouseDownEffect.EffectTypes = [dtpetFontColorChange]
      SelfOwnMaterial.DrawCaptionParam.DrawEffectSetting.MouseDownEffect.FontColor.Color = xB4FFFFFF
    end
    object lblPlain: TSkinFMXLabel
      Position.X = 10
      Position.Y = 112
      Width = 120
      Height = 22
      Caption = 'Install to'
      SelfOwnMaterial.DrawCaptionParam.FontSize = 14
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
    end
    object lblCentred: TSkinFMXLabel
      Position.X = 140
      Position.Y = 112
      Width = 160
      Height = 22
      Caption = 'Centred label'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF2A3440
      SelfOwnMaterial.DrawCaptionParam.FontSize = 14
      SelfOwnMaterial.DrawCaptionParam.FontColor = xFF8FD3FF
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object lblWrap: TSkinFMXLabel
      Position.X = 310
      Position.Y = 106
      Width = 150
      Height = 40
      Caption = 'A slogan long enough to wrap onto two lines'
      SelfOwnMaterial.DrawCaptionParam.FontSize = 12
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.IsWordWrap = True
    end
    object lblAutoSize: TSkinFMXLabel
      Position.X = 470
      Position.Y = 112
      Width = 20
      Height = 22
      Caption = 'Sized to its text'
      Properties.AutoSize = True
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF3A4A5C
      SelfOwnMaterial.DrawCaptionParam.FontSize = 14
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
    end
    object pnlFilled: TSkinFMXPanel
      Position.X = 10
      Position.Y = 160
      Width = 200
      Height = 60
      Caption = 'Filled panel'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.IsRound = True
      SelfOwnMaterial.BackColor.RoundWidth = 8
      SelfOwnMaterial.BackColor.RoundHeight = 8
      SelfOwnMaterial.BackColor.RectCorners = [rcBottomLeft, rcBottomRight]
      SelfOwnMaterial.BackColor.FillColor.Color = xFFF2F4F7
      SelfOwnMaterial.BackColor.BorderWidth = 1
      SelfOwnMaterial.BackColor.BorderColor.Color = xFFC8CDD4
      SelfOwnMaterial.DrawCaptionParam.FontSize = 14
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object pnlTransparent: TSkinFMXPanel
      Position.X = 220
      Position.Y = 160
      Width = 200
      Height = 60
      Caption = 'Transparent panel'
      SelfOwnMaterial.DrawCaptionParam.FontSize = 14
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
      object lblInPanel: TSkinFMXLabel
        Position.X = 4
        Position.Y = 4
        Width = 80
        Height = 18
        Caption = 'child label'
        SelfOwnMaterial.DrawCaptionParam.FontSize = 11
        SelfOwnMaterial.DrawCaptionParam.FontColor = xFF8FD3FF
      end
    end
    object pnlToolBar: TSkinFMXPanel
      Position.X = 430
      Position.Y = 160
      Width = 220
      Height = 60
      Padding.Top = 24
      Caption = 'Tool bar caption'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF2A3440
      SelfOwnMaterial.DrawCaptionParam.FontSize = 12
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
    end
    object imgBg: TSkinFMXImage
      Position.X = 10
      Position.Y = 236
      Width = 150
      Height = 90
      SelfOwnMaterial.DrawPictureParam.IsStretch = True
      Properties.Picture.ResourceName = 'bg'
    end
    object imgBrand: TSkinFMXImage
      Position.X = 170
      Position.Y = 236
      Width = 150
      Height = 90
      SelfOwnMaterial.DrawPictureParam.IsAutoFit = True
      SelfOwnMaterial.DrawPictureParam.PictureHorzAlign = phaCenter
      SelfOwnMaterial.DrawPictureParam.PictureVertAlign = pvaCenter
      Properties.Picture.ResourceName = 'brand'
    end
    object imgLogo: TSkinFMXImage
      Position.X = 330
      Position.Y = 236
      Width = 100
      Height = 90
      SelfOwnMaterial.DrawPictureParam.IsAutoFit = True
      SelfOwnMaterial.DrawPictureParam.PictureHorzAlign = phaCenter
      SelfOwnMaterial.DrawPictureParam.PictureVertAlign = pvaCenter
      Properties.Picture.ResourceName = 'logo'
    end
    object imgTurned: TSkinFMXImage
      Position.X = 440
      Position.Y = 236
      Width = 100
      Height = 90
      Caption = 'turned 45'
      SelfOwnMaterial.DrawPictureParam.IsAutoFit = True
      SelfOwnMaterial.DrawPictureParam.PictureHorzAlign = phaCenter
      SelfOwnMaterial.DrawPictureParam.PictureVertAlign = pvaCenter
      SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaBottom
      Properties.Picture.ResourceName = 'logo2'
      Properties.CurrentRotateAngle = 45
    end
    object imgEmpty: TSkinFMXImage
      Position.X = 550
      Position.Y = 236
      Width = 100
      Height = 90
      Caption = 'no picture'
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF2A3440
      SelfOwnMaterial.DrawCaptionParam.FontColor = xFFAAAAAA
      SelfOwnMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
    end
    object swOff: TSkinFMXSwitchBar
      Position.X = 10
      Position.Y = 346
      Width = 64
      Height = 28
      Properties.Checked = False
      MaterialUseKind = mukRef
      KeepSelfOwnMaterial = False
      RefMaterial = matSwitch
    end
    object swOn: TSkinFMXSwitchBar
      Position.X = 84
      Position.Y = 346
      Width = 64
      Height = 28
      Properties.Checked = True
      MaterialUseKind = mukRef
      KeepSelfOwnMaterial = False
      RefMaterial = matSwitch
    end
    object swOnHover: TSkinFMXSwitchBar
      Position.X = 158
      Position.Y = 346
      Width = 64
      Height = 28
      Properties.Checked = True
      MaterialUseKind = mukRef
      KeepSelfOwnMaterial = False
      RefMaterial = matSwitch
    end
    object pgPicture: TSkinFMXProgressBar
      Position.X = 240
      Position.Y = 346
      Width = 190
      Height = 10
      Properties.Position = 40
      SelfOwnMaterial.HorzBackGndPicture.ResourceName = 'progress1'
      SelfOwnMaterial.HorzForeGndPicture.ResourceName = 'progressfore'
      SelfOwnMaterial.BackGndDrawPictureParam.IsStretch = True
      SelfOwnMaterial.ForeGndDrawPictureParam.IsStretch = True
    end
    object pgPercent: TSkinFMXProgressBar
      Position.X = 240
      Position.Y = 366
      Width = 190
      Height = 20
      ComponentTypeName = 'Color'
      Properties.Position = 29
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF3A4A5C
      SelfOwnMaterial.ForeColor.IsFill = True
      SelfOwnMaterial.ForeColor.FillColor.Color = xFF0092CA
      SelfOwnMaterial.IsDrawPercent = True
      SelfOwnMaterial.DrawPercentParam.FontColor = claWhite
      SelfOwnMaterial.DrawPercentParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawPercentParam.FontVertAlign = fvaCenter
    end
    object pgColorReverse: TSkinFMXProgressBar
      Position.X = 240
      Position.Y = 396
      Width = 190
      Height = 10
      ComponentTypeName = 'Color'
      Properties.Position = 75
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF3A4A5C
      SelfOwnMaterial.ForeColor.IsFill = True
      SelfOwnMaterial.ForeColor.FillColor.Color = xFF0092CA
      SelfOwnMaterial.IsReverse = True
    end
    object pgVertical: TSkinFMXProgressBar
      Position.X = 450
      Position.Y = 340
      Width = 14
      Height = 90
      ComponentTypeName = 'Color'
      Properties.Position = 60
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF3A4A5C
      SelfOwnMaterial.ForeColor.IsFill = True
      SelfOwnMaterial.ForeColor.FillColor.Color = xFF0092CA
      Properties.Orientation = prVertical
    end
    object pgFull: TSkinFMXProgressBar
      Position.X = 480
      Position.Y = 346
      Width = 170
      Height = 20
      ComponentTypeName = 'Color'
      Properties.Position = 100
      SelfOwnMaterial.IsTransparent = False
      SelfOwnMaterial.BackColor.IsFill = True
      SelfOwnMaterial.BackColor.FillColor.Color = xFF3A4A5C
      SelfOwnMaterial.ForeColor.IsFill = True
      SelfOwnMaterial.ForeColor.FillColor.Color = xFF0092CA
      SelfOwnMaterial.IsDrawPercent = True
      SelfOwnMaterial.DrawPercentParam.FontColor = claWhite
      SelfOwnMaterial.DrawPercentParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.DrawPercentParam.FontVertAlign = fvaCenter
    end
    object grpRange: TSkinFMXButtonGroup
      Position.X = 480
      Position.Y = 386
      Width = 170
      Height = 34
      Properties.ButtonSizeCalcType = bsctSeparate
      SelfOwnMaterial.IsUseFirstButtonMaterial = True
      SelfOwnMaterial.IsUseLastButtonMaterial = True
      SelfOwnMaterial.FirstButtonMaterial.NormalPicture.ResourceName = 'state_hover'
      SelfOwnMaterial.FirstButtonMaterial.PushedPicture.ResourceName = 'state_pushed'
      SelfOwnMaterial.FirstButtonMaterial.DrawPictureParam.IsStretch = True
      SelfOwnMaterial.FirstButtonMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.FirstButtonMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.FirstButtonMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
      SelfOwnMaterial.MiddleButtonMaterial.NormalPicture.ResourceName = 'state_normal'
      SelfOwnMaterial.MiddleButtonMaterial.PushedPicture.ResourceName = 'state_pushed'
      SelfOwnMaterial.MiddleButtonMaterial.DrawPictureParam.IsStretch = True
      SelfOwnMaterial.MiddleButtonMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.MiddleButtonMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.MiddleButtonMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
      SelfOwnMaterial.LastButtonMaterial.NormalPicture.ResourceName = 'state_down'
      SelfOwnMaterial.LastButtonMaterial.PushedPicture.ResourceName = 'state_pushed'
      SelfOwnMaterial.LastButtonMaterial.DrawPictureParam.IsStretch = True
      SelfOwnMaterial.LastButtonMaterial.DrawCaptionParam.FontColor = claWhite
      SelfOwnMaterial.LastButtonMaterial.DrawCaptionParam.FontHorzAlign = fhaCenter
      SelfOwnMaterial.LastButtonMaterial.DrawCaptionParam.FontVertAlign = fvaCenter
      object btnRangeDay: TSkinFMXButton
        Caption = 'Day'
        Properties.PushedGroupIndex = 1
        Properties.IsAutoPush = True
      end
      object btnRangeWeek: TSkinFMXButton
        Caption = 'Week'
        Properties.PushedGroupIndex = 1
        Properties.IsAutoPush = True
        Properties.IsPushed = True
      end
      object btnRangeYear: TSkinFMXButton
        Caption = 'Year'
        Properties.PushedGroupIndex = 1
        Properties.IsAutoPush = True
      end
    end
  end
end
)";
