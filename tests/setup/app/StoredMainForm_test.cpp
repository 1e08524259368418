// The setup window's stored form as the build makes it: every component of
// the window under its parent with its class and place, the animations
// exactly as the window's table lists them, handlers the form class has, and
// the pictures the form carries (the two image lists' picture lists and the
// progress bar's foreground) decoding to pictures of the right names and
// sizes in the right order.

#include "setup/app/window/MainForm.h"
#include "setup/app/window/WindowAnimations.h"
#include "skin/base/uBinaryTreeDoc.h"
#include "skin/host/FormText.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QMetaMethod>

#include <map>
#include <optional>

namespace {

using ostrel::host::FormObject;
using ostrel::host::FormProperty;
using ostrel::host::FormValue;

QString BuiltForm() {
  QFile file(QStringLiteral(OSTREL_MAIN_FORM));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

struct Found {
  const FormObject* Object;
  QString Parent;
  int Depth;
};

void Index(const FormObject& AObject, const QString& AParent, int ADepth, std::map<QString, Found>& AOut) {
  AOut[AObject.Name] = Found{&AObject, AParent, ADepth};
  for (const FormObject& child : AObject.Children) Index(child, AObject.Name, ADepth + 1, AOut);
}

const FormValue* Value(const FormObject& AObject, const QString& APath) {
  for (const FormProperty& p : AObject.Properties) {
    if (p.Path == APath) return &p.Value;
  }
  return nullptr;
}

std::optional<double> Number(const FormObject& AObject, const QString& APath) {
  const FormValue* v = Value(AObject, APath);
  if (v == nullptr) return std::nullopt;
  return v->Type == FormValue::Kind::Float ? v->Float : static_cast<double>(v->Integer);
}

class StoredMainForm : public ::testing::Test {
 protected:
  void SetUp() override {
    Text = BuiltForm();
    ASSERT_FALSE(Text.isEmpty());
    Root = ostrel::host::ParseForm(Text);
    Index(Root, QString(), 0, Objects);
  }

  const FormObject& Object(const char* AName) {
    const auto it = Objects.find(QString::fromLatin1(AName));
    if (it == Objects.end()) throw std::runtime_error(std::string("no ") + AName);
    return *it->second.Object;
  }

  QString Text;
  FormObject Root;
  std::map<QString, Found> Objects;
};

TEST_F(StoredMainForm, HoldsTheWindowsComponentsUnderTheirParentsAtTheirPlaces) {
  EXPECT_EQ(Root.ClassName, QStringLiteral("TMainForm"));
  EXPECT_EQ(Number(Root, QStringLiteral("ClientWidth")), 656);
  EXPECT_EQ(Number(Root, QStringLiteral("ClientHeight")), 376);
  struct Row {
    const char* Name;
    const char* Class;
    const char* Parent;
    double X, Y, W, H;  // W < 0: not stored (a non-visual component)
  };
  const Row rows[] = {
      {"StyleBook", "TStyleBook", "MainForm", 0, 0, -1, -1},
      {"UIImageList", "TSkinImageList", "MainForm", 0, 0, -1, -1},
      {"IconImageList", "TSkinImageList", "MainForm", 0, 0, -1, -1},
      {"BgImage", "TSkinFMXImage", "MainForm", 8, 8, 640, 360},
      {"BrandImage", "TSkinFMXImage", "BgImage", 170, 223, 300, 78},
      {"CloseBtn", "TSkinFMXButton", "BgImage", 599, 8, 33, 33},
      {"IconImage", "TSkinFMXImage", "BgImage", 270, 100, 100, 158},
      {"Icon2Image", "TSkinFMXImage", "IconImage", 0, 0, 100, 158},
      {"GlowEffect", "TGlowEffect", "BgImage", 0, 0, -1, -1},
      {"MainPanel", "TSkinFMXPanel", "BgImage", 0, 368, 640, 65},
      {"InstallToLabel", "TSkinFMXLabel", "MainPanel", 28, 16, 69, 33},
      {"DriveComboBox", "TSkinFMXComboBox", "MainPanel", 105, 18, 464, 30},
      {"BrowseBtn", "TSkinFMXButton", "MainPanel", 577, 16, 34, 34},
      {"ControlPanel", "TSkinFMXPanel", "BgImage", 0, 20, 640, 360},
      {"CustomInstallLabel", "TSkinFMXLabel", "ControlPanel", 465, 254, 144, 33},
      {"CustomInstallSwitch", "TSkinFMXSwitchBar", "ControlPanel", 407, 258, 50, 25},
      {"InstallButton", "TSkinFMXButton", "ControlPanel", 120, 233, 160, 50},
      {"IntroLabel", "TSkinFMXLabel", "ControlPanel", 28, 167, 345, 41},
      {"ProgressBar", "TSkinFMXProgressBar", "BgImage", 1, 355, 638, 4},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Name);
    const auto it = Objects.find(QString::fromLatin1(r.Name));
    ASSERT_NE(it, Objects.end());
    const FormObject& o = *it->second.Object;
    EXPECT_EQ(o.ClassName, QLatin1String(r.Class));
    EXPECT_EQ(it->second.Parent, QLatin1String(r.Parent));
    if (r.W < 0) continue;
    EXPECT_EQ(Number(o, QStringLiteral("Position.X")).value_or(0), r.X);
    EXPECT_EQ(Number(o, QStringLiteral("Position.Y")).value_or(0), r.Y);
    EXPECT_EQ(Number(o, QStringLiteral("Width")), r.W);
    EXPECT_EQ(Number(o, QStringLiteral("Height")), r.H);
  }
  // Paint order: later siblings lie above earlier ones.
  QStringList order;
  for (const FormObject& child : Object("BgImage").Children) order << child.Name;
  EXPECT_LT(order.indexOf(QStringLiteral("IconImage")), order.indexOf(QStringLiteral("ControlPanel")));
  EXPECT_LT(order.indexOf(QStringLiteral("MainPanel")), order.indexOf(QStringLiteral("ProgressBar")));
}

TEST_F(StoredMainForm, StoresEveryAnimationExactlyAsTheWindowsTableListsIt) {
  for (const ostrel::app::WindowAnimation& a : ostrel::app::kWindowAnimations) {
    const QString name = QString::fromLatin1(a.Name.data(), static_cast<qsizetype>(a.Name.size()));
    SCOPED_TRACE(name.toStdString());
    if (a.MadeAtStartup) {
      EXPECT_EQ(Objects.count(name), 0u);
      continue;
    }
    const auto it = Objects.find(name);
    ASSERT_NE(it, Objects.end());
    EXPECT_EQ(it->second.Parent, QString::fromLatin1(a.Parent.data(), static_cast<qsizetype>(a.Parent.size())));
    EXPECT_TRUE(Text.contains(ostrel::app::AnimationObjectText(a, it->second.Depth)));
  }
}

TEST_F(StoredMainForm, NamesOnlyHandlersTheFormClassHas) {
  QStringList named;
  for (const auto& [name, found] : Objects) {
    for (const FormProperty& p : found.Object->Properties) {
      if (p.Path.startsWith(QStringLiteral("On")) && p.Value.Type == FormValue::Kind::Identifier) named << p.Value.Text;
    }
  }
  EXPECT_GE(named.size(), 10);
  const QMetaObject& meta = TMainForm::staticMetaObject;
  for (const QString& handler : named) {
    bool found = false;
    for (int i = 0; i < meta.methodCount() && !found; ++i) found = meta.method(i).name() == handler.toLatin1();
    EXPECT_TRUE(found) << handler.toStdString();
  }
}

struct ListedPicture {
  const char* Name;
  QSize Size;
};

// The pictures a stored picture list holds, by their own names, in order.
std::vector<std::pair<QString, QSize>> Pictures(const QByteArray& AList) {
  TBTDOC20 document;
  document.Load(AList);
  std::vector<std::pair<QString, QSize>> out;
  for (TBTNode20* node : document.Nodes()) {
    QString name;
    QSize size;
    for (TBTNode20* child : node->ChildNodes()) {
      if (child->NodeName() == u"ImageName" && name.isEmpty()) name = child->ConvertNode_WideString()->Data();
      if (child->NodeName() == u"GraphicData.Png") {
        size = QImage::fromData(child->ConvertNode_Binary()->DataBuf(), "PNG").size();
      }
    }
    out.emplace_back(name, size);
  }
  return out;
}

TEST_F(StoredMainForm, CarriesTheImageListsPicturesAndTheProgressForeground) {
  using List = std::vector<std::pair<QString, QSize>>;
  const FormValue* ui = Value(Object("UIImageList"), QStringLiteral("PictureList.Data"));
  const FormValue* icons = Value(Object("IconImageList"), QStringLiteral("PictureList.Data"));
  ASSERT_NE(ui, nullptr);
  ASSERT_NE(icons, nullptr);
  EXPECT_EQ(Pictures(ui->Bytes), (List{{"switchon1", {37, 37}},
                                      {"switchon2", {37, 37}},
                                      {"switchon3", {37, 37}},
                                      {"progress1", {100, 5}},
                                      {"progress2", {100, 5}},
                                      {"combodropdown", {50, 50}}}));
  EXPECT_EQ(Pictures(icons->Bytes), (List{{"close", {24, 24}}, {"files", {24, 24}}}));
  const FormValue* fore = Value(Object("ProgressBar"), QStringLiteral("SelfOwnMaterial.HorzForeGndPicture.PNG"));
  ASSERT_NE(fore, nullptr);
  EXPECT_EQ(QImage::fromData(fore->Bytes, "PNG").size(), QSize(256, 4));
}

}  // namespace
