#include "skin/base/uBinaryTreeDoc.h"
#include "tests/support/QtPrinters.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

QByteArray Hex(const char* AHex) { return QByteArray::fromHex(AHex); }

// UTF-16LE with terminator, as names, captions and texts are stored.
QByteArray Text(const QString& AText) {
  QByteArray bytes;
  for (const QChar c : AText) {
    bytes.append(static_cast<char>(c.unicode() & 0xFF));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  bytes.append(2, '\0');
  return bytes;
}

QByteArray U32(std::uint32_t AValue) {
  QByteArray bytes;
  for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((AValue >> (8 * i)) & 0xFF));
  return bytes;
}

// One node record with sizes taken from the given fields.
QByteArray Record(std::uint8_t AType, std::uint32_t AChildCount, const QByteArray& AName, const QByteArray& ACaption,
                  const QByteArray& AData) {
  QByteArray bytes;
  bytes.append(static_cast<char>(AType));
  bytes.append(U32(AChildCount));
  bytes.append(static_cast<char>(AName.size()));
  bytes.append(static_cast<char>(ACaption.size()));
  bytes.append(U32(static_cast<std::uint32_t>(AData.size())));
  return bytes + AName + ACaption + AData;
}

// A document without name whose root directory "\" has AChildCount children stored in ABody.
QByteArray Document(std::uint32_t AChildCount, const QByteArray& ABody) {
  return Hex("1400") + Record(0, AChildCount, Text("\\"), {}, {}) + ABody;
}

QString Repeat(char16_t AChar, int ACount) { return QString(ACount, QChar(AChar)); }

QString ErrorOf(const std::function<void()>& AAction) {
  try {
    AAction();
  } catch (const Exception& e) {
    return e.Message();
  }
  return {};
}

}  // namespace

TEST(BinaryTreeDoc, EmptyDocumentIsSeventeenBytes) {
  const TBTDOC20 doc;
  EXPECT_EQ(doc.Save().toHex(' '), Hex("14 00 00 00 00 00 00 04 00 00 00 00 00 5C 00 00 00").toHex(' '));
  EXPECT_EQ(doc.DocBufSize(), 17u);
  EXPECT_EQ(doc.Version(), 20);
  EXPECT_EQ(doc.TopNode()->NodeName(), QStringLiteral("\\"));
}

TEST(BinaryTreeDoc, IconListStartIsProducedByteForByte) {
  TBTDOC20 doc;
  TBTNode20_Class* picture = doc.TopNode()->AddChildNode_Class("BinaryObject", {}, "TDrawPicture");
  picture->AddChildNode_WideString("ImageName", {}, "close");
  for (int i = 1; i < 14; ++i) picture->AddChildNode_Int32(QStringLiteral("Filler%1").arg(i));
  doc.TopNode()->AddChildNode_Class("BinaryObject", {}, "TDrawPicture");

  const QByteArray expected = Hex("1400") + Hex("00 02000000 04 00 00000000 5C000000") +
                              Hex("18 0E000000 1A 00 1A000000") + Text("BinaryObject") + Text("TDrawPicture") +
                              Hex("04 00000000 14 00 0C000000") + Text("ImageName") + Text("close");
  const QByteArray saved = doc.Save();
  EXPECT_EQ(saved.left(expected.size()).toHex(' '), expected.toHex(' '));
  EXPECT_EQ(static_cast<std::size_t>(saved.size()), doc.DocBufSize());
}

TEST(BinaryTreeDoc, EveryNodeKindRoundTrips) {
  struct Case {
    const char* kind;
    std::function<void(TBTNode20*)> add;
    QByteArray storedData;
    std::function<bool(TBTNode20*)> check;
  };
  const std::vector<Case> cases = {
      {"Directory", [](TBTNode20* p) { p->AddChildNode_Directory("n"); }, {},
       [](TBTNode20* n) { return n->ConvertNode_Directory() != nullptr; }},
      {"WideString", [](TBTNode20* p) { p->AddChildNode_WideString("n", {}, QStringLiteral("ab中")); },
       Text(QStringLiteral("ab中")), [](TBTNode20* n) { return n->ConvertNode_WideString()->Data() == QStringLiteral("ab中"); }},
      {"WideString empty", [](TBTNode20* p) { p->AddChildNode_WideString("n", {}, QString()); }, {},
       [](TBTNode20* n) { return n->ConvertNode_WideString()->Data().isEmpty(); }},
      {"Int32", [](TBTNode20* p) { p->AddChildNode_Int32("n", {}, -2); }, Hex("FEFFFFFF"),
       [](TBTNode20* n) { return n->ConvertNode_Int32()->Data() == -2; }},
      {"UInt8", [](TBTNode20* p) { p->AddChildNode_UInt8("n", {}, 0xAB); }, Hex("AB"),
       [](TBTNode20* n) { return n->ConvertNode_UInt8()->Data() == 0xAB; }},
      {"UInt32", [](TBTNode20* p) { p->AddChildNode_UInt32("n", {}, 0xF1020304u); }, Hex("040302F1"),
       [](TBTNode20* n) { return n->ConvertNode_UInt32()->Data() == 0xF1020304u; }},
      {"Real64", [](TBTNode20* p) { p->AddChildNode_Real64("n", {}, 1.5); }, Hex("000000000000F83F"),
       [](TBTNode20* n) { return n->ConvertNode_Real64()->Data() == 1.5; }},
      {"DateTime", [](TBTNode20* p) { p->AddChildNode_DateTime("n", {}, -0.25); }, Hex("000000000000D0BF"),
       [](TBTNode20* n) { return n->ConvertNode_DateTime()->Data() == -0.25; }},
      {"Bool32 true", [](TBTNode20* p) { p->AddChildNode_Bool32("n", {}, true); }, Hex("FFFFFFFF"),
       [](TBTNode20* n) { return n->ConvertNode_Bool32()->Data(); }},
      {"Bool32 false", [](TBTNode20* p) { p->AddChildNode_Bool32("n", {}, false); }, Hex("00000000"),
       [](TBTNode20* n) { return !n->ConvertNode_Bool32()->Data(); }},
      {"Binary", [](TBTNode20* p) { p->AddChildNode_Binary("n", {}, Hex("000102FF")); }, Hex("000102FF"),
       [](TBTNode20* n) { return n->ConvertNode_Binary()->DataBuf() == Hex("000102FF"); }},
      {"Class", [](TBTNode20* p) { p->AddChildNode_Class("n", {}, "TX"); }, Text("TX"),
       [](TBTNode20* n) { return n->ConvertNode_Class()->ClassName() == QStringLiteral("TX"); }},
      {"Color", [](TBTNode20* p) { p->AddChildNode_Color("n", {}, 0x80112233u); }, Hex("3322118000"),
       [](TBTNode20* n) { return n->ConvertNode_Color()->Data() == 0x80112233u; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    TBTDOC20 doc;
    c.add(doc.TopNode());
    const QByteArray saved = doc.Save();
    const QByteArray record = saved.mid(17);
    ASSERT_EQ(record.size(), 11 + 4 + c.storedData.size());
    EXPECT_EQ(record.mid(7, 4), U32(static_cast<std::uint32_t>(c.storedData.size())));
    EXPECT_EQ(record.mid(15).toHex(' '), c.storedData.toHex(' '));

    TBTDOC20 loaded;
    loaded.Load(saved);
    ASSERT_EQ(loaded.Nodes().Count(), 1);
    TBTNode20* node = loaded.Nodes().GetItems(0);
    EXPECT_EQ(node->NodeType(), doc.Nodes().GetItems(0)->NodeType());
    EXPECT_TRUE(c.check(node));
    EXPECT_EQ(loaded.Save(), saved);
  }
}

TEST(BinaryTreeDoc, NewNodesHoldEmptyOrZeroDataOfTheirWidth) {
  TBTDOC20 doc;
  TBTNode20* root = doc.TopNode();
  EXPECT_EQ(root->AddChildNode_WideString("a")->DataSize(), 0u);
  EXPECT_EQ(root->AddChildNode_Class("b")->DataSize(), 0u);
  EXPECT_EQ(root->AddChildNode_Binary("c")->DataSize(), 0u);
  EXPECT_EQ(root->AddChildNode_Int32("d")->DataSize(), 4u);
  EXPECT_EQ(root->AddChildNode_UInt8("e")->DataSize(), 1u);
  EXPECT_EQ(root->AddChildNode_Real64("f")->DataSize(), 8u);
  EXPECT_EQ(root->AddChildNode_DateTime("g")->DataSize(), 8u);
  EXPECT_EQ(root->AddChildNode_Bool32("h")->DataSize(), 4u);
  TBTNode20_Color* color = root->AddChildNode_Color("i");
  EXPECT_EQ(color->DataSize(), 5u);
  EXPECT_EQ(color->Data(), claBlack);
  EXPECT_EQ(static_cast<std::size_t>(doc.Save().size()), doc.DocBufSize());
}

// Values written by other writers: any non-zero Bool32 is True, the colour's
// fifth byte is ignored, longer fixed data gives its first bytes.
TEST(BinaryTreeDoc, ReadsForeignDataLeniently) {
  const QByteArray stored = Document(4, Record(21, 0, Text("b"), {}, Hex("01000000")) +
                                            Record(25, 0, Text("c"), {}, Hex("443322117F")) +
                                            Record(7, 0, Text("i"), {}, Hex("0500000099")) +
                                            Record(25, 0, Text("d"), {}, Hex("01020304")));
  TBTDOC20 doc;
  doc.Load(stored);
  EXPECT_TRUE(doc.TopNode()->ReadChildBool32("b"));
  EXPECT_EQ(doc.TopNode()->ReadChildColor("c"), 0x11223344u);
  EXPECT_EQ(doc.TopNode()->ReadChildInt32("i"), 5);
  EXPECT_EQ(doc.TopNode()->ReadChildColor("d"), 0x04030201u);

  const QByteArray resaved = doc.Save();
  EXPECT_TRUE(resaved.contains(Record(21, 0, Text("b"), {}, Hex("FFFFFFFF"))));
  EXPECT_TRUE(resaved.contains(Record(25, 0, Text("c"), {}, Hex("4433221100"))));
  EXPECT_TRUE(resaved.contains(Record(7, 0, Text("i"), {}, Hex("05000000"))));
}

// A text or class field that stores more than its text and terminator
// (padding, a second terminator, a bare terminator for empty text) is saved
// back byte for byte; only a new value drops what followed the text.
TEST(BinaryTreeDoc, TextFieldsLongerThanTheirTextSaveUnchanged) {
  const QByteArray stored =
      Document(4, Record(4, 0, Text("padded"), {}, Text("ab") + Hex("00000000")) +
                      Record(4, 0, Text("bare"), {}, Hex("0000")) +
                      Record(4, 0, Text("odd"), {}, Text("x") + Hex("41")) +
                      Record(24, 0, Text("class"), {}, Text("TDrawPicture") + Hex("0000")));
  TBTDOC20 doc;
  doc.Load(stored);
  EXPECT_EQ(doc.TopNode()->ReadChildWideString("padded"), QStringLiteral("ab"));
  EXPECT_EQ(doc.TopNode()->ReadChildWideString("bare"), QString());
  EXPECT_EQ(doc.TopNode()->FindChildClassNode("class")->ClassName(), QStringLiteral("TDrawPicture"));
  EXPECT_EQ(doc.DocBufSize(), static_cast<std::size_t>(stored.size()));
  EXPECT_EQ(doc.Save(), stored);

  auto* padded = doc.TopNode()->FindChildNodeByName("padded")->ConvertNode_WideString();
  padded->SetData(QStringLiteral("ab"));
  EXPECT_EQ(padded->DataSize(), 6u) << "a value set anew is stored in its own size";
  TBTDOC20 copy;
  copy.Assign(doc);
  EXPECT_EQ(copy.TopNode()->ReadChildWideString("padded"), QStringLiteral("ab"));
}

TEST(BinaryTreeDoc, ReaderCutsTextsAndNamesUnnamedNodes) {
  const QString hundred = Repeat(u'x', 100);
  const QByteArray stored = Hex("14") + QByteArray(1, static_cast<char>(Text(hundred).size())) + Text(hundred) +
                            Record(0, 4, Text("\\"), {}, {}) + Record(7, 0, Text(hundred), Text(hundred), U32(1)) +
                            Record(7, 0, {}, {}, U32(2)) + Record(7, 0, Text("   "), {}, U32(3)) +
                            Record(4, 0, Text(hundred), {}, Text(hundred));
  TBTDOC20 doc;
  doc.Load(stored);
  EXPECT_EQ(doc.Name(), Repeat(u'x', 80));
  const TBTNode20* cut = doc.Nodes().GetItems(0);
  EXPECT_EQ(cut->NodeName(), Repeat(u'x', 80));
  EXPECT_EQ(cut->NodeCaption(), Repeat(u'x', 80));
  EXPECT_EQ(doc.Nodes().GetItems(1)->NodeName(), QStringLiteral("NONAME"));
  EXPECT_EQ(doc.Nodes().GetItems(2)->NodeName(), QStringLiteral("NONAME"));
  // Only names and captions are cut; a text value with the same bytes keeps all of it.
  const TBTNode20* text = doc.Nodes().GetItems(3);
  EXPECT_EQ(text->NodeName(), Repeat(u'x', 80));
  EXPECT_EQ(text->ConvertNode_WideString()->Data(), hundred);
}

TEST(BinaryTreeDoc, SettersCutButTheConstructorKeepsLongNames) {
  TBTDOC20 doc;
  doc.SetName(Repeat(u'd', 100));
  EXPECT_EQ(doc.Name().size(), 80);

  TBTNode20* node = doc.TopNode()->AddChildNode_Directory(Repeat(u'n', 200), Repeat(u'c', 200));
  EXPECT_EQ(node->NodeName().size(), 200);
  // One size byte holds at most 126 characters; the writer cuts there instead of wrapping the size.
  const QByteArray saved = doc.Save();
  EXPECT_EQ(static_cast<std::size_t>(saved.size()), doc.DocBufSize());
  EXPECT_EQ(static_cast<std::uint8_t>(saved[2 + 162 + 15 + 5]), 254);
  TBTDOC20 loaded;
  loaded.Load(saved);
  EXPECT_EQ(loaded.Nodes().GetItems(0)->NodeName(), Repeat(u'n', 80));

  node->SetNodeName(Repeat(u'm', 100));
  node->SetNodeCaption(Repeat(u'k', 100));
  EXPECT_EQ(node->NodeName(), Repeat(u'm', 80));
  EXPECT_EQ(node->NodeCaption(), Repeat(u'k', 80));
}

TEST(BinaryTreeDoc, DamagedDocumentsRaiseAndKeepTheEarlierTree) {
  const QByteArray intNode = Record(7, 0, Text("i"), {}, U32(7));
  struct Case {
    const char* what;
    QByteArray bytes;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"empty", {}, "无效文档"},
      {"one byte", Hex("14"), "无效文档"},
      {"wrong version", Hex("15000000000000000000000000"), "无效版本号"},
      {"no root record", Hex("1400"), "无效文档"},
      {"document name past the end", Hex("1408") + Text("ab"), "无效文档"},
      {"document name without terminator", Hex("1404 6100 6200") + Record(0, 0, Text("\\"), {}, {}), "无效文档"},
      {"root of unknown type", Hex("1400") + Record(3, 0, Text("\\"), {}, {}), "无效节点"},
      {"truncated record header", Document(1, Hex("07 00000000 04")), "无效文档"},
      {"node name without terminator", Document(1, Record(7, 0, Hex("61006200"), {}, U32(1))), "无效文档"},
      {"odd name size without terminator", Document(1, Record(7, 0, Hex("610000"), {}, U32(1))), "无效文档"},
      {"caption without terminator", Document(1, Record(7, 0, Text("i"), Hex("6100"), U32(1))), "无效文档"},
      {"data past the end", Document(1, Record(23, 0, Text("b"), {}, Hex("0102")).chopped(1)), "无效文档"},
      {"huge data size", Document(1, Hex("17 00000000 00 00 FFFFFFFF 0102")), "无效文档"},
      {"text without terminator", Document(1, Record(4, 0, Text("s"), {}, Hex("61006200"))), "无效文档"},
      {"class name without terminator", Document(1, Record(24, 0, Text("c"), {}, Hex("5400"))), "无效文档"},
      {"Int32 too short", Document(1, Record(7, 0, Text("i"), {}, Hex("0102"))), "无效文档"},
      {"Real64 too short", Document(1, Record(14, 0, Text("r"), {}, Hex("01020304"))), "无效文档"},
      {"UInt8 without data", Document(1, Record(9, 0, Text("u"), {}, {})), "无效文档"},
      {"Color too short", Document(1, Record(25, 0, Text("c"), {}, Hex("010203"))), "无效文档"},
      {"fewer children than counted", Document(3, intNode + intNode), "无效文档"},
      {"huge child count", Document(0xFFFFFFFFu, intNode), "无效文档"},
      {"bad type after valid nodes",
       Document(2, Record(0, 2, Text("d"), {}, {}) + intNode + intNode + Record(99, 0, Text("x"), {}, {})), "无效节点"},
  };

  TBTDOC20 doc;
  doc.SetName("earlier");
  doc.TopNode()->AddChildNode_Directory("keep")->AddChildNode_WideString("s", "caption", "text");
  const QByteArray before = doc.Save();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ErrorOf([&] { doc.Load(c.bytes); }), QString::fromUtf8(c.message));
    EXPECT_EQ(doc.Save(), before);
    EXPECT_EQ(doc.FindNodeByPath("keep\\s")->ConvertNode_WideString()->Data(), QStringLiteral("text"));
  }
}

TEST(BinaryTreeDoc, DeeplyNestedDocumentsLoadSaveAndFreeWithoutRecursion) {
  constexpr int depth = 200000;
  const QByteArray level = Record(0, 1, Text("a"), {}, {});
  QByteArray stored = Hex("1400");
  stored.reserve(2 + level.size() * (depth + 1));
  for (int i = 0; i < depth; ++i) stored += level;
  stored += Record(7, 0, Text("leaf"), {}, U32(42));
  {
    TBTDOC20 doc;
    doc.Load(stored);
    EXPECT_EQ(doc.DocBufSize(), static_cast<std::size_t>(stored.size()));
    EXPECT_EQ(doc.Save(), stored);
    const TBTNode20* leaf = doc.FindNodeByName("leaf", true);
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->ConvertNode_Int32()->Data(), 42);
  }
  TBTDOC20 doc;
  doc.Load(stored);
  doc.Load(Document(0, {}));
  EXPECT_EQ(doc.Nodes().Count(), 0);
}

TEST(BinaryTreeDoc, FindByNameSearchesLastToFirst) {
  TBTDOC20 doc;
  TBTNode20* root = doc.TopNode();
  TBTNode20* first = root->AddChildNode_Directory("x");
  TBTNode20* nestedInFirst = first->AddChildNode_Int32("deep");
  TBTNode20* second = root->AddChildNode_Directory("y");
  TBTNode20* nestedInSecond = second->AddChildNode_Directory("z")->AddChildNode_Int32("deep");
  TBTNode20* lastX = root->AddChildNode_Directory("x");

  EXPECT_EQ(doc.FindNodeByName("x"), lastX);
  EXPECT_EQ(doc.FindNodeByName("deep"), nullptr);
  EXPECT_EQ(doc.FindNodeByName("deep", true), nestedInSecond);
  EXPECT_EQ(doc.FindNodeByName("missing", true), nullptr);
  EXPECT_EQ(root->FindChildNodeByName("x"), first);
  EXPECT_EQ(root->ChildNodes().FindNodeByName("x"), lastX);

  second->ChildNodes().Delete(0);
  EXPECT_EQ(doc.FindNodeByName("deep", true), nestedInFirst);
}

TEST(BinaryTreeDoc, FindByLeftPartNameIsCaseSensitiveAndLastFirst) {
  TBTDOC20 doc;
  TBTNode20* root = doc.TopNode();
  root->AddChildNode_Int32("GraphicData.Png");
  TBTNode20* gif = root->AddChildNode_Int32("GIFFileData.Png");
  TBTNode20* later = root->AddChildNode_Int32("GraphicData.Jpg");
  EXPECT_EQ(root->ChildNodes().FindNodeByLeftPartName("GraphicData"), later);
  EXPECT_EQ(root->ChildNodes().FindNodeByLeftPartName("GIF"), gif);
  EXPECT_EQ(root->ChildNodes().FindNodeByLeftPartName("graphic"), nullptr);
}

TEST(BinaryTreeDoc, FindByPathTriesEveryMatchingHead) {
  TBTDOC20 doc;
  TBTNode20* root = doc.TopNode();
  TBTNode20* a1 = root->AddChildNode_Directory("a");
  a1->AddChildNode_Directory("other");
  TBTNode20* target = root->AddChildNode_Directory("a")->AddChildNode_Directory("b")->AddChildNode_Int32("c");

  struct Case {
    const char* path;
    TBTNode20* expected;
  };
  const std::vector<Case> cases = {
      {"a", a1},
      {"a\\b\\c", target},
      {"  \\\\a\\b\\c\\\\  ", target},
      {"a\\\\b\\c", target},
      {"a\\other", a1->ChildNodes().GetItems(0)},
      {"a\\missing", nullptr},
      {"", nullptr},
      {"\\\\", nullptr},
      {"A", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(doc.FindNodeByPath(QString::fromUtf8(c.path)), c.expected);
  }
}

TEST(BinaryTreeDoc, ReadChildValuesFallBackToDefaults) {
  TBTDOC20 doc;
  TBTNode20* root = doc.TopNode();
  root->AddChildNode_Int32("n", {}, 5);
  root->AddChildNode_Real64("r", {}, 2.5);
  EXPECT_EQ(root->ReadChildInt32("n", 9), 5);
  EXPECT_EQ(root->ReadChildInt32("missing", 9), 9);
  EXPECT_EQ(root->ReadChildReal64("n", 1.0), 1.0);
  EXPECT_EQ(root->ReadChildWideString("r", "d"), QStringLiteral("d"));
  EXPECT_EQ(root->ReadChildColor("missing"), claBlack);
  EXPECT_EQ(root->FindChildClassNode("n"), nullptr);
  EXPECT_EQ(root->ConvertNode_Int32(), nullptr);
  EXPECT_NE(root->ConvertNode_Directory(), nullptr);
}

TEST(BinaryTreeDoc, MisuseRaisesTheDefinedMessages) {
  TBTDOC20 doc;
  TBTNode20* root = doc.TopNode();
  EXPECT_EQ(ErrorOf([&] { root->AddChildNode_Int32(""); }), QStringLiteral("节点名称不能为空"));
  EXPECT_EQ(ErrorOf([&] { root->AddChildNode_Int32(" \t "); }), QStringLiteral("节点名称不能为空"));
  EXPECT_EQ(ErrorOf([&] { root->AddChildNode(5, "x"); }), QStringLiteral("无效节点"));
  EXPECT_EQ(ErrorOf([&] { doc.CreateNode(26, nullptr, {}, "x"); }), QStringLiteral("无效节点"));
  EXPECT_EQ(ErrorOf([] { TBTNodeList20 list(nullptr); }), QStringLiteral("AOwnerNode can not nil"));
  EXPECT_EQ(ErrorOf([&] { root->ChildNodes().GetItems(0); }), QStringLiteral("List index out of bounds (0)"));
  EXPECT_EQ(root->ChildNodes().Count(), 0);
}

TEST(BinaryTreeDoc, NodesMoveBetweenParentsAndListsKeepOwnership) {
  TBTDOC20 doc;
  TBTNode20* a = doc.CreateNode(TBTNode20_Directory::TypeCode, nullptr, "caption", "a");
  TBTNode20* b = doc.CreateNode(TBTNode20_Directory::TypeCode, nullptr, {}, "b");
  TBTNode20* child = a->AddChildNode_Int32("c", {}, 1);
  b->AddChildNode_Int32("existing");

  EXPECT_FALSE(ErrorOf([&] { a->SetParentNode(child); }).isEmpty());
  EXPECT_FALSE(ErrorOf([&] { a->SetParentNode(a); }).isEmpty());
  EXPECT_EQ(a->ParentNode(), doc.TopNode());
  child->SetParentNode(b);
  EXPECT_EQ(child->ParentNode(), b);
  EXPECT_EQ(a->ChildNodes().Count(), 0);
  EXPECT_EQ(b->ChildNodes().IndexOf(child), 1);

  std::unique_ptr<TBTNode20> taken = b->ChildNodes().Remove(child);
  ASSERT_EQ(taken.get(), child);
  EXPECT_EQ(child->ParentNode(), nullptr);
  EXPECT_EQ(b->ChildNodes().Remove(child), nullptr);
  a->ChildNodes().Insert(0, std::move(taken));
  EXPECT_EQ(child->ParentNode(), a);
  // Handing a list a node it already holds leaves ownership with the list, whatever the index.
  EXPECT_EQ(a->ChildNodes().Add(std::unique_ptr<TBTNode20>(child)), 0);
  a->ChildNodes().Insert(5, std::unique_ptr<TBTNode20>(child));
  EXPECT_FALSE(ErrorOf([&] { a->ChildNodes().SetItems(3, std::unique_ptr<TBTNode20>(child)); }).isEmpty());
  EXPECT_EQ(a->ChildNodes().Count(), 1);
  std::unique_ptr<TBTNode20> replaced =
      a->ChildNodes().SetItems(0, std::make_unique<TBTNode20_UInt8>(QString(), QStringLiteral("c")));
  EXPECT_EQ(replaced.get(), child);
  EXPECT_EQ(child->ParentNode(), nullptr);
  a->ChildNodes().SetItems(0, std::move(replaced));
  EXPECT_EQ(child->ParentNode(), a);

  // A detached subtree can not be hung below one of its own nodes.
  TBTNode20* loose = doc.TopNode()->AddChildNode_Directory("loose");
  TBTNode20* inner = loose->AddChildNode_Directory("inner");
  std::unique_ptr<TBTNode20> looseOwned = doc.Nodes().Remove(loose);
  EXPECT_FALSE(ErrorOf([&] { inner->ChildNodes().Add(std::move(looseOwned)); }).isEmpty());
  EXPECT_EQ(doc.Nodes().Count(), 2);

  doc.Nodes().Move(0, 1);
  EXPECT_EQ(doc.Nodes().GetItems(0), b);
  EXPECT_EQ(doc.FindNodeByPath("a\\c"), child);

  TBTDOC20 copy;
  copy.Assign(doc);
  EXPECT_EQ(copy.Save(), doc.Save());
  doc.Clear();
  EXPECT_EQ(doc.DocBufSize(), 17u);
  EXPECT_EQ(copy.FindNodeByPath("a\\c")->NodeCaption(), QString());
  EXPECT_EQ(copy.FindNodeByPath("a")->NodeCaption(), QStringLiteral("caption"));
}

TEST(BinaryTreeDoc, StreamsAndFilesHoldExactlyTheDocument) {
  TBTDOC20 doc;
  doc.SetName(QStringLiteral("图片"));
  doc.TopNode()->AddChildNode_Binary("data", {}, QByteArray(1000, 'z'));

  QByteArray memory(5000, 'q');
  QBuffer buffer(&memory);
  ASSERT_TRUE(buffer.open(QIODevice::ReadWrite));
  doc.SaveToStream(buffer);
  EXPECT_EQ(memory, doc.Save());
  TBTDOC20 fromStream;
  fromStream.LoadFromStream(buffer);
  EXPECT_EQ(fromStream.Name(), QStringLiteral("图片"));
  EXPECT_EQ(fromStream.TopNode()->ReadChildBinary("data"), QByteArray(1000, 'z'));

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("doc.bin");
  doc.SaveToFile(path);
  TBTDOC20 fromFile;
  fromFile.LoadFromFile(path);
  EXPECT_EQ(fromFile.Save(), doc.Save());
  EXPECT_FALSE(ErrorOf([&] { fromFile.LoadFromFile(dir.filePath("missing")); }).isEmpty());

  const QString blob = dir.filePath("blob.bin");
  fromFile.TopNode()->ReadChildBinary("data");
  fromFile.Nodes().GetItems(0)->ConvertNode_Binary()->SaveToFile(blob);
  auto* target = fromFile.TopNode()->AddChildNode_Binary("copy");
  target->LoadFromFile(blob);
  EXPECT_EQ(target->DataBuf(), QByteArray(1000, 'z'));
  EXPECT_EQ(target->DataSize(), 1000u);
}

TEST(BinaryTreeDoc, BinaryObjectAnswersTrue) {
  TBinaryObject object;
  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class("BinaryObject");
  ISupportClassDocNode* intf = nullptr;
  ASSERT_TRUE(Supports(&object, intf));
  EXPECT_TRUE(intf->SaveToDocNode(node));
  EXPECT_TRUE(intf->LoadFromDocNode(node));
}
