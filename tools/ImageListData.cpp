// ostrel-image-list: makes the stored data of image lists from a folder of
// pictures, so a stored form can hold its lists' pictures without anyone
// writing their bytes by hand.
//
//   ostrel-image-list --pictures DIR --form TEMPLATE --output FORM
//   ostrel-image-list --pictures DIR --output FILE NAME...
//
// The first form copies TEMPLATE to FORM, replacing each `@pictures(NAME ...)`
// with the data of an image list holding DIR/NAME.png for each NAME, in the
// order given, each found under the image-list name NAME: a display-scale
// variant is listed by its own name (`close@2x`), which is the name the list
// looks it up under. The data is written as the form's binary value, its
// lines indented one step below the line the directive is on. The second form
// writes the data alone (the bytes of one binary tree document) to FILE.
//
// A picture that is missing or does not decode fails the run and nothing is
// written, so a form is never built with an empty item.

#include "skin/base/uBaseLog.h"
#include "skin/base/uSkinImageList.h"
#include "skin/host/FormText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

constexpr std::string_view kUsage =
    "usage: ostrel-image-list --pictures DIR --form TEMPLATE --output FORM\n"
    "       ostrel-image-list --pictures DIR --output FILE NAME...\n";

struct Options {
  QString picturesDir;
  QString form;
  QString output;
  QStringList names;
};

Options ParseArguments(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const auto value = [&]() -> QString {
      if (i + 1 >= argc) throw UsageError(std::string(arg) + " needs a value");
      return QString::fromLocal8Bit(argv[++i]);
    };
    if (arg == "--pictures") {
      options.picturesDir = value();
    } else if (arg == "--form") {
      options.form = value();
    } else if (arg == "--output") {
      options.output = value();
    } else if (arg.starts_with("--")) {
      throw UsageError("unknown option " + std::string(arg));
    } else {
      options.names.append(QString::fromLocal8Bit(argv[i]));
    }
  }
  if (options.picturesDir.isEmpty() || options.output.isEmpty()) throw UsageError("--pictures and --output are needed");
  if (options.form.isEmpty() == options.names.isEmpty()) throw UsageError("give either --form or picture names");
  return options;
}

// A picture name is a file name in the pictures folder, nothing more.
void CheckName(const QString& AName) {
  if (AName.isEmpty() || AName == u"." || AName == u".." || AName.contains(u'/') || AName.contains(u'\\')) {
    throw std::runtime_error("\"" + AName.toStdString() + "\" is no picture name");
  }
}

QByteArray ListData(const QString& APicturesDir, const QStringList& ANames) {
  std::vector<ostrel::skin::NamedPictureFile> pictures;
  for (const QString& name : ANames) {
    CheckName(name);
    pictures.push_back({name, QDir(APicturesDir).filePath(name + QStringLiteral(".png"))});
  }
  return ostrel::skin::BuildImageListData(pictures);
}

QString FillForm(const QString& ATemplate, const QString& APicturesDir) {
  static const QRegularExpression directive(QStringLiteral("@pictures\\(([^)]*)\\)"));
  static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
  QString out;
  qsizetype done = 0;
  for (const QRegularExpressionMatch& match : directive.globalMatch(ATemplate)) {
    const QStringList names = match.captured(1).split(separators, Qt::SkipEmptyParts);
    if (names.isEmpty()) throw std::runtime_error("@pictures() names no picture");
    const qsizetype lineStart = ATemplate.lastIndexOf(u'\n', match.capturedStart()) + 1;
    qsizetype indentEnd = lineStart;
    while (indentEnd < match.capturedStart() && ATemplate[indentEnd].isSpace()) ++indentEnd;
    const QString indent = ATemplate.mid(lineStart, indentEnd - lineStart) + QStringLiteral("  ");
    out += ATemplate.mid(done, match.capturedStart() - done);
    out += ostrel::host::FormatFormBinary(ListData(APicturesDir, names), indent);
    done = match.capturedEnd();
  }
  if (done == 0) throw std::runtime_error("the template holds no @pictures(...)");
  out += ATemplate.mid(done);
  return out;
}

QByteArray ReadFile(const QString& APath) {
  QFile file(APath);
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + APath.toStdString());
  return file.readAll();
}

void WriteFile(const QString& APath, const QByteArray& ABytes) {
  QSaveFile file(APath);
  if (!file.open(QIODevice::WriteOnly) || file.write(ABytes) != ABytes.size() || !file.commit()) {
    throw std::runtime_error("cannot write " + APath.toStdString());
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The library logs a picture it cannot decode; the error below says it once.
  TBaseLog::Instance().SetWriteToDebugger(false);
  try {
    const Options options = ParseArguments(argc, argv);
    if (options.form.isEmpty()) {
      WriteFile(options.output, ListData(options.picturesDir, options.names));
    } else {
      const QString text = QString::fromUtf8(ReadFile(options.form));
      WriteFile(options.output, FillForm(text, options.picturesDir).toUtf8());
    }
    return 0;
  } catch (const UsageError& e) {
    std::cerr << "ostrel-image-list: " << e.what() << '\n' << kUsage;
  } catch (const std::exception& e) {
    std::cerr << "ostrel-image-list: " << e.what() << '\n';
  }
  return 1;
}
