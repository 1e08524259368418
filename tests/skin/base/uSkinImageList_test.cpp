// Image lists: their pictures stored in forms as one binary tree document
// and read back, the stored bytes themselves, lookup by index and by name at
// each display scale, changes told to the pictures that use a list, and
// bad data refused without losing what the list held.

#include "skin/base/uBinaryTreeDoc.h"
#include "skin/base/uDrawCanvas.h"
#include "skin/base/uDrawClassRegistry.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinImageList.h"
#include "skin/base/uSkinRegManager.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "tests/support/GuiApp.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

#include <memory>
#include <vector>

namespace {

using ostrel::skin::NamedPictureFile;

// A component holding two image lists, as the setup window does.
class TImageListHolder : public TComponent {
  Q_OBJECT

 public:
  using TComponent::TComponent;
};

std::unique_ptr<TDrawPicture> NamedPicture(int AWidth, int AHeight, QColor AColor, const QString& AImageName) {
  auto picture = std::make_unique<TDrawPicture>();
  picture->LoadFromStream(picture_bytes::Png(AWidth, AHeight, AColor));
  // Both names, as stored items carry them; reading gives both the last.
  static_cast<TSkinPicture&>(*picture).SetImageName(AImageName);
  picture->SetStaticImageName(AImageName);
  return picture;
}

QByteArray Utf16z(const char16_t* AText) {
  QByteArray bytes;
  for (const char16_t* c = AText; *c != 0; ++c) {
    bytes.append(static_cast<char>(*c & 0xFF));
    bytes.append(static_cast<char>(*c >> 8));
  }
  return bytes + QByteArray(2, '\0');
}

// Sets the drawing settings' display scale for one scope.
class ScopedDrawScale {
 public:
  explicit ScopedDrawScale(double AScale) : FPrevious((ostrel::skin::DrawClasses(), ostrel::skin::DrawSettings().ScreenScale)) {
    ostrel::skin::DrawSettings().ScreenScale = AScale;
  }
  ~ScopedDrawScale() { ostrel::skin::DrawSettings().ScreenScale = FPrevious; }
  ScopedDrawScale(const ScopedDrawScale&) = delete;
  ScopedDrawScale& operator=(const ScopedDrawScale&) = delete;

 private:
  double FPrevious;
};

class SkinImageListTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test_support::GuiApp();
    ostrel::skin::StartSkinLibrary({&ostrel::skin::RegisterSkinCoreFamily});
    ostrel::host::RegisterClass<TImageListHolder>();
  }

  // Writes PNG files of the given sizes and answers the entries naming them.
  std::vector<NamedPictureFile> Files(std::initializer_list<std::pair<const char*, int>> ANamesAndSizes) {
    std::vector<NamedPictureFile> entries;
    int hue = 0;
    for (const auto& [name, size] : ANamesAndSizes) {
      const std::string path = FFolder / (std::string(name) + ".png");
      QFile file(QString::fromStdString(path));
      EXPECT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(picture_bytes::Png(size, size, QColor::fromHsv(hue, 200, 200)));
      hue += 40;
      entries.push_back({QString::fromUtf8(name), QString::fromStdString(path)});
    }
    return entries;
  }

  TempDir FFolder;
};

// ---------------------------------------------------------------------------
// Stored forms and stored bytes

TEST_F(SkinImageListTest, ListsStoredInAFormReadBackWithTheSamePicturesByIndexAndByName) {
  TImageListHolder holder;
  auto* icons = new TSkinImageList(&holder);
  icons->SetName(QStringLiteral("IconImageList"));
  icons->PictureList()->LoadFromBytes(ostrel::skin::BuildImageListData(
      Files({{"close", 24}, {"files", 24}, {"close@2x", 48}, {"files@2x", 48}})));
  auto* ui = new TSkinImageList(&holder);
  ui->SetName(QStringLiteral("UIImageList"));
  ui->PictureList()->AddOwned(NamedPicture(37, 37, Qt::white, QStringLiteral("switchon1")));
  ui->PictureList()->AddOwned(NamedPicture(100, 5, Qt::blue, QStringLiteral("progress1")));
  // An item without pixels stores its other sources.
  ui->PictureList()->AddFileNameOnly(QStringLiteral("C:\\art\\arrow@2x.png"));

  const QString text = ostrel::host::WriteComponent(holder);
  EXPECT_TRUE(text.contains(QStringLiteral("    PictureList.Data = {"))) << text.toStdString();
  const std::unique_ptr<TComponent> read = ostrel::host::ReadComponent(text);
  ASSERT_NE(read, nullptr);
  for (const TSkinImageList* original : {icons, ui}) {
    const auto* copy = qobject_cast<const TSkinImageList*>(read->FindComponent(original->Name()));
    ASSERT_NE(copy, nullptr) << original->Name().toStdString();
    ASSERT_EQ(copy->Count(), original->Count());
    for (int i = 0; i < original->Count(); ++i) {
      const TDrawPicture* want = original->GetItem(i);
      const TDrawPicture* got = copy->GetItem(i);
      EXPECT_EQ(got->ImageName(), want->ImageName()) << i;
      EXPECT_EQ(got->Image(), want->Image()) << want->ImageName().toStdString();
      EXPECT_EQ(got->FileName(), want->FileName());
      if (!want->ImageName().isEmpty()) {
        EXPECT_EQ(copy->PictureList()->GetItemByName(want->ImageName(), 1.0), got);
      }
    }
  }
  const auto* uiCopy = qobject_cast<const TSkinImageList*>(read->FindComponent(QStringLiteral("UIImageList")));
  EXPECT_EQ(uiCopy->GetItem(2)->FileName(), QStringLiteral("arrow@2x.png"));
  EXPECT_EQ(ostrel::host::WriteComponent(*read), text) << "read, then written again: the same text";
}

TEST_F(SkinImageListTest, StoredBytesAreADocumentLaidOutPictureByPicture) {
  const QByteArray data = ostrel::skin::BuildImageListData(Files({{"close", 24}, {"files", 24}}));

  // The start: header, root, the first picture's class node and its first child.
  const QByteArray start = QByteArray::fromHex("1400"
                                               "00020000000400000000005C000000"
                                               "180E0000001A001A000000") +
                           Utf16z(u"BinaryObject") + Utf16z(u"TDrawPicture") +
                           QByteArray::fromHex("040000000014000C000000") + Utf16z(u"ImageName") + Utf16z(u"close");
  ASSERT_GE(data.size(), start.size());
  EXPECT_EQ(data.left(start.size()).toHex(' '), start.toHex(' '));

  TBTDOC20 document;
  document.Load(data);
  EXPECT_EQ(document.DocBufSize(), static_cast<std::size_t>(data.size()));
  ASSERT_EQ(document.Nodes().Count(), 2);
  const struct {
    const char16_t* Name;
    std::uint8_t Type;
    const char16_t* Caption;
  } layout[] = {
      {u"ImageName", TBTNode20_WideString::TypeCode, u""},
      {u"GraphicType", TBTNode20_WideString::TypeCode, u""},
      {u"GraphicData.Png", TBTNode20_Binary::TypeCode, u""},
      {u"GIFFileData.Png", TBTNode20_Binary::TypeCode, u""},
      {u"Name", TBTNode20_WideString::TypeCode, u"名称"},
      {u"Caption", TBTNode20_WideString::TypeCode, u"标题"},
      {u"Group", TBTNode20_WideString::TypeCode, u"分组"},
      {u"PictureDrawType", TBTNode20_Int32::TypeCode, u"绘制类型"},
      {u"ImageIndex", TBTNode20_Int32::TypeCode, u"图片下标"},
      {u"ImageName", TBTNode20_WideString::TypeCode, u"图片名称"},
      {u"FileName", TBTNode20_WideString::TypeCode, u"图片文件名"},
      {u"ResourceName", TBTNode20_WideString::TypeCode, u"图片资源名称"},
      {u"Url", TBTNode20_WideString::TypeCode, u"图片链接"},
      {u"IsClipRound", TBTNode20_Bool32::TypeCode, u"是否剪裁成圆形"},
  };
  const QString names[] = {QStringLiteral("close"), QStringLiteral("files")};
  for (int item = 0; item < 2; ++item) {
    const TBTNode20_Class* node = document.Nodes().GetItems(item)->ConvertNode_Class();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->NodeName(), QStringLiteral("BinaryObject"));
    EXPECT_EQ(node->ClassName(), QStringLiteral("TDrawPicture"));
    ASSERT_EQ(node->ChildNodes().Count(), 14);
    for (int i = 0; i < 14; ++i) {
      const TBTNode20* child = node->ChildNodes().GetItems(i);
      EXPECT_EQ(child->NodeName(), QString::fromUtf16(layout[i].Name)) << i;
      EXPECT_EQ(child->NodeType(), layout[i].Type) << i;
      EXPECT_EQ(child->NodeCaption(), QString::fromUtf16(layout[i].Caption)) << i;
    }
    // Both names are the item's; the window's items keep every other text empty.
    EXPECT_EQ(node->ChildNodes().GetItems(0)->ConvertNode_WideString()->Data(), names[item]);
    EXPECT_EQ(node->ChildNodes().GetItems(9)->ConvertNode_WideString()->Data(), names[item]);
    EXPECT_EQ(node->ReadChildWideString(QStringLiteral("GraphicType")), QStringLiteral("Png"));
    EXPECT_EQ(node->ReadChildInt32(QStringLiteral("PictureDrawType"), 99), 0);
    EXPECT_EQ(node->ReadChildInt32(QStringLiteral("ImageIndex")), -1);
    EXPECT_EQ(node->ReadChildWideString(QStringLiteral("FileName")), QString());
    EXPECT_FALSE(node->ReadChildBool32(QStringLiteral("IsClipRound"), true));
    const QImage pixels = QImage::fromData(node->ReadChildBinary(QStringLiteral("GraphicData.Png")), "PNG");
    EXPECT_EQ(pixels.size(), QSize(24, 24));
  }
  EXPECT_EQ(TSkinImageList().PictureList()->SaveToBytes().toHex(' '),
            QByteArray::fromHex("14000000000000040000000000 5C000000").toHex(' '))
      << "an empty list stores the empty document";
}

TEST_F(SkinImageListTest, BuildingStoredDataRefusesFilesThatHoldNoPicture) {
  std::vector<NamedPictureFile> entries = Files({{"close", 24}});
  entries.push_back({QStringLiteral("missing"), QString::fromStdString(FFolder / "missing.png")});
  EXPECT_THROW(ostrel::skin::BuildImageListData(entries), Exception);
  const std::string text = FFolder / "text.png";
  QFile file(QString::fromStdString(text));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a picture");
  file.close();
  entries.back() = {QStringLiteral("text"), QString::fromStdString(text)};
  EXPECT_THROW(ostrel::skin::BuildImageListData(entries), Exception);
}

// ---------------------------------------------------------------------------
// Lookup

TEST_F(SkinImageListTest, NamesFindTheVariantForTheDisplayScaleAndFallBackToThePlainName) {
  TDrawPictureList list;
  for (const char16_t* name : {u"close", u"close@2x", u"files@2x", u"logo", u"logo@3x", u"Close@2x"}) {
    list.AddOwned(NamedPicture(1, 1, Qt::red, QString::fromUtf16(name)));
  }
  list.AddOwned(NamedPicture(1, 1, Qt::red, QStringLiteral("close")));  // a second plain "close": the first wins
  const struct {
    const char16_t* Name;
    double Scale;
    int Expected;  // item index, -1 for none
  } cases[] = {
      {u"close", 1.0, 0},   {u"close", 2.0, 1},  {u"close", 1.5, 1}, {u"close", 3.0, 1},
      {u"files", 1.0, -1},  {u"files", 2.0, 2},  {u"files", 1.25, 2}, {u"logo", 2.0, 3},
      {u"logo", 2.5, 4},    {u"logo", 1.0, 3},   {u"Close", 1.0, -1}, {u"Close", 2.0, 5},
      {u"close", 0.5, 0},   {u"close", 0.0, 0},  {u"", 2.0, -1},      {u"close@2x", 1.0, 1},
      {u"clos", 2.0, -1},   {u"close", 1e300, 1},
  };
  for (const auto& c : cases) {
    const QString name = QString::fromUtf16(c.Name);
    const TDrawPicture* expected = c.Expected < 0 ? nullptr : list.GetItem(c.Expected);
    EXPECT_EQ(list.GetItemByName(name, c.Scale), expected) << name.toStdString() << " at " << c.Scale;
  }

  TSkinImageList images;
  images.PictureList()->Assign(&list);
  const ScopedDrawScale twice(2.0);
  EXPECT_EQ(images.GetItemByName(QStringLiteral("close")), images.GetItem(1)) << "the process's display scale";
}

TEST_F(SkinImageListTest, IndexesOutsideTheListFindNothingOrRaise) {
  TSkinImageList images;
  images.PictureList()->AddOwned(NamedPicture(2, 2, Qt::red, QStringLiteral("a")));
  for (const int index : {-1, 1, 1000}) EXPECT_EQ(images.GetItem(index), nullptr) << index;
  TDrawPictureList& list = *images.PictureList();
  const QString png = Files({{"b", 3}})[0].FilePath;
  EXPECT_THROW(list.ReplacePictureFile(1, png), EListError);
  EXPECT_THROW(list.ReplaceFileNameOnly(-1, png), EListError);
  EXPECT_THROW(list.Insert(2), EListError);
  EXPECT_THROW(list.SetItem(1, std::make_unique<TDrawPicture>()), EListError);
  EXPECT_THROW(list.AddPictureFile(QString::fromStdString(FFolder / "missing.png")), Exception);
  EXPECT_EQ(list.Count(), 1) << "nothing was added or replaced";

  list.ReplacePictureFile(0, png);
  EXPECT_EQ(list.GetItem(0)->Width(), 3);
  EXPECT_EQ(list.AddPictureFile(png), 1);
  list.ReplaceFileNameOnly(1, QStringLiteral("/art/new.png"));
  EXPECT_EQ(list.GetItem(1)->FileName(), QStringLiteral("new.png"));
  const TPersistent* inserted = list.Insert(0);
  EXPECT_EQ(inserted, list.GetItem(0));
  EXPECT_EQ(list.Count(), 3);

  TBinaryObjectList base;
  try {
    base.Add();
    ADD_FAILURE() << "the base list makes no objects";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Have Not Implement TBinaryObjectList.CreateBinaryObject"));
  }
}

// ---------------------------------------------------------------------------
// Changes and copies

TEST_F(SkinImageListTest, ChangesReachThePicturesThatUseTheListAndItsEndComesBeforeItsPictures) {
  auto images = std::make_unique<TSkinImageList>();
  TDrawPicture icon;
  icon.SetSkinImageList(images.get());
  icon.SetPictureDrawType(TPictureDrawType::pdtImageName);
  icon.SetImageName(QStringLiteral("close"));
  int changes = 0;
  icon.SetOnChange([&](TObject*) { ++changes; });

  const QByteArray data = ostrel::skin::BuildImageListData(Files({{"files", 24}, {"close", 24}}));
  images->PictureList()->ReadBinaryProperty(QStringLiteral("Data"), data);
  EXPECT_EQ(changes, 1) << "one change for the whole document";
  ASSERT_FALSE(icon.CurrentPictureIsEmpty());
  EXPECT_EQ(icon.CurrentPicture(), images->GetItem(1));

  images->PictureList()->Add();
  EXPECT_EQ(changes, 2);
  images->PictureList()->Delete(2, true, true);
  EXPECT_EQ(changes, 3);

  TSkinObjectChangeLink link;
  int countWhenTold = -1;
  link.SetOnDestroy([&](TObject* ASender) { countWhenTold = static_cast<TSkinBaseImageList*>(ASender)->Count(); });
  images->RegisterChanges(&link);
  images.reset();
  EXPECT_EQ(countWhenTold, 2) << "told while the pictures were still there";
  EXPECT_EQ(link.Sender(), nullptr);
  EXPECT_EQ(icon.SkinImageList(), nullptr);
  EXPECT_EQ(icon.CurrentPicture(), nullptr);
}

TEST_F(SkinImageListTest, CopyingAListMakesItsOwnPictures) {
  TSkinImageList source;
  source.PictureList()->AddOwned(NamedPicture(4, 2, Qt::green, QStringLiteral("a")));
  source.PictureList()->AddOwned(NamedPicture(2, 4, Qt::blue, QStringLiteral("b")));
  TSkinImageList dest;
  dest.PictureList()->AddOwned(NamedPicture(1, 1, Qt::red, QStringLiteral("old")));
  int changes = 0;
  TSkinObjectChangeLink link;
  link.SetOnChange([&](TObject*) { ++changes; });
  dest.RegisterChanges(&link);

  dest.SetPictureList(source.PictureList());
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(dest.Count(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_NE(dest.GetItem(i), source.GetItem(i));
    EXPECT_EQ(dest.GetItem(i)->ImageName(), source.GetItem(i)->ImageName());
    EXPECT_EQ(dest.GetItem(i)->Image(), source.GetItem(i)->Image());
  }
  dest.SetPictureList(dest.PictureList());
  EXPECT_EQ(dest.Count(), 2) << "a list copied onto itself stays";
  TDrawPicture notAList;
  dest.PictureList()->Assign(&notAList);
  EXPECT_EQ(dest.Count(), 2) << "a source of another kind changes nothing";
}

TEST_F(SkinImageListTest, ListsTravelThroughDocumentFiles) {
  TDrawPictureList list;
  list.AddOwned(NamedPicture(3, 3, Qt::red, QStringLiteral("a")));
  const QString path = QString::fromStdString(FFolder / "list.btd");
  ASSERT_TRUE(list.SaveToFile(path));
  EXPECT_FALSE(list.SaveToFile(QString::fromStdString(FFolder / "no-such-folder/list.btd"))) << "swallowed";
  list.LoadFromFile(path, false);
  EXPECT_EQ(list.Count(), 2) << "appended";
  list.LoadFromFile(path, true);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetItem(0)->ImageName(), QStringLiteral("a"));
  EXPECT_THROW(list.LoadFromFile(QString::fromStdString(FFolder / "missing.btd"), true), Exception);
  EXPECT_EQ(list.Count(), 1);
}

// ---------------------------------------------------------------------------
// Bad data

TEST_F(SkinImageListTest, DataThatIsNoDocumentIsRefusedAndTheListKeepsItsPictures) {
  const QByteArray good = ostrel::skin::BuildImageListData(Files({{"close", 24}}));
  QByteArray badType = good;
  badType[2] = char(3);  // the root's type code
  const struct {
    const char* Name;
    QByteArray Bytes;
    QString Message;
  } cases[] = {
      {"one byte", QByteArray("\x14", 1), QStringLiteral("无效文档")},
      {"another version", QByteArray::fromHex("15000000000000040000000000 5C000000"), QStringLiteral("无效版本号")},
      {"an unknown node type", badType, QStringLiteral("无效节点")},
      {"cut short", good.left(good.size() - 7), QStringLiteral("无效文档")},
      {"a name longer than the data", good.left(2) + QByteArray::fromHex("00 00000000 FF 00 00000000"), QStringLiteral("无效文档")},
  };
  TSkinImageList images;
  images.PictureList()->LoadFromBytes(good);
  for (const auto& c : cases) {
    try {
      images.PictureList()->ReadBinaryProperty(QStringLiteral("Data"), c.Bytes);
      ADD_FAILURE() << c.Name << " was taken";
    } catch (const EBinaryTreeDocError& e) {
      EXPECT_EQ(e.Message(), c.Message) << c.Name;
    }
    ASSERT_EQ(images.Count(), 1) << c.Name;
    EXPECT_EQ(images.GetItem(0)->Width(), 24) << c.Name;
  }

  // A stored form with such data names its line and leaves nothing behind.
  const QString form = QStringLiteral(
      "object Holder: TImageListHolder\n"
      "  object Images: TSkinImageList\n"
      "    PictureList.Data = { 15 00 }\n"
      "  end\n"
      "end\n");
  try {
    ostrel::host::ReadComponent(form);
    ADD_FAILURE() << "the form was read";
  } catch (const ostrel::host::EFormError& e) {
    EXPECT_EQ(e.Line(), 3) << e.what();
  }
}

TEST_F(SkinImageListTest, ADocumentOfOtherNodesGivesOnlyWhatItHolds) {
  // A valid document whose root holds a folder, a text and a picture whose
  // pixels do not decode: only the class node makes an item, an empty one.
  TBTDOC20 document;
  document.TopNode()->AddChildNode_Directory(QStringLiteral("BinaryObject"));
  document.TopNode()->AddChildNode_WideString(QStringLiteral("BinaryObject"), QString(), QStringLiteral("x"));
  TBTNode20_Class* picture = document.TopNode()->AddChildNode_Class(QStringLiteral("BinaryObject"), QString(), QStringLiteral("TNothing"));
  picture->AddChildNode_WideString(QStringLiteral("GraphicType"), QString(), QStringLiteral("Png"));
  picture->AddChildNode_Binary(QStringLiteral("GraphicData.Png"), QString(), QByteArray("\x89PNG broken"));
  picture->AddChildNode_WideString(QStringLiteral("ImageName"), QStringLiteral("图片名称"), QStringLiteral("broken"));
  picture->AddChildNode_Int32(QStringLiteral("PictureDrawType"), QString(), 200);

  TSkinImageList images;
  images.PictureList()->LoadFromBytes(document.Save());
  ASSERT_EQ(images.Count(), 1);
  const TDrawPicture* item = images.GetItem(0);
  EXPECT_TRUE(item->IsEmpty());
  EXPECT_EQ(item->ImageName(), QStringLiteral("broken"));
  EXPECT_EQ(item->PictureDrawType(), TPictureDrawType::pdtAuto) << "an ordinal that names no kind is passed over";
  EXPECT_EQ(images.GetItemByName(QStringLiteral("broken")), item);

  images.PictureList()->LoadFromBytes(QByteArray());
  EXPECT_EQ(images.Count(), 0) << "empty data empties the list";
}

}  // namespace

#include "uSkinImageList_test.moc"
