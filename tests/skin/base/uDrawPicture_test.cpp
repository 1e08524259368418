// Pictures and where their pixels come from: the sources and their order,
// the caches that remember what was tried, the image-list link and the
// state-dependent index, GIF bytes, clipping, bad input, persistence in
// documents and forms, and the drawing class registry.

#include "skin/base/uDrawClassRegistry.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uQtDrawCanvas.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/Resources.h"
#include "tests/support/GuiApp.h"
#include "tests/support/LogCapture.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingPaintDevice.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>

#include <fstream>
#include <memory>
#include <vector>

namespace {

using ostrel::host::MemoryResourceLookup;
using ostrel::host::ScopedResourceLookup;

std::unique_ptr<TDrawPicture> PictureOf(int AWidth, int AHeight, QColor AColor, const QString& AImageName = {}) {
  auto picture = std::make_unique<TDrawPicture>();
  picture->LoadFromStream(picture_bytes::Png(AWidth, AHeight, AColor));
  picture->SetStaticImageName(AImageName);
  return picture;
}

// An image list holding its pictures in order and finding them by exact name.
class TTestImageList : public TSkinBaseImageList {
  Q_OBJECT

 public:
  explicit TTestImageList(TComponent* AOwner = nullptr) : TSkinBaseImageList(AOwner) {}
  ~TTestImageList() override { BeginDestroy(); }

  TDrawPicture& Add(int AWidth, int AHeight, const QString& AImageName = {}) {
    Items.push_back(PictureOf(AWidth, AHeight, Qt::red, AImageName));
    return *Items.back();
  }
  void Changed() { DoChange(); }

  int Count() const override { return static_cast<int>(Items.size()); }
  TDrawPicture* GetItem(int AIndex) const override {
    return AIndex >= 0 && AIndex < Count() ? Items[static_cast<std::size_t>(AIndex)].get() : nullptr;
  }
  TDrawPicture* GetItemByName(const QString& AName) const override {
    for (const auto& item : Items) {
      if (item->ImageName() == AName) return item.get();
    }
    return nullptr;
  }

  std::vector<std::unique_ptr<TDrawPicture>> Items;
};

// A component holding one draw picture, as a material does.
class TTestPictureHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TDrawPicture* Picture READ Picture)

 public:
  explicit TTestPictureHolder(TComponent* AOwner = nullptr) : TComponent(AOwner), FPicture(std::make_unique<TDrawPicture>()) {}
  TDrawPicture* Picture() const { return FPicture.get(); }

 private:
  std::unique_ptr<TDrawPicture> FPicture;
};

class DrawPictureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test_support::GuiApp();
    ostrel::host::RegisterClass<TTestPictureHolder>();
    ostrel::host::RegisterClass<TTestImageList>();
  }
};

// ---------------------------------------------------------------------------
// Sources

TEST_F(DrawPictureTest, AResourcePictureIsLoadedOnceAndAMissingOneNotSearchedAgain) {
  MemoryResourceLookup resources;
  resources.Add(QStringLiteral("BG"), picture_bytes::Png(8, 6, Qt::blue));
  const ScopedResourceLookup scope(resources);

  TDrawPicture picture;
  picture.SetPictureDrawType(TPictureDrawType::pdtResource);
  picture.SetResourceName(QStringLiteral("bg"));
  ASSERT_FALSE(picture.CurrentPictureIsEmpty());
  EXPECT_EQ(picture.CurrentPictureWidth(), 8);
  TSkinPicture* first = picture.CurrentPicture();
  EXPECT_EQ(picture.CurrentPicture(), first);
  EXPECT_EQ(resources.LookupCount(), 1);

  picture.SetResourceName(QStringLiteral("missing"));
  EXPECT_EQ(picture.CurrentPicture(), nullptr);
  EXPECT_EQ(picture.CurrentPicture(), nullptr);
  EXPECT_EQ(resources.LookupCount(), 2) << "a missing resource is remembered as tried";
  picture.SetResourceName(QStringLiteral("BG"));
  EXPECT_FALSE(picture.CurrentPictureIsEmpty());
  EXPECT_EQ(resources.LookupCount(), 3) << "a new name is searched again";
}

TEST_F(DrawPictureTest, AFileNameStandsForAResourceNamedAfterIt) {
  struct Row {
    const char* FileName;
    const char* Resource;
  };
  for (const Row& row : {Row{"a@2x.png", "a_2x_png"}, Row{"img/logo@2x.png", "logo_2x_png"},
                         Row{"C:\\skin\\x.y.png", "x_y_png"}, Row{"", ""}}) {
    EXPECT_EQ(ostrel::skin::ResourceNameFromFileName(QString::fromUtf8(row.FileName)), QString::fromUtf8(row.Resource))
        << row.FileName;
  }
  MemoryResourceLookup resources;
  resources.Add(QStringLiteral("a_2x_png"), picture_bytes::Png(5, 5, Qt::green));
  const ScopedResourceLookup scope(resources);
  TDrawPicture picture;
  picture.SetFileName(QStringLiteral("a@2x.png"));
  ASSERT_FALSE(picture.CurrentPictureIsEmpty()) << "no such file: the resource a_2x_png";
  EXPECT_EQ(picture.CurrentPictureWidth(), 5);
}

TEST_F(DrawPictureTest, FilesAreFoundAsGivenOrBesideTheProgramAndKept) {
  const TempDir dir;
  const std::string path = dir / "icon.png";
  {
    std::ofstream out(path, std::ios::binary);
    const QByteArray png = picture_bytes::Png(3, 4, Qt::red);
    out.write(png.constData(), png.size());
  }
  TDrawPicture picture;
  picture.SetPictureDrawType(TPictureDrawType::pdtFile);
  picture.SetFileName(QString::fromStdString(path));
  ASSERT_FALSE(picture.CurrentPictureIsEmpty());
  EXPECT_EQ(picture.LoadedFilePath(), QString::fromStdString(path));
  std::filesystem::remove(path);
  EXPECT_FALSE(picture.CurrentPictureIsEmpty()) << "kept until the file name changes";
  picture.SetFileName(QStringLiteral("no-such-picture-file.png"));
  EXPECT_EQ(picture.CurrentPicture(), nullptr);
}

TEST_F(DrawPictureTest, AutoTakesTheFirstSourceWithPixels) {
  TTestImageList list;
  list.Add(2, 2);
  list.Add(3, 3);
  list.Add(4, 4, QStringLiteral("arrow"));
  const auto referenced = PictureOf(6, 6, Qt::blue);

  struct Row {
    const char* Name;
    std::function<void(TDrawPicture&)> Configure;
    int ExpectedWidth;  // 0: nothing
  };
  const Row rows[] = {
      {"nothing anywhere", [](TDrawPicture&) {}, 0},
      {"own pixels first", [&](TDrawPicture& p) {
         p.SetSize(9, 9);
         p.SetRefPicture(referenced.get());
       }, 9},
      {"a referenced picture before the list", [&](TDrawPicture& p) {
         p.SetRefPicture(referenced.get());
         p.SetImageIndex(0);
       }, 6},
      {"index 5 of 3 items falls through to the name", [](TDrawPicture& p) {
         p.SetImageIndex(5);
         p.SetImageName(QStringLiteral("arrow"));
       }, 4},
      {"a valid index before the name", [](TDrawPicture& p) {
         p.SetImageIndex(1);
         p.SetImageName(QStringLiteral("arrow"));
       }, 3},
      {"a name the list does not hold", [](TDrawPicture& p) { p.SetImageName(QStringLiteral("Arrow")); }, 0},
  };
  for (const Row& row : rows) {
    TDrawPicture picture;
    picture.SetSkinImageList(&list);
    row.Configure(picture);
    EXPECT_EQ(picture.CurrentPictureIsEmpty() ? 0 : picture.CurrentPictureWidth(), row.ExpectedWidth) << row.Name;
  }

  // The list a picture is not given can be supplied when asked.
  TDrawPicture supplied;
  supplied.SetImageIndex(2);
  supplied.OnGetSkinImageList = [&](TObject*, TSkinBaseImageList*& AList) { AList = &list; };
  EXPECT_EQ(supplied.CurrentPictureWidth(), 4);
  // The last resort, with no URL: the event.
  TDrawPicture byEvent;
  byEvent.OnGetPicture = [&](TObject*, TSkinPicture*& APicture) { APicture = referenced.get(); };
  EXPECT_EQ(byEvent.CurrentPicture(), referenced.get());
}

TEST_F(DrawPictureTest, EveryDrawTypeTakesItsOwnSource) {
  TTestImageList list;
  list.Add(2, 2, QStringLiteral("two"));
  const auto referenced = PictureOf(6, 6, Qt::blue);
  TDrawPicture other;
  other.SetSize(7, 7);
  TDrawPicture picture;
  picture.SetSize(1, 1);
  picture.SetSkinImageList(&list);
  picture.SetImageIndex(0);
  picture.SetImageName(QStringLiteral("two"));
  picture.SetRefPicture(referenced.get());
  picture.SetRefDrawPicture(&other);
  picture.OnGetPicture = [&](TObject*, TSkinPicture*& APicture) { APicture = &other; };
  struct Row {
    TPictureDrawType Type;
    TSkinPicture* Expected;
  };
  for (const Row& row : {Row{TPictureDrawType::pdtPicture, &picture}, Row{TPictureDrawType::pdtImageList, list.Items[0].get()},
                         Row{TPictureDrawType::pdtImageName, list.Items[0].get()},
                         Row{TPictureDrawType::pdtReference, referenced.get()},
                         Row{TPictureDrawType::pdtRefDrawPicture, &other}, Row{TPictureDrawType::pdtFile, nullptr},
                         Row{TPictureDrawType::pdtUrl, nullptr}, Row{TPictureDrawType::pdtResource, nullptr},
                         Row{TPictureDrawType::pdtOnGetPictureEvent, &other}}) {
    picture.SetPictureDrawType(row.Type);
    EXPECT_EQ(picture.CurrentPicture(), row.Expected) << static_cast<int>(row.Type);
  }
}

TEST_F(DrawPictureTest, TheCanvasPicksTheStateDependentIndexAndFallsBack) {
  TTestImageList list;
  list.Add(10, 10);
  list.Add(11, 11);
  list.Add(12, 12);
  TDrawPicture picture;
  picture.SetSkinImageList(&list);
  picture.SetPictureDrawType(TPictureDrawType::pdtImageList);
  picture.SetImageIndex(0);
  TDrawPictureParam param;
  auto& over = *param.DrawEffectSetting()->MouseOverEffect();
  over.SetEffectTypes({TDPPEffectType::dppetImageIndexChange});
  param.SetStaticEffectStates({TDPEffectState::dpstMouseOver});

  paint_record::RecordingPaintDevice device;
  QPainter painter(&device);
  TQtDrawCanvas canvas;
  canvas.Prepare(&painter);
  struct Row {
    int EffectIndex;
    int ExpectedSize;
  };
  for (const Row& row : {Row{2, 12}, Row{7, 10}, Row{-1, 10}}) {
    over.SetImageIndex(row.EffectIndex);
    device.Clear();
    canvas.DrawPicture(&param, &picture, TRectF(0, 0, 100, 100));
    EXPECT_EQ(picture.CurrentEffectImageIndex, row.EffectIndex);
    ASSERT_EQ(device.Ops().size(), 1u);
    EXPECT_EQ(device.Ops()[0].Source, QRectF(0, 0, row.ExpectedSize, row.ExpectedSize)) << row.EffectIndex;
  }
  // By name: the effect's name when it has one, else the picture's own.
  list.Items[1]->SetStaticImageName(QStringLiteral("pressed"));
  list.Items[2]->SetStaticImageName(QStringLiteral("normal"));
  picture.SetPictureDrawType(TPictureDrawType::pdtImageName);
  picture.SetImageName(QStringLiteral("normal"));
  over.SetEffectTypes({TDPPEffectType::dppetImageNameChange});
  over.SetImageName(QStringLiteral("pressed"));
  device.Clear();
  canvas.DrawPicture(&param, &picture, TRectF(0, 0, 100, 100));
  param.SetStaticEffectStates({});
  canvas.DrawPicture(&param, &picture, TRectF(0, 0, 100, 100));
  ASSERT_EQ(device.Ops().size(), 2u);
  EXPECT_EQ(device.Ops()[0].Source.width(), 11);
  EXPECT_EQ(device.Ops()[1].Source.width(), 12);
  canvas.UnPrepare();
}

TEST_F(DrawPictureTest, TheImageListLinkTellsChangesAndItsDestruction) {
  TDrawPicture picture;
  int changes = 0;
  picture.SetOnChange([&](TObject*) { ++changes; });
  {
    TTestImageList list;
    list.Add(2, 2);
    picture.SetSkinImageList(&list);
    EXPECT_EQ(changes, 1);
    list.Changed();
    EXPECT_EQ(changes, 2);
    picture.SetSkinImageList(&list);
    EXPECT_EQ(changes, 2) << "the same list again changes nothing";
  }
  EXPECT_EQ(picture.SkinImageList(), nullptr) << "a destroyed list is forgotten";
  picture.SetImageIndex(0);
  EXPECT_EQ(picture.CurrentPicture(), nullptr);

  TTestImageList first;
  TTestImageList second;
  picture.SetSkinImageList(&first);
  picture.SetSkinImageList(&second);
  EXPECT_EQ(first.SkinObjectChangeManager()->LinkCount(), 0);
  EXPECT_EQ(second.SkinObjectChangeManager()->LinkCount(), 1);
}

// ---------------------------------------------------------------------------
// Bytes: GIF, clipping, bad input

TEST_F(DrawPictureTest, GIFBytesAreRecognisedAndKept) {
  struct Row {
    const char* Name;
    QByteArray Bytes;
    std::optional<qsizetype> Offset;
  };
  const QByteArray gif = picture_bytes::Gif();
  const Row rows[] = {
      {"empty", {}, std::nullopt},
      {"too short to tell", "GIF8", std::nullopt},
      {"upper case", gif, 0},
      {"lower case", picture_bytes::Gif("gif89a"), 0},
      {"behind a 4-byte length", QByteArray::fromHex("2a000000") + gif, 4},
      {"PNG", picture_bytes::Png(1, 1, Qt::red), std::nullopt},
      {"GIF too late", QByteArray("abcdeGIF89a"), std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(ostrel::skin::GIFDataOffset(row.Bytes), row.Offset) << row.Name;

  TSkinPicture picture;
  picture.LoadFromStream(picture_bytes::Gif("gif89a"));
  EXPECT_TRUE(picture.HasGIFStream()) << "lower case is GIF too";
  picture.LoadFromStream(gif);
  EXPECT_EQ(picture.Image().pixelColor(0, 0), QColor(Qt::white)) << "a GIF shows its first frame";
  picture.LoadFromStream(picture_bytes::Png(2, 2, Qt::red));
  EXPECT_TRUE(picture.HasGIFStream()) << "non-GIF data leaves the kept bytes";
  EXPECT_EQ(picture.Width(), 2);
  picture.LoadFromStream(QByteArray());
  EXPECT_FALSE(picture.HasGIFStream()) << "empty data empties them";

  TSkinPicture behindLength;
  behindLength.LoadFromStream(QByteArray::fromHex("2a000000") + gif);
  EXPECT_EQ(behindLength.GIFStream().size(), gif.size() + 4) << "kept from the start";
  EXPECT_EQ(behindLength.Width(), 1) << "decoded from the signature on";

  // The engine follows the bytes: made on first request, anew after a load.
  behindLength.SetGIFSupport(true);
  TSkinPictureEngine* engine = behindLength.SkinPictureEngine();
  ASSERT_NE(dynamic_cast<TQtSkinGIFPictureEngine*>(engine), nullptr);
  EXPECT_TRUE(engine->GetCurrentIsGIF());
  EXPECT_EQ(static_cast<TSkinBaseGIFPictureEngine*>(engine)->CurrentAnimateFrame(), &behindLength);
  behindLength.SetGIFSupport(false);
  EXPECT_NE(dynamic_cast<TQtSkinPictureEngine*>(behindLength.SkinPictureEngine()), nullptr);
}

TEST_F(DrawPictureTest, ClipRadiiAndTheRoundedCopy) {
  struct Row {
    double Radius;
    double Size;
    double Expected;
  };
  for (const Row& row : {Row{-1, 100, 50}, Row{-1, 40, 20}, Row{0.25, 100, 25}, Row{0.25, 40, 10}, Row{6, 40, 6},
                         Row{80, 40, 20}, Row{-0.5, 40, 0}}) {
    EXPECT_DOUBLE_EQ(ostrel::skin::ResolveClipRadius(row.Radius, row.Size), row.Expected) << row.Radius;
  }
  TDrawPicture picture;
  int changes = 0;
  picture.SetOnChange([&](TObject*) { ++changes; });
  picture.LoadFromStream(picture_bytes::Png(100, 40, Qt::red));
  changes = 0;
  picture.SetIsClipRound(true);
  EXPECT_GT(changes, 0);
  // Radii -1 on 100 x 40 make an ellipse of radii 50 and 20.
  EXPECT_EQ(picture.Image().pixelColor(0, 0).alpha(), 0) << "the corner is cut away";
  EXPECT_EQ(picture.Image().pixelColor(10, 5).alpha(), 0) << "outside the ellipse";
  EXPECT_EQ(picture.Image().pixelColor(3, 20), QColor(Qt::red)) << "the middle of the ends stays";
  EXPECT_EQ(picture.Image().pixelColor(50, 2), QColor(Qt::red));
  picture.SetIsClipRound(false);
  EXPECT_EQ(picture.Image().pixelColor(0, 0).alpha(), 0) << "switching off keeps the pixels";

  // A clipping picture clips what it loads.
  TDrawPicture clipping;
  clipping.SetIsClipRound(true);
  clipping.LoadFromStream(picture_bytes::Png(20, 20, Qt::blue));
  EXPECT_EQ(clipping.Image().pixelColor(0, 0).alpha(), 0);
}

TEST_F(DrawPictureTest, BadInputLeavesAnEmptyPictureAndALogLine) {
  struct Row {
    const char* Name;
    QByteArray Bytes;
  };
  const Row rows[] = {
      {"not a picture", "just some text, not an image"},
      {"truncated PNG", picture_bytes::Png(64, 64, Qt::red).left(70)},
      {"truncated GIF", picture_bytes::Gif().left(14)},
      {"zero-sized", picture_bytes::PngHeaderDeclaring(0, 0)},
      {"enormous", picture_bytes::PngHeaderDeclaring(100000, 100000)},
  };
  const TempDir dir;
  for (const Row& row : rows) {
    const LogCapture log;
    TSkinPicture fromBytes;
    EXPECT_NO_THROW(fromBytes.LoadFromStream(row.Bytes)) << row.Name;
    EXPECT_TRUE(fromBytes.IsEmpty()) << row.Name;
    ASSERT_EQ(log.Lines().size(), 1) << row.Name;
    EXPECT_TRUE(log.Lines()[0].contains(QStringLiteral("Unit:uSkinPicture"))) << log.Lines()[0].toStdString();

    const std::string path = dir / "bad.png";
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(row.Bytes.constData(), row.Bytes.size());
    }
    TSkinPicture fromFile;
    EXPECT_NO_THROW(fromFile.LoadFromFile(QString::fromStdString(path))) << row.Name;
    EXPECT_TRUE(fromFile.IsEmpty()) << row.Name;
    EXPECT_TRUE(log.Lines().last().contains(QStringLiteral("TSkinPicture.LoadFromFile ") + QString::fromStdString(path)));
    EXPECT_TRUE(log.Lines().last().contains(QStringLiteral("BriselUIGraphic")));
  }
  // A missing resource changes nothing and is no picture.
  const MemoryResourceLookup none;
  const ScopedResourceLookup scope(none);
  TSkinPicture picture;
  EXPECT_FALSE(picture.LoadFromResource(QStringLiteral("bg")));
  EXPECT_TRUE(picture.IsEmpty());
  // A file the picture cannot read is the caller's error, but a file source
  // only misses its picture.
  EXPECT_THROW(picture.LoadFromFile(QString::fromStdString(dir / "missing.png")), EFOpenError);
  const std::string locked = dir / "locked.png";
  {
    std::ofstream out(locked, std::ios::binary);
    out << "x";
  }
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  if (!QFile(QString::fromStdString(locked)).open(QIODevice::ReadOnly)) {
    const LogCapture log;
    TDrawPicture source;
    source.SetPictureDrawType(TPictureDrawType::pdtFile);
    source.SetFileName(QString::fromStdString(locked));
    EXPECT_NO_THROW(EXPECT_EQ(source.CurrentPicture(), nullptr));
    EXPECT_EQ(log.Lines().size(), 1);
  }
}

TEST_F(DrawPictureTest, AChangeMadeWhileTellingAChangeIsLoggedNotTold) {
  TDrawPicture picture;
  int told = 0;
  picture.SetOnChange([&](TObject*) {
    ++told;
    picture.SetImageIndex(picture.ImageIndex() + 1);
  });
  const LogCapture log;
  picture.SetImageIndex(3);
  EXPECT_EQ(told, 1);
  EXPECT_EQ(picture.ImageIndex(), 4);
  EXPECT_EQ(log.Lines(), QStringList{QStringLiteral("TBaseDrawPicture.DoChange DoChangeing")});
}

// ---------------------------------------------------------------------------
// Copy and persistence

void ConfigureSources(TDrawPicture& APicture) {
  APicture.SetName(QStringLiteral("Icon"));
  APicture.SetCaption(QStringLiteral("图标"));
  APicture.SetGroup(QStringLiteral("g"));
  APicture.SetPictureDrawType(TPictureDrawType::pdtImageName);
  APicture.SetImageIndex(3);
  APicture.SetImageName(QStringLiteral("close"));
  APicture.SetFileName(QStringLiteral("close@2x.png"));
  APicture.SetResourceName(QStringLiteral("CLOSE"));
  APicture.SetUrl(QStringLiteral("https://example.invalid/close.png"));
}

TEST_F(DrawPictureTest, ADocumentKeepsThePersistedValuesOnly) {
  TDrawPicture original(QStringLiteral("Picture"), QStringLiteral("图片"), QStringLiteral("G"));
  original.LoadFromStream(picture_bytes::Png(6, 4, Qt::red));
  ConfigureSources(original);
  original.SetIsClipRound(true);
  original.TSkinPicture::SetImageName(QStringLiteral("own"));

  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class(QStringLiteral("BinaryObject"));
  ASSERT_TRUE(original.SaveToDocNode(node));
  EXPECT_EQ(node->ClassName(), QStringLiteral("TDrawPicture"));
  QStringList names;
  QStringList captions;
  for (TBTNode20* child : node->ChildNodes()) {
    names.append(child->NodeName());
    captions.append(child->NodeCaption());
  }
  EXPECT_EQ(names, (QStringList{"ImageName", "GraphicType", "GraphicData.Png", "GIFFileData.Png", "Name", "Caption",
                                "Group", "PictureDrawType", "ImageIndex", "ImageName", "FileName", "ResourceName",
                                "Url", "IsClipRound"}));
  EXPECT_EQ(captions[7], QStringLiteral("绘制类型"));
  EXPECT_EQ(captions[13], QStringLiteral("是否剪裁成圆形"));

  TBTDOC20 stored;
  stored.Load(doc.Save());
  TDrawPicture read(QStringLiteral("Other"), QStringLiteral("c"), QStringLiteral("h"));
  int changes = 0;
  read.SetOnChange([&](TObject*) { ++changes; });
  ASSERT_TRUE(read.LoadFromDocNode(stored.TopNode()->ChildNodes().GetItems(0)->ConvertNode_Class()));
  EXPECT_EQ(read.PictureDrawType(), TPictureDrawType::pdtImageName);
  EXPECT_EQ(read.ImageIndex(), 3);
  EXPECT_EQ(read.ImageName(), QStringLiteral("close"));
  EXPECT_EQ(read.TSkinPicture::ImageName(), QStringLiteral("close")) << "both names take the last ImageName node";
  EXPECT_EQ(read.FileName(), QStringLiteral("close@2x.png"));
  EXPECT_EQ(read.ResourceName(), QStringLiteral("CLOSE"));
  EXPECT_EQ(read.Url(), QStringLiteral("https://example.invalid/close.png"));
  EXPECT_TRUE(read.IsClipRound());
  EXPECT_EQ(read.Image(), original.Image()) << "the stored pixels, not clipped again";
  EXPECT_EQ(read.Name(), QStringLiteral("Other")) << "name, caption and group are not read back";
  EXPECT_EQ(read.Caption(), QStringLiteral("c"));
  EXPECT_EQ(read.Group(), QStringLiteral("h"));

  TDrawPicture empty;
  TBTDOC20 emptyDoc;
  TBTNode20_Class* emptyNode = emptyDoc.TopNode()->AddChildNode_Class(QStringLiteral("BinaryObject"));
  empty.SaveToDocNode(emptyNode);
  EXPECT_EQ(emptyNode->ChildNodes().GetItems(1)->NodeName(), QStringLiteral("GIFFileData"));
  EXPECT_EQ(emptyNode->ChildNodes().Count(), 12);

  // Damaged pixel bytes leave an empty picture, the rest is read.
  TBTDOC20 damaged;
  TBTNode20_Class* bad = damaged.TopNode()->AddChildNode_Class(QStringLiteral("BinaryObject"));
  bad->AddChildNode_WideString(QStringLiteral("GraphicType"), {}, QStringLiteral("Png"));
  bad->AddChildNode_Binary(QStringLiteral("GraphicData.Png"), {}, QByteArray("not png"));
  bad->AddChildNode_Int32(QStringLiteral("ImageIndex"), {}, 7);
  const LogCapture log;
  TDrawPicture fromDamaged;
  fromDamaged.LoadFromStream(picture_bytes::Png(2, 2, Qt::red));
  fromDamaged.LoadFromDocNode(bad);
  EXPECT_TRUE(fromDamaged.IsEmpty());
  EXPECT_EQ(fromDamaged.ImageIndex(), 7);
  EXPECT_EQ(log.Lines().size(), 1);
}

TEST_F(DrawPictureTest, AssignCopiesSourcesButNotCaches) {
  MemoryResourceLookup resources;
  resources.Add(QStringLiteral("CLOSE"), picture_bytes::Png(3, 3, Qt::red));
  const ScopedResourceLookup scope(resources);
  TDrawPicture source;
  source.LoadFromStream(picture_bytes::Gif());
  ConfigureSources(source);
  TTestImageList list;
  source.SetSkinImageList(&list);

  TDrawPicture dest;
  dest.SetPictureDrawType(TPictureDrawType::pdtResource);
  dest.SetResourceName(QStringLiteral("CLOSE"));
  ASSERT_FALSE(dest.CurrentPictureIsEmpty());
  int changes = 0;
  dest.SetOnChange([&](TObject*) { ++changes; });
  dest.Assign(&source);
  EXPECT_GT(changes, 0);
  EXPECT_TRUE(dest.IsChanged);
  EXPECT_EQ(dest.Name(), QStringLiteral("Icon"));
  EXPECT_EQ(dest.ImageName(), QStringLiteral("close"));
  EXPECT_EQ(dest.SkinImageList(), &list);
  EXPECT_EQ(list.SkinObjectChangeManager()->LinkCount(), 2) << "registered through the setter";
  EXPECT_TRUE(dest.HasGIFStream());
  EXPECT_EQ(dest.Image(), source.Image());
  dest.SetPictureDrawType(TPictureDrawType::pdtResource);
  EXPECT_FALSE(dest.CurrentPictureIsEmpty()) << "the resource cache is kept";
  EXPECT_EQ(resources.LookupCount(), 1);

  dest.Clear();
  EXPECT_EQ(dest.PictureDrawType(), TPictureDrawType::pdtAuto);
  EXPECT_TRUE(dest.IsEmpty());
  EXPECT_EQ(dest.SkinImageList(), nullptr);
  EXPECT_EQ(dest.ResourceName(), QString());
  EXPECT_EQ(dest.CurrentPicture(), nullptr);
}

TEST_F(DrawPictureTest, StoredFormsKeepSourcesPixelsAndGIFBytes) {
  TTestPictureHolder holder;
  TTestImageList* list = new TTestImageList(&holder);
  list->SetName(QStringLiteral("UIImageList"));
  TDrawPicture& picture = *holder.Picture();
  picture.LoadFromStream(picture_bytes::Gif());
  picture.SetSkinImageList(list);
  picture.SetImageIndex(2);
  picture.SetPictureDrawType(TPictureDrawType::pdtImageList);
  const QString text = ostrel::host::WriteComponent(holder);
  for (const char* line : {"Picture.ImageIndex = 2", "Picture.PictureDrawType = pdtImageList",
                           "Picture.SkinImageList = UIImageList", "Picture.PNG = {", "Picture.GIFFileData = {"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << text.toStdString();
  }
  EXPECT_FALSE(text.contains(QStringLiteral("Picture.FileName")));

  const std::unique_ptr<TComponent> read = ostrel::host::ReadComponent(text);
  const auto* copy = qobject_cast<TTestPictureHolder*>(read.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Picture()->ImageIndex(), 2);
  EXPECT_TRUE(copy->Picture()->HasGIFStream());
  EXPECT_EQ(copy->Picture()->Image(), picture.Image());
  ASSERT_NE(copy->Picture()->SkinImageList(), nullptr);
  EXPECT_EQ(copy->Picture()->SkinImageList()->Name(), QStringLiteral("UIImageList"));
  EXPECT_EQ(ostrel::host::WriteComponent(*copy), text);
}

// ---------------------------------------------------------------------------
// Pictures from the web, through a download manager of the test's own

class TTestDownloadItem : public TDownloadPictureCacheItem {
 public:
  TDownloadPictureState FState = TDownloadPictureState::dpsWaitDownload;
  QString FFile;
  TSkinPicture FPicture;
  bool FLoaded = false;
  std::vector<TBaseDrawPicture*> Listeners;

  TDownloadPictureState State() const override { return FState; }
  QString FileName() const override { return FFile; }
  TSkinPicture* Picture() override { return &FPicture; }
  bool IsPictureLoaded() const override { return FLoaded; }
  void SetPictureLoaded(bool AValue) override { FLoaded = AValue; }
  void AddListener(TBaseDrawPicture* AListener) override { Listeners.push_back(AListener); }
  void RemoveListener(TBaseDrawPicture* AListener) override { std::erase(Listeners, AListener); }
  void Tell() {
    for (TBaseDrawPicture* listener : Listeners) listener->DownloadStateChanged(this);
  }
};

class TTestDownloadManager : public TDownloadPictureManager {
 public:
  TTestDownloadItem Item;
  QString Tag;
  int Requests = 0;
  TSkinPicture Waiting;
  TSkinPicture Loading;
  TSkinPicture Failed;
  TSkinPicture Invalid;

  TDownloadPictureCacheItem* GetUrlPicture(const QString&, TBaseDrawPicture* AListener, const QString& ATag) override {
    ++Requests;
    Tag = ATag;
    Item.AddListener(AListener);
    return &Item;
  }
  TSkinPicture* WaitDownloadPicture() override { return &Waiting; }
  TSkinPicture* DownloadingPicture() override { return &Loading; }
  TSkinPicture* DownloadFailPicture() override { return &Failed; }
  TSkinPicture* ImageInvalidPicture() override { return &Invalid; }
};

TEST_F(DrawPictureTest, AUrlPictureShowsTheManagersPlaceholdersThenTheDownload) {
  TTestDownloadManager manager;
  TDrawPicture picture(QStringLiteral("Avatar"), QStringLiteral("头像"));
  picture.SetDownloadPictureManager(&manager);
  picture.SetPictureDrawType(TPictureDrawType::pdtUrl);
  picture.SetUrl(QStringLiteral("https://example.invalid/a.png"));
  picture.IsLoadUrlPictureToSelf = true;

  struct Row {
    TDownloadPictureState State;
    TSkinPicture* Expected;
    const char* Logged;
  };
  const LogCapture log;
  for (const Row& row : {Row{TDownloadPictureState::dpsWaitDownload, &manager.Waiting, "WaitDownload"},
                         Row{TDownloadPictureState::dpsDownloading, &manager.Loading, nullptr},
                         Row{TDownloadPictureState::dpsDownloadFail, &manager.Failed, "DownloadFail"},
                         Row{TDownloadPictureState::dpsDownloadImageInvalid, &manager.Invalid, "DownloadImageInvalid"},
                         Row{TDownloadPictureState::dpsNone, nullptr, "None"},
                         Row{TDownloadPictureState::dpsDownloadSucc, nullptr, "DownloadSucc"}}) {
    manager.Item.FState = row.State;
    const qsizetype before = log.Lines().size();
    EXPECT_EQ(picture.CurrentPicture(), row.Expected) << static_cast<int>(row.State);
    if (row.Logged != nullptr) {
      ASSERT_EQ(log.Lines().size(), before + 1);
      EXPECT_EQ(log.Lines().last(),
                QStringLiteral("BriselUI TBaseDrawPicture.WebUrlPicture UrlPicture.State ") + QString::fromUtf8(row.Logged));
    }
  }
  EXPECT_EQ(manager.Requests, 1);
  EXPECT_EQ(manager.Tag, QStringLiteral("Avatar头像"));

  const TempDir dir;
  manager.Item.FFile = QString::fromStdString(dir / "a.png");
  {
    QFile file(manager.Item.FFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(picture_bytes::Png(5, 5, Qt::green));
  }
  int changes = 0;
  picture.SetOnChange([&](TObject*) { ++changes; });
  manager.Item.Tell();
  EXPECT_GT(changes, 0);
  EXPECT_TRUE(manager.Item.FLoaded);
  EXPECT_EQ(picture.CurrentPicture(), &manager.Item.FPicture);
  EXPECT_EQ(picture.Width(), 5) << "loaded into its own pixels too";

  picture.SetUrl(QString());
  EXPECT_TRUE(manager.Item.Listeners.empty()) << "a new URL stops listening to the old entry";
  EXPECT_TRUE(picture.IsEmpty());
}

// ---------------------------------------------------------------------------
// The drawing class registry

TEST_F(DrawPictureTest, TheRegistryMakesTheBackEndsClasses) {
  EXPECT_NE(dynamic_cast<TQtDrawCanvas*>(CreateDrawCanvas().get()), nullptr);
  EXPECT_NE(CreateSkinPicture(), nullptr);
  TSkinPicture picture;
  EXPECT_NE(dynamic_cast<TQtSkinPictureEngine*>(CreateSkinPictureEngine(&picture, false).get()), nullptr);
  EXPECT_NE(dynamic_cast<TQtSkinGIFPictureEngine*>(CreateSkinPictureEngine(&picture, true).get()), nullptr);
  const std::unique_ptr<TDrawPicture> made = CreateDrawPicture(QStringLiteral("n"), QStringLiteral("c"), QStringLiteral("g"));
  EXPECT_EQ(made->Group(), QStringLiteral("g"));
  EXPECT_EQ(made->ImageIndex(), -1);
  EXPECT_GT(ostrel::skin::DrawSettings().ScreenScale, 0);
}

}  // namespace

#include "uDrawPicture_test.moc"
