#include "skin/host/FormText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace ostrel::host {

EFormError::EFormError(int ALine, int AColumn, const QString& AMessage)
    : Exception(QStringLiteral("Line %1, column %2: %3").arg(ALine).arg(AColumn).arg(AMessage)),
      FLine(ALine),
      FColumn(AColumn) {}

namespace {

bool IsIdentStart(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; }
bool IsIdentChar(QChar c) { return IsIdentStart(c) || (c >= u'0' && c <= u'9'); }
bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }
int HexDigit(QChar c) {
  if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  return -1;
}

bool IsColorLiteral(const QString& AIdent) {
  if (AIdent.size() != 9 || (AIdent[0] != u'x' && AIdent[0] != u'X')) return false;
  for (qsizetype i = 1; i < AIdent.size(); ++i) {
    if (HexDigit(AIdent[i]) < 0) return false;
  }
  return true;
}

struct Token {
  enum class Kind : std::uint8_t { End, Identifier, Integer, Float, String, Symbol };
  Kind Type = Kind::End;
  FormPos Pos;
  QString Text;  // identifier, symbol, or the string's value
  qint64 Integer = 0;
  double Float = 0;
};

class Lexer {
 public:
  explicit Lexer(const QString& AText) : FText(AText) {}

  FormPos Pos() const { return {FLine, FColumn}; }

  Token Next() {
    SkipSpace();
    Token t;
    t.Pos = Pos();
    if (AtEnd()) return t;
    const QChar c = Peek();
    if (IsIdentStart(c)) {
      t.Type = Token::Kind::Identifier;
      while (!AtEnd() && IsIdentChar(Peek())) t.Text += Take();
      return t;
    }
    if (IsDigit(c) || ((c == u'-' || c == u'+') && IsDigit(PeekAt(1)))) return Number(t);
    if (c == u'\'' || c == u'#') return String(t);
    t.Type = Token::Kind::Symbol;
    t.Text = Take();
    return t;
  }

  // The body of a "{ hex }" block after its opening brace, up to and with the closing one.
  QByteArray Binary(const FormPos& AOpen) {
    QByteArray bytes;
    int high = -1;
    for (;;) {
      SkipSpace();
      if (AtEnd()) throw EFormError(AOpen.Line, AOpen.Column, QStringLiteral("Unterminated binary value"));
      const FormPos at = Pos();
      const QChar c = Take();
      if (c == u'}') break;
      const int digit = HexDigit(c);
      if (digit < 0) throw EFormError(at.Line, at.Column, QStringLiteral("Invalid hex digit '%1' in binary value").arg(c));
      if (high < 0) {
        high = digit;
      } else {
        bytes.append(static_cast<char>((high << 4) | digit));
        high = -1;
      }
    }
    if (high >= 0) throw EFormError(AOpen.Line, AOpen.Column, QStringLiteral("Odd number of hex digits in binary value"));
    return bytes;
  }

 private:
  bool AtEnd() const { return FIndex >= FText.size(); }
  QChar Peek() const { return FText[FIndex]; }
  QChar PeekAt(qsizetype AOffset) const {
    return FIndex + AOffset < FText.size() ? FText[FIndex + AOffset] : QChar();
  }
  QChar Take() {
    const QChar c = FText[FIndex++];
    if (c == u'\n') {
      ++FLine;
      FColumn = 1;
    } else {
      ++FColumn;
    }
    return c;
  }
  void SkipSpace() {
    while (!AtEnd() && Peek().isSpace()) Take();
  }

  Token Number(Token& t) {
    QString text;
    if (Peek() == u'-' || Peek() == u'+') text += Take();
    while (!AtEnd() && IsDigit(Peek())) text += Take();
    bool isFloat = false;
    if (!AtEnd() && Peek() == u'.' && IsDigit(PeekAt(1))) {
      isFloat = true;
      text += Take();
      while (!AtEnd() && IsDigit(Peek())) text += Take();
    }
    if (!AtEnd() && (Peek() == u'e' || Peek() == u'E') &&
        (IsDigit(PeekAt(1)) || ((PeekAt(1) == u'-' || PeekAt(1) == u'+') && IsDigit(PeekAt(2))))) {
      isFloat = true;
      text += Take();
      if (Peek() == u'-' || Peek() == u'+') text += Take();
      while (!AtEnd() && IsDigit(Peek())) text += Take();
    }
    if (!AtEnd() && IsIdentChar(Peek())) {
      throw EFormError(t.Pos.Line, t.Pos.Column, QStringLiteral("Invalid number '%1%2'").arg(text, Peek()));
    }
    bool ok = false;
    if (isFloat) {
      t.Type = Token::Kind::Float;
      t.Float = text.toDouble(&ok);
      ok = ok && std::isfinite(t.Float);
    } else {
      t.Type = Token::Kind::Integer;
      t.Integer = text.toLongLong(&ok);
      if (!ok) {
        // Beyond 64 bits a whole number can still be a real one's value.
        t.Type = Token::Kind::Float;
        t.Float = text.toDouble(&ok);
        ok = ok && std::isfinite(t.Float);
      }
    }
    if (!ok) throw EFormError(t.Pos.Line, t.Pos.Column, QStringLiteral("Invalid number '%1'").arg(text));
    return t;
  }

  // Quoted pieces and #code characters that follow each other form one string.
  Token String(Token& t) {
    t.Type = Token::Kind::String;
    while (!AtEnd() && (Peek() == u'\'' || Peek() == u'#')) {
      const FormPos at = Pos();
      if (Take() == u'#') {
        t.Text += CharCode(at);
        continue;
      }
      for (;;) {
        if (AtEnd() || Peek() == u'\n' || Peek() == u'\r') {
          throw EFormError(at.Line, at.Column, QStringLiteral("Unterminated string"));
        }
        const QChar c = Take();
        if (c == u'\'') {
          if (!AtEnd() && Peek() == u'\'') {
            Take();
            t.Text += u'\'';
            continue;
          }
          break;
        }
        t.Text += c;
      }
    }
    return t;
  }

  QChar CharCode(const FormPos& AAt) {
    const bool hex = !AtEnd() && Peek() == u'$';
    if (hex) Take();
    int code = 0;
    int digits = 0;
    while (!AtEnd() && (hex ? HexDigit(Peek()) >= 0 : IsDigit(Peek()))) {
      code = code * (hex ? 16 : 10) + (hex ? HexDigit(Take()) : Take().unicode() - u'0');
      if (++digits > 6 || code > 0xFFFF) {
        throw EFormError(AAt.Line, AAt.Column, QStringLiteral("Character code out of range"));
      }
    }
    if (digits == 0) throw EFormError(AAt.Line, AAt.Column, QStringLiteral("Character code expected after '#'"));
    return QChar(static_cast<char16_t>(code));
  }

  const QString& FText;
  qsizetype FIndex = 0;
  int FLine = 1;
  int FColumn = 1;
};

class Parser {
 public:
  explicit Parser(const QString& AText) : FLexer(AText) { Advance(); }

  FormObject Form() {
    if (!IsKeyword(QStringLiteral("object"))) Fail(FToken.Pos, QStringLiteral("'object' expected"));
    FormObject root = Object(1);
    if (FToken.Type != Token::Kind::End) Fail(FToken.Pos, QStringLiteral("End of text expected after the last 'end'"));
    return root;
  }

 private:
  [[noreturn]] static void Fail(const FormPos& APos, const QString& AMessage) {
    throw EFormError(APos.Line, APos.Column, AMessage);
  }

  void Advance() { FToken = FLexer.Next(); }

  bool IsKeyword(const QString& AWord) const {
    return FToken.Type == Token::Kind::Identifier && FToken.Text.compare(AWord, Qt::CaseInsensitive) == 0;
  }
  bool IsSymbol(char16_t ASymbol) const {
    return FToken.Type == Token::Kind::Symbol && FToken.Text.size() == 1 && FToken.Text[0] == ASymbol;
  }
  void Expect(char16_t ASymbol) {
    if (!IsSymbol(ASymbol)) Fail(FToken.Pos, QStringLiteral("'%1' expected").arg(QChar(ASymbol)));
    Advance();
  }
  QString Identifier(const QString& AWhat) {
    if (FToken.Type != Token::Kind::Identifier) Fail(FToken.Pos, QStringLiteral("%1 expected").arg(AWhat));
    QString text = FToken.Text;
    Advance();
    return text;
  }

  FormObject Object(int ADepth) {
    if (ADepth > kMaxFormDepth) Fail(FToken.Pos, QStringLiteral("Objects nested too deeply"));
    FormObject object;
    object.Pos = FToken.Pos;
    Advance();
    object.ClassPos = FToken.Pos;
    const QString first = Identifier(QStringLiteral("Object name"));
    if (IsSymbol(u':')) {
      Advance();
      object.Name = first;
      object.ClassPos = FToken.Pos;
      object.ClassName = Identifier(QStringLiteral("Class name"));
    } else {
      object.ClassName = first;
    }
    for (;;) {
      if (FToken.Type == Token::Kind::End) {
        Fail(object.Pos, QStringLiteral("Object '%1' has no 'end'").arg(object.Name.isEmpty() ? object.ClassName : object.Name));
      }
      if (IsKeyword(QStringLiteral("end"))) {
        Advance();
        return object;
      }
      if (IsKeyword(QStringLiteral("object"))) {
        object.Children.push_back(Object(ADepth + 1));
        continue;
      }
      object.Properties.push_back(Property(ADepth));
    }
  }

  FormProperty Property(int ADepth) {
    FormProperty property;
    property.Pos = FToken.Pos;
    property.Path = Identifier(QStringLiteral("Property name"));
    while (IsSymbol(u'.')) {
      Advance();
      property.Path += u'.';
      property.Path += Identifier(QStringLiteral("Property name"));
    }
    Expect(u'=');
    property.Value = Value(ADepth);
    return property;
  }

  FormValue Value(int ADepth) {
    FormValue value;
    value.Pos = FToken.Pos;
    switch (FToken.Type) {
      case Token::Kind::Integer:
        value.Type = FormValue::Kind::Integer;
        value.Integer = FToken.Integer;
        Advance();
        return value;
      case Token::Kind::Float:
        value.Type = FormValue::Kind::Float;
        value.Float = FToken.Float;
        Advance();
        return value;
      case Token::Kind::String:
        value.Type = FormValue::Kind::String;
        value.Text = FToken.Text;
        Advance();
        while (IsSymbol(u'+')) {
          Advance();
          if (FToken.Type != Token::Kind::String) Fail(FToken.Pos, QStringLiteral("String expected after '+'"));
          value.Text += FToken.Text;
          Advance();
        }
        return value;
      case Token::Kind::Identifier:
        if (IsColorLiteral(FToken.Text)) {
          value.Type = FormValue::Kind::Color;
          value.Color = FToken.Text.mid(1).toUInt(nullptr, 16);
        } else {
          value.Type = FormValue::Kind::Identifier;
          value.Text = FToken.Text;
        }
        Advance();
        return value;
      case Token::Kind::Symbol:
        break;
      case Token::Kind::End:
        Fail(value.Pos, QStringLiteral("Value expected"));
    }
    if (IsSymbol(u'[')) {
      value.Type = FormValue::Kind::Set;
      Advance();
      if (!IsSymbol(u']')) {
        value.Members.append(Identifier(QStringLiteral("Set member")));
        while (IsSymbol(u',')) {
          Advance();
          value.Members.append(Identifier(QStringLiteral("Set member")));
        }
      }
      Expect(u']');
      return value;
    }
    if (IsSymbol(u'{')) {
      value.Type = FormValue::Kind::Binary;
      value.Bytes = FLexer.Binary(value.Pos);
      Advance();
      return value;
    }
    if (IsSymbol(u'(')) {
      if (ADepth > kMaxFormDepth) Fail(value.Pos, QStringLiteral("Lists nested too deeply"));
      value.Type = FormValue::Kind::List;
      Advance();
      while (!IsSymbol(u')')) {
        if (FToken.Type == Token::Kind::End) Fail(value.Pos, QStringLiteral("Unterminated list"));
        value.Items.push_back(Value(ADepth + 1));
      }
      Advance();
      return value;
    }
    Fail(value.Pos, QStringLiteral("Invalid value '%1'").arg(FToken.Text));
  }

  Lexer FLexer;
  Token FToken;
};

constexpr qsizetype kStringPieceLength = 64;

QString QuotePiece(const QString& AText, qsizetype AFrom, qsizetype ACount) {
  QString out;
  bool quoted = false;
  for (qsizetype i = AFrom; i < AFrom + ACount; ++i) {
    const QChar c = AText[i];
    const bool plain = c.unicode() >= 32 && c.unicode() < 127;
    if (plain != quoted) {
      out += u'\'';
      quoted = plain;
    }
    if (plain) {
      out += c;
      if (c == u'\'') out += c;
    } else {
      out += QStringLiteral("#%1").arg(c.unicode());
    }
  }
  if (quoted) out += u'\'';
  return out;
}

}  // namespace

FormObject ParseForm(const QString& AText) { return Parser(AText).Form(); }

QString FormatFormString(const QString& AValue, const QString& AIndent) {
  if (AValue.isEmpty()) return QStringLiteral("''");
  QString out;
  qsizetype from = 0;
  while (from < AValue.size()) {
    if (from > 0) out += QStringLiteral(" +\n") + AIndent;
    qsizetype count = std::min(kStringPieceLength, AValue.size() - from);
    // Keep a surrogate pair within one piece so each piece stays valid text.
    if (from + count < AValue.size() && AValue[from + count - 1].isHighSurrogate()) ++count;
    out += QuotePiece(AValue, from, count);
    from += count;
  }
  return out;
}

QString FormatFormBinary(const QByteArray& AValue, const QString& AIndent) {
  constexpr qsizetype kBytesPerLine = 32;
  QString out = QStringLiteral("{");
  const QByteArray hex = AValue.toHex().toUpper();
  for (qsizetype i = 0; i < hex.size(); i += 2 * kBytesPerLine) {
    out += u'\n';
    out += AIndent;
    out += QString::fromLatin1(hex.mid(i, 2 * kBytesPerLine));
  }
  out += u'}';
  return out;
}

namespace {

// The shortest text that reads back as the same value. A whole-number text
// reads as an integer, which has no negative zero and ends at 64 bits, so those
// values are written with an exponent instead.
template <class F>
QString FormatShortest(F AValue) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, AValue);
  if (result.ec != std::errc()) return QString::number(AValue);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const bool whole = text.find_first_of(".en") == std::string_view::npos;
  constexpr auto kIntegerLimit = static_cast<F>(9.2e18);
  if (whole && ((AValue == 0 && std::signbit(AValue)) || std::fabs(AValue) >= kIntegerLimit)) {
    result = std::to_chars(buffer, buffer + sizeof buffer, AValue, std::chars_format::scientific);
    if (result.ec != std::errc()) return QString::number(AValue);
  }
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

}  // namespace

QString FormatFormDouble(double AValue) { return FormatShortest(AValue); }
QString FormatFormFloat(float AValue) { return FormatShortest(AValue); }

}  // namespace ostrel::host
