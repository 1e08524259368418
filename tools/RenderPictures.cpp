// ostrel-render-pictures: renders the window's pictures from their SVG
// sources into PNG files, once for each display scale.
//
//   ostrel-render-pictures --output DIR [--scales 1,2,...] FILE.svg...
//
// FILE.svg becomes DIR/FILE.png at the size its width and height declare,
// and DIR/FILE@<k>x.png at k times that size for every further scale k: the
// names under which image lists look up a picture for a display of scale k.
//
// Qt's renderer leaves out what it cannot draw (filters, clipping paths,
// masks, patterns), some of it without a word, and text needs a font
// database a build tool should not depend on. So a picture could lose a part
// unseen, or look different on another machine. The tool therefore accepts
// only the elements it draws faithfully, takes every warning of the renderer
// as an error, and writes nothing for a picture it refuses.

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtGlobal>

#include <charconv>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Options {
  QString outputDir;
  std::vector<int> scales{1};
  std::vector<QString> sources;
};

constexpr std::string_view kUsage = "usage: ostrel-render-pictures --output DIR [--scales 1,2,...] FILE.svg...\n";
constexpr int kMaxScale = 4;

std::vector<int> ParseScales(std::string_view text) {
  std::vector<int> scales;
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view part = text.substr(0, comma);
    int k = 0;
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), k);
    if (ec != std::errc{} || end != part.data() + part.size() || k < 1 || k > kMaxScale) {
      throw UsageError("a scale is a whole number from 1 to " + std::to_string(kMaxScale) + ", got \"" + std::string(part) + "\"");
    }
    scales.push_back(k);
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
  }
  if (scales.empty()) throw UsageError("--scales needs at least one scale");
  return scales;
}

Options ParseArguments(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--output" || a == "--scales") {
      if (i + 1 >= argc) throw UsageError("missing value after " + std::string(a));
      const std::string_view v = argv[++i];
      if (a == "--output") {
        o.outputDir = QString::fromLocal8Bit(v.data(), static_cast<qsizetype>(v.size()));
      } else {
        o.scales = ParseScales(v);
      }
    } else if (a.starts_with("--")) {
      throw UsageError("unknown option " + std::string(a));
    } else {
      o.sources.push_back(QString::fromLocal8Bit(a.data(), static_cast<qsizetype>(a.size())));
    }
  }
  if (o.outputDir.isEmpty()) throw UsageError("--output is required");
  if (o.sources.empty()) throw UsageError("no SVG file given");
  return o;
}

// Collects what Qt reports while one picture is read and drawn.
class WarningTrap {
 public:
  WarningTrap() : previous_(qInstallMessageHandler(&WarningTrap::Handle)) { messages_.clear(); }
  ~WarningTrap() { qInstallMessageHandler(previous_); }
  WarningTrap(const WarningTrap&) = delete;
  WarningTrap& operator=(const WarningTrap&) = delete;

  // Throws with every message caught since the trap was set.
  static void ThrowIfAny(const QString& source) {
    if (messages_.isEmpty()) return;
    throw std::runtime_error(source.toStdString() + ": the renderer cannot draw all of it:\n" + messages_.toStdString());
  }

 private:
  static void Handle(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    messages_ += QStringLiteral("  ") + message + QLatin1Char('\n');
  }

  // Qt's handler is a plain function, so what it catches has to live here.
  static inline QString messages_;
  QtMessageHandler previous_;
};

// Refuses a source that uses what the renderer would draw differently or
// not at all, or that does not declare its size.
void CheckSource(const QString& source) {
  static const QStringList kElements{
      QStringLiteral("svg"),    QStringLiteral("defs"),     QStringLiteral("g"),
      QStringLiteral("path"),   QStringLiteral("rect"),     QStringLiteral("circle"),
      QStringLiteral("ellipse"), QStringLiteral("line"),    QStringLiteral("polyline"),
      QStringLiteral("polygon"), QStringLiteral("linearGradient"), QStringLiteral("radialGradient"),
      QStringLiteral("stop"),   QStringLiteral("use"),      QStringLiteral("title"),
      QStringLiteral("desc")};
  static const QStringList kIgnoredAttributes{QStringLiteral("filter"), QStringLiteral("clip-path"), QStringLiteral("mask")};

  QFile file(source);
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot open " + source.toStdString());
  QXmlStreamReader xml(&file);
  const auto refuse = [&](const QString& why) {
    throw std::runtime_error(QStringLiteral("%1:%2: %3").arg(source).arg(xml.lineNumber()).arg(why).toStdString());
  };
  bool root = true;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QString name = xml.name().toString();
    if (!kElements.contains(name)) refuse(QStringLiteral("Qt's renderer leaves out or changes <%1>").arg(name));
    const QXmlStreamAttributes attributes = xml.attributes();
    for (const QString& attribute : kIgnoredAttributes) {
      if (attributes.hasAttribute(attribute)) refuse(QStringLiteral("the renderer ignores %1").arg(attribute));
    }
    if (root && (name != QLatin1String("svg") || !attributes.hasAttribute(QStringLiteral("width")) ||
                 !attributes.hasAttribute(QStringLiteral("height")))) {
      refuse(QStringLiteral("the picture must be an <svg> that declares its width and height"));
    }
    root = false;
  }
  if (xml.hasError()) refuse(xml.errorString());
}

QString OutputName(const QString& dir, const QString& base, int scale) {
  const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
  return dir + QLatin1Char('/') + base + suffix + QStringLiteral(".png");
}

void Render(const QString& source, const Options& o) {
  CheckSource(source);
  const WarningTrap trap;
  QSvgRenderer renderer(source);
  if (!renderer.isValid()) throw std::runtime_error(source.toStdString() + " is not an SVG picture Qt can read");
  const QSize size = renderer.defaultSize();
  if (size.isEmpty()) throw std::runtime_error(source.toStdString() + " declares an empty size");

  std::vector<QImage> images;
  for (const int scale : o.scales) {
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) throw std::runtime_error(source.toStdString() + " is too large to render");
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), image.size()));
    painter.end();
    images.push_back(std::move(image));
  }
  WarningTrap::ThrowIfAny(source);

  const QString base = QFileInfo(source).completeBaseName();
  for (std::size_t i = 0; i < images.size(); ++i) {
    const QString target = OutputName(o.outputDir, base, o.scales[i]);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || !images[i].save(&file, "PNG") || !file.commit()) {
      throw std::runtime_error("cannot write " + target.toStdString() + ": " + file.errorString().toStdString());
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options o = ParseArguments(argc, argv);
    for (const QString& source : o.sources) Render(source, o);
    return 0;
  } catch (const UsageError& e) {
    std::cerr << "ostrel-render-pictures: " << e.what() << '\n' << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "ostrel-render-pictures: " << e.what() << '\n';
    return 1;
  }
}
