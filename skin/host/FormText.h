#pragma once
// The syntax of stored forms, without meaning: parses the object text into a
// tree of object blocks and property lines, each with its place in the text,
// and formats single values back. FormReader gives the tree its meaning.

#include "skin/host/Persistent.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace ostrel::host {

// A malformed stored form. The message starts with the place of the fault
// ("Line 3, column 7: ...").
class EFormError : public Exception {
 public:
  EFormError(int ALine, int AColumn, const QString& AMessage);
  int Line() const { return FLine; }
  int Column() const { return FColumn; }

 private:
  int FLine;
  int FColumn;
};

struct FormPos {
  int Line = 1;
  int Column = 1;
};

struct FormValue {
  enum class Kind : std::uint8_t { Integer, Float, String, Identifier, Color, Set, Binary, List };
  Kind Type = Kind::Integer;
  FormPos Pos;
  qint64 Integer = 0;
  double Float = 0;
  std::uint32_t Color = 0;
  QString Text;             // String, Identifier
  QStringList Members;      // Set
  QByteArray Bytes;         // Binary
  std::vector<FormValue> Items;  // List
};

struct FormProperty {
  QString Path;  // dotted, as written
  FormPos Pos;
  FormValue Value;
};

struct FormObject {
  QString Name;
  QString ClassName;
  FormPos Pos;       // of the keyword "object"
  FormPos ClassPos;  // of the class name
  std::vector<FormProperty> Properties;
  std::vector<FormObject> Children;
};

// Parses one top-level object block; anything but white space after its
// "end" is an error. Nesting deeper than kMaxFormDepth is refused so that
// hostile input cannot exhaust the stack.
inline constexpr int kMaxFormDepth = 200;
FormObject ParseForm(const QString& AText);

// Value formatting shared with the writer. Strings longer than one line's
// worth are split into pieces joined by " +" on continuation lines indented by AIndent.
QString FormatFormString(const QString& AValue, const QString& AIndent);
QString FormatFormBinary(const QByteArray& AValue, const QString& AIndent);
QString FormatFormDouble(double AValue);
QString FormatFormFloat(float AValue);

}  // namespace ostrel::host
