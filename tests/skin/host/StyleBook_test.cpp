// The style book: style text read from a form or a program resource, styles
// found by name, malformed text refused without losing the styles held, and
// the three platform styles the setup carries.

#include "skin/host/Form.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/HostClasses.h"
#include "skin/host/Resources.h"
#include "skin/host/StyleBook.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

const QStringList kStyleText = {
    "object Styles: TStyleContainer",
    "  object comboboxstyle: TStyle",
    "    Fill.Color = xFF2F2F2F",
    "    Font.Size = 14",
    "    Font.Size = 12",
    "  end",
    "  object hintstyle: TStyle",
    "    Font.Family = 'Segoe UI'",
    "  end",
    "end",
};

TEST(StyleBook, FindsStylesAndTheirSettingsByName) {
  TStyleBook book;
  book.SetResource(kStyleText);
  EXPECT_EQ(book.StyleNames(), (QStringList{"comboboxstyle", "hintstyle"}));
  ASSERT_NE(book.FindStyle(QStringLiteral("ComboBoxStyle")), nullptr);
  EXPECT_EQ(book.FindStyle(QStringLiteral("buttonstyle")), nullptr);
  const ostrel::host::FormValue* fill = book.StyleValue(QStringLiteral("comboboxstyle"), QStringLiteral("fill.color"));
  ASSERT_NE(fill, nullptr);
  EXPECT_EQ(fill->Color, 0xFF2F2F2Fu);
  EXPECT_EQ(book.StyleValue(QStringLiteral("comboboxstyle"), QStringLiteral("Font.Size"))->Integer, 12)
      << "the last line wins";
  EXPECT_EQ(book.StyleValue(QStringLiteral("hintstyle"), QStringLiteral("Font.Size")), nullptr);
}

TEST(StyleBook, MalformedTextIsRefusedWithItsPlaceAndTheStylesStay) {
  TStyleBook book;
  book.SetResource(kStyleText);
  QStringList broken = kStyleText;
  broken[2] = QStringLiteral("    Fill.Color = ");
  try {
    book.SetResource(broken);
    FAIL() << "accepted";
  } catch (const ostrel::host::EFormError& e) {
    // Where the missing value's place is noticed: the end of its line or the next one.
    EXPECT_GE(e.Line(), 3);
    EXPECT_LE(e.Line(), 4);
  }
  EXPECT_EQ(book.Resource(), kStyleText);
  EXPECT_EQ(book.StyleNames().size(), 2);
}

TEST(StyleBook, AFormHoldsItsBookAndStoresItBack) {
  QApplication& app = host_test::App();
  (void)app;
  ostrel::host::RegisterHostClasses();
  QString text = QStringLiteral(
      "object MainForm: TForm\n"
      "  StyleBook = StyleBook\n"
      "  object StyleBook: TStyleBook\n"
      "    UseStyleManager = True\n"
      "    Resource = (\n");
  for (const QString& line : kStyleText) {
    text += QStringLiteral("      ") + ostrel::host::FormatFormString(line, QStringLiteral("      ")) + u'\n';
  }
  text += QStringLiteral("    )\n  end\nend\n");
  TForm form;
  ostrel::host::ReadComponentInto(form, text);
  auto* book = dynamic_cast<TStyleBook*>(form.StyleBook());
  ASSERT_NE(book, nullptr);
  EXPECT_TRUE(book->UseStyleManager());
  EXPECT_EQ(book->StyleNames(), (QStringList{"comboboxstyle", "hintstyle"}));

  TForm again;
  ostrel::host::ReadComponentInto(again, ostrel::host::WriteComponent(form));
  EXPECT_EQ(dynamic_cast<TStyleBook*>(again.StyleBook())->Resource(), kStyleText);
}

TEST(StyleBook, LoadsAProgramResource) {
  ostrel::host::MemoryResourceLookup resources;
  resources.Add(QStringLiteral("WIN10STYLE"), kStyleText.join(u'\n').toUtf8());
  const ostrel::host::ScopedResourceLookup scope(resources);
  TStyleBook book;
  EXPECT_FALSE(book.LoadFromResource(QStringLiteral("WIN7STYLE")));
  EXPECT_TRUE(book.StyleNames().isEmpty());
  EXPECT_TRUE(book.LoadFromResource(QStringLiteral("win10style")));
  EXPECT_EQ(book.StyleNames(), (QStringList{"comboboxstyle", "hintstyle"}));
}

TEST(PlatformStyles, EachWindowsVersionHasItsOwnAndAllNameTheSameStyles) {
  struct Case {
    int major, minor;
    const char* resource;
  };
  for (const Case c : {Case{10, 0, "WIN10STYLE"}, Case{6, 3, "WIN8STYLE"}, Case{6, 2, "WIN8STYLE"},
                       Case{6, 1, "WIN7STYLE"}, Case{6, 0, "WIN7STYLE"}, Case{0, 0, "WIN10STYLE"}}) {
    EXPECT_EQ(ostrel::host::PlatformStyleResource(c.major, c.minor), QLatin1String(c.resource))
        << c.major << "." << c.minor;
  }
  QStringList names;
  for (const char* file : {"win10", "win8", "win7"}) {
    SCOPED_TRACE(file);
    QFile source(QStringLiteral(OSTREL_SOURCE_DIR "/resources/styles/%1.style").arg(QLatin1String(file)));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    TStyleBook book;
    book.SetResource(QString::fromUtf8(source.readAll()).split(u'\n'));
    if (names.isEmpty()) names = book.StyleNames();
    EXPECT_EQ(book.StyleNames(), names);
    for (const QString& style : names) {
      EXPECT_TRUE(book.StyleValue(style, QStringLiteral("Stroke.Color")) != nullptr ||
                  book.StyleValue(style, QStringLiteral("FontColor")) != nullptr)
          << style.toStdString();
    }
  }
  EXPECT_EQ(names, (QStringList{"comboboxstyle", "listboxstyle", "listboxitemstyle", "hintstyle"}));
}

}  // namespace
