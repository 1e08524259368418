// ostrel-make-form: writes a stored form whose pictures travel inside it,
// from a form text with markers where the pictures go.
//
//   ostrel-make-form --pictures DIR --output FILE TEMPLATE
//
// In TEMPLATE a property value may be one of two markers, which become
// binary values:
//
//   @png(NAME)                  the bytes of DIR/NAME.png (a bitmap's "PNG")
//   @pictures(NAME1 NAME2 ...)  an image list's picture list: a binary tree
//                               document with one picture per name, in that
//                               order, each found by the list under NAME
//
// Everything else is copied as it stands (an @ in a string is just text).
// The result must parse as a form: a marker left unknown or a broken
// template is refused and nothing is written.

#include "skin/base/uBaseLog.h"
#include "skin/base/uSkinImageList.h"
#include "skin/host/FormText.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: ostrel-make-form --pictures DIR --output FILE TEMPLATE\n";

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Options {
  QString pictures;
  QString output;
  QString form;
};

Options ParseArguments(const QStringList& AArguments) {
  Options o;
  for (qsizetype i = 1; i < AArguments.size(); ++i) {
    const QString& argument = AArguments[i];
    const auto value = [&]() -> QString {
      if (++i >= AArguments.size()) throw UsageError(argument.toStdString() + " needs a value");
      return AArguments[i];
    };
    if (argument == u"--pictures") {
      o.pictures = value();
    } else if (argument == u"--output") {
      o.output = value();
    } else if (argument.startsWith(u'-') || !o.form.isEmpty()) {
      throw UsageError("unexpected argument " + argument.toStdString());
    } else {
      o.form = argument;
    }
  }
  if (o.pictures.isEmpty() || o.output.isEmpty() || o.form.isEmpty()) throw UsageError("missing argument");
  return o;
}

QByteArray ReadFile(const QString& APath) {
  QFile file(APath);
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + APath.toStdString());
  return file.readAll();
}

QString PicturePath(const Options& AOptions, const QString& AName) {
  return AOptions.pictures + u'/' + AName + QStringLiteral(".png");
}

// A picture name is a file name in the pictures folder, nothing more.
void CheckName(const QString& AName) {
  if (AName.isEmpty() || AName == u"." || AName == u".." || AName.contains(u'/') || AName.contains(u'\\')) {
    throw std::runtime_error("\"" + AName.toStdString() + "\" is no picture name");
  }
}

QByteArray PictureList(const Options& AOptions, const QStringList& ANames) {
  std::vector<ostrel::skin::NamedPictureFile> pictures;
  for (const QString& name : ANames) {
    CheckName(name);
    pictures.push_back({name, PicturePath(AOptions, name)});
  }
  return ostrel::skin::BuildImageListData(pictures);
}

QString Expand(const Options& AOptions, const QString& ATemplate) {
  static const QRegularExpression kMarker(QStringLiteral(R"(^( *)(\S+ = )@(\w+)\(([\w@ ,]*)\)$)"),
                                          QRegularExpression::MultilineOption);
  static const QRegularExpression kSeparators(QStringLiteral("[ ,]+"));
  QString out;
  qsizetype done = 0;
  for (auto it = kMarker.globalMatch(ATemplate); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    const QString kind = m.captured(3);
    const QStringList names = m.captured(4).split(kSeparators, Qt::SkipEmptyParts);
    QByteArray bytes;
    if (kind == u"png" && names.size() == 1) {
      bytes = ReadFile(PicturePath(AOptions, names[0]));
    } else if (kind == u"pictures" && !names.isEmpty()) {
      bytes = PictureList(AOptions, names);
    } else {
      throw std::runtime_error("unknown marker @" + kind.toStdString() + "(" + m.captured(4).toStdString() + ")");
    }
    out += ATemplate.mid(done, m.capturedStart() - done);
    out += m.captured(1) + m.captured(2) + ostrel::host::FormatFormBinary(bytes, m.captured(1) + QStringLiteral("  "));
    done = m.capturedEnd();
  }
  out += ATemplate.mid(done);
  // A marker the expression above did not take (an unknown kind, a value
  // with more after it) must not reach the form as a stray identifier.
  static const QRegularExpression kLeftOver(QStringLiteral(R"(= @\w+\()"));
  if (const QRegularExpressionMatch m = kLeftOver.match(out); m.hasMatch()) {
    throw std::runtime_error("a marker is left in line " + std::to_string(out.left(m.capturedStart()).count(u'\n') + 1));
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  // The library logs a picture it cannot decode; the error below says it once.
  TBaseLog::Instance().SetWriteToDebugger(false);
  try {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const Options o = ParseArguments(arguments);
    const QString form = Expand(o, QString::fromUtf8(ReadFile(o.form)));
    ostrel::host::ParseForm(form);
    QSaveFile output(o.output);
    if (!output.open(QIODevice::WriteOnly) || output.write(form.toUtf8()) < 0 || !output.commit()) {
      throw std::runtime_error("cannot write " + o.output.toStdString());
    }
    return 0;
  } catch (const UsageError& e) {
    std::cerr << "ostrel-make-form: " << e.what() << '\n' << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "ostrel-make-form: " << e.what() << '\n';
    return 1;
  }
}
