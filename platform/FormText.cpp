#include "platform/FormText.h"

#include "platform/Components.h"
#include "platform/FormData.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <variant>
#include <vector>

namespace {

// Far deeper than any real form, and shallow enough that damaged input cannot exhaust the stack.
constexpr int MaxNesting = 100;

bool IsIdentStart(char c)
{
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsIdentChar(char c)
{
  return IsIdentStart(c) || (c >= '0' && c <= '9');
}

bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}

int HexValue(char c)
{
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

AnsiString ReadAll(TStream& input)
{
  const int64_t size = input.GetSize() - input.GetPosition();
  AnsiString text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
  input.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
  return text;
}

// A string literal as its parts: runs of 8-bit text and #nn character codes.
class TLiteral {
public:
  void AddText(std::string_view text) { FParts.emplace_back(AnsiString(text)); }
  void AddCode(char32_t code)
  {
    FParts.emplace_back(code);
    if (code > 127) FWide = true;
  }
  void Append(const TLiteral& other)
  {
    FParts.insert(FParts.end(), other.FParts.begin(), other.FParts.end());
    FWide = FWide || other.FWide;
  }
  bool IsWide() const { return FWide; }

  AnsiString Narrow() const
  {
    AnsiString text;
    for (const auto& part : FParts)
      if (const auto* run = std::get_if<AnsiString>(&part))
        text += *run;
      else
        text += static_cast<char>(std::get<char32_t>(part));
    return text;
  }

  std::u16string Wide() const
  {
    std::u16string text;
    for (const auto& part : FParts) {
      if (const auto* run = std::get_if<AnsiString>(&part)) {
        text += AnsiToUtf16(*run);
      } else if (char32_t code = std::get<char32_t>(part); code >= 0x10000) {
        code -= 0x10000;
        text += static_cast<char16_t>(0xD800 + (code >> 10));
        text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
      } else {
        text += static_cast<char16_t>(code);
      }
    }
    return text;
  }

private:
  std::vector<std::variant<AnsiString, char32_t>> FParts;
  bool FWide = false;
};

// Text to binary ----------------------------------------------------------------------------------

class TTextParser {
public:
  TTextParser(std::string_view text, TWriter& writer) : FText(text), FWriter(writer)
  {
    NextToken();
  }

  void ConvertForm()
  {
    FWriter.WriteSignature();
    ConvertObject();
    if (FToken != TToken::End) Error("End of text expected");
  }

private:
  enum class TToken { End, Symbol, String, Integer, Float, Char };

  [[noreturn]] void Error(const AnsiString& what) const
  {
    throw EParserError(Format("%s on line %d", what, FTokenLine));
  }

  // Tokens

  char Peek(size_t offset = 0) const
  {
    return FPos + offset < FText.size() ? FText[FPos + offset] : '\0';
  }

  void SkipBlanks()
  {
    while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) <= ' ') {
      if (FText[FPos] == '\n') ++FLine;
      ++FPos;
    }
  }

  void NextToken()
  {
    SkipBlanks();
    FTokenLine = FLine;
    if (FPos >= FText.size()) {
      FToken = TToken::End;
    } else if (IsIdentStart(Peek())) {
      ReadSymbol();
    } else if (Peek() == '\'' || Peek() == '#') {
      FLiteral = ReadLiteral();
      FToken = TToken::String;
    } else if (IsDigit(Peek()) || Peek() == '$') {
      ReadNumber();
    } else {
      FToken = TToken::Char;
      FChar = FText[FPos++];
    }
  }

  void ReadSymbol()
  {
    const size_t start = FPos;
    while (IsIdentChar(Peek()) || (Peek() == '.' && IsIdentStart(Peek(1)))) ++FPos;
    // Form data stores every name and identifier behind a length byte.
    if (FPos - start > 255) Error("Identifier too long");
    FSymbol = AnsiString(FText.substr(start, FPos - start));
    FToken = TToken::Symbol;
  }

  TLiteral ReadLiteral()
  {
    TLiteral literal;
    for (;;) {
      if (Peek() == '\'') {
        ++FPos;
        AnsiString run;
        for (;;) {
          if (FPos >= FText.size() || Peek() == '\n' || Peek() == '\r')
            Error("Unterminated string");
          if (Peek() == '\'') {
            if (Peek(1) != '\'') break;
            ++FPos;
          }
          run += FText[FPos++];
        }
        ++FPos;
        literal.AddText(run);
      } else if (Peek() == '#') {
        ++FPos;
        uint32_t code = 0;
        if (!IsDigit(Peek())) Error("Character code expected");
        while (IsDigit(Peek())) {
          code = code * 10 + (FText[FPos++] - '0');
          if (code > 0x10FFFF) Error("Invalid character code");
        }
        literal.AddCode(code);
      } else {
        return literal;
      }
    }
  }

  void ReadNumber()
  {
    const size_t start = FPos;
    if (Peek() == '$') {
      ++FPos;
      FMagnitude = 0;
      if (HexValue(Peek()) < 0) Error("Invalid integer");
      while (HexValue(Peek()) >= 0) {
        if (FMagnitude >> 60) Error("Invalid integer");
        FMagnitude = FMagnitude * 16 + HexValue(FText[FPos++]);
      }
      if (IsIdentChar(Peek())) Error("Invalid number");
      FHex = true;
      FToken = TToken::Integer;
      return;
    }
    bool isFloat = false;
    while (IsDigit(Peek())) ++FPos;
    if (Peek() == '.' && IsDigit(Peek(1))) {
      isFloat = true;
      ++FPos;
      while (IsDigit(Peek())) ++FPos;
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
      isFloat = true;
      FPos += 2;
      while (IsDigit(Peek())) ++FPos;
    }
    FNumberText = AnsiString(FText.substr(start, FPos - start));
    FFloatSuffix = '\0';
    const char suffix = static_cast<char>(Peek() | 0x20);
    if ((suffix == 's' || suffix == 'c' || suffix == 'd') && !IsIdentChar(Peek(1))) {
      FFloatSuffix = suffix;
      isFloat = true;
      ++FPos;
    }
    if (IsIdentChar(Peek())) Error("Invalid number");
    if (isFloat) {
      FToken = TToken::Float;
      return;
    }
    const auto [end, status] =
      std::from_chars(FNumberText.data(), FNumberText.data() + FNumberText.size(), FMagnitude);
    if (status != std::errc() || end != FNumberText.data() + FNumberText.size())
      Error("Invalid integer");
    FHex = false;
    FToken = TToken::Integer;
  }

  bool TokenSymbolIs(const char* symbol) const
  {
    return FToken == TToken::Symbol && SameText(FSymbol, symbol);
  }

  bool TokenCharIs(char c) const { return FToken == TToken::Char && FChar == c; }

  void ExpectChar(char c)
  {
    if (!TokenCharIs(c)) Error(Format("'%s' expected", AnsiString(1, c)));
    NextToken();
  }

  AnsiString ExpectSymbol()
  {
    if (FToken != TToken::Symbol) Error("Identifier expected");
    AnsiString symbol = FSymbol;
    NextToken();
    return symbol;
  }

  // Class and component names and set elements have no dots; property names and values may.
  AnsiString ExpectName()
  {
    if (FToken == TToken::Symbol && FSymbol.find('.') != AnsiString::npos) Error("Name expected");
    return ExpectSymbol();
  }

  // Grammar

  class TNesting {
  public:
    explicit TNesting(TTextParser& parser) : FParser(parser)
    {
      if (parser.FDepth >= MaxNesting) parser.Error("Text form nested too deeply");
      ++parser.FDepth;
    }
    ~TNesting() { --FParser.FDepth; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

  private:
    TTextParser& FParser;
  };

  void ConvertObject()
  {
    TNesting nesting(*this);
    if (TokenSymbolIs("inherited") || TokenSymbolIs("inline"))
      Error("Inherited and inline components are not supported");
    if (!TokenSymbolIs("object")) Error("'object' expected");
    NextToken();
    AnsiString name;
    AnsiString className = ExpectName();
    if (TokenCharIs(':')) {
      NextToken();
      name = std::move(className);
      className = ExpectName();
    }
    FWriter.WriteStr(className);
    FWriter.WriteStr(name);
    while (!TokenSymbolIs("end") && !TokenSymbolIs("object")) ConvertProperty();
    FWriter.WriteListEnd();
    while (!TokenSymbolIs("end")) {
      if (FToken == TToken::End) Error("'end' expected");
      ConvertObject();
    }
    FWriter.WriteListEnd();
    NextToken();
  }

  void ConvertProperty()
  {
    if (FToken == TToken::End) Error("'end' expected");
    FWriter.WriteStr(ExpectSymbol());
    ExpectChar('=');
    ConvertValue();
  }

  void ConvertValue()
  {
    TNesting nesting(*this);
    switch (FToken) {
    case TToken::Integer:
    case TToken::Float: ConvertNumber(false); return;
    case TToken::String: ConvertString(); return;
    case TToken::Symbol: FWriter.WriteIdent(FSymbol); NextToken(); return;
    case TToken::End: Error("Property value expected");
    case TToken::Char: break;
    }
    switch (FChar) {
    case '-':
      NextToken();
      if (FToken != TToken::Integer && FToken != TToken::Float) Error("Number expected");
      ConvertNumber(true);
      return;
    case '[': ConvertSet(); return;
    case '(':
      NextToken();
      FWriter.WriteListBegin();
      while (!TokenCharIs(')')) ConvertValue();
      FWriter.WriteListEnd();
      NextToken();
      return;
    case '{': ConvertBinary(); return;
    case '<': ConvertCollection(); return;
    default: Error("Property value expected");
    }
  }

  void ConvertNumber(bool negative)
  {
    if (FToken == TToken::Integer) {
      // Hexadecimal spells out all 64 bits; decimal is a signed magnitude.
      FWriter.WriteInteger(FHex && !negative ? static_cast<int64_t>(FMagnitude)
                                             : Signed(FMagnitude, negative, "Invalid integer"));
    } else if (FFloatSuffix == 'c') {
      FWriter.WriteCurrency(Signed(CurrencyUnits(FNumberText), negative, "Invalid currency value"));
    } else if (FFloatSuffix == 's') {
      const float value = std::strtof(FNumberText.c_str(), nullptr);
      if (!std::isfinite(value)) Error("Invalid floating point number");
      FWriter.WriteSingle(negative ? -value : value);
    } else {
      // strtod, unlike from_chars, also gives the subnormal numbers; the text is already checked.
      const double value = std::strtod(FNumberText.c_str(), nullptr);
      if (!std::isfinite(value)) Error("Invalid floating point number");
      if (FFloatSuffix == 'd')
        FWriter.WriteDate(negative ? -value : value);
      else
        FWriter.WriteFloat(negative ? -value : value);
    }
    NextToken();
  }

  int64_t Signed(uint64_t magnitude, bool negative, const char* error) const
  {
    constexpr uint64_t Largest = std::numeric_limits<int64_t>::max();
    if (magnitude > Largest + (negative ? 1 : 0)) Error(error);
    return negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  }

  // A decimal number in units of 1/10000, exactly, rounded half away from zero.
  uint64_t CurrencyUnits(std::string_view text) const
  {
    if (text.find_first_of("eE") != std::string_view::npos) Error("Invalid currency value");
    constexpr uint64_t Limit = uint64_t(1) << 63;
    uint64_t value = 0;
    int decimals = -1;
    bool roundUp = false;
    for (char c : text) {
      if (c == '.') {
        decimals = 0;
        continue;
      }
      if (decimals >= 4) {
        if (decimals++ == 4) roundUp = c >= '5';
        continue;
      }
      if (value > Limit / 10) Error("Invalid currency value");
      value = value * 10 + (c - '0');
      if (decimals >= 0) ++decimals;
    }
    for (int i = decimals < 0 ? 0 : decimals; i < 4; ++i) {
      if (value > Limit / 10) Error("Invalid currency value");
      value *= 10;
    }
    return value + (roundUp ? 1 : 0);
  }

  void ConvertString()
  {
    TLiteral literal = FLiteral;
    NextToken();
    while (TokenCharIs('+')) {
      NextToken();
      if (FToken != TToken::String) Error("String expected");
      literal.Append(FLiteral);
      NextToken();
    }
    if (literal.IsWide())
      FWriter.WriteWideString(literal.Wide());
    else
      FWriter.WriteString(literal.Narrow());
  }

  void ConvertSet()
  {
    NextToken();
    FWriter.WriteValue(vaSet);
    if (!TokenCharIs(']')) {
      for (;;) {
        FWriter.WriteStr(ExpectName());
        if (TokenCharIs(']')) break;
        ExpectChar(',');
      }
    }
    FWriter.WriteStr("");
    NextToken();
  }

  void ConvertBinary()
  {
    std::vector<uint8_t> bytes;
    for (;;) {
      SkipBlanks();
      if (Peek() == '}') break;
      const int high = HexValue(Peek());
      const int low = HexValue(Peek(1));
      if (high < 0 || low < 0) {
        FTokenLine = FLine;
        Error("Invalid binary data");
      }
      bytes.push_back(static_cast<uint8_t>(high * 16 + low));
      FPos += 2;
    }
    ++FPos;
    FWriter.WriteBinary(bytes.data(), static_cast<int32_t>(bytes.size()));
    NextToken();
  }

  void ConvertCollection()
  {
    NextToken();
    FWriter.WriteValue(vaCollection);
    while (!TokenCharIs('>')) {
      if (!TokenSymbolIs("item")) Error("'item' expected");
      NextToken();
      if (TokenCharIs('[')) {
        NextToken();
        const bool negative = TokenCharIs('-');
        if (negative) NextToken();
        if (FToken != TToken::Integer) Error("Integer expected");
        // An item's order value is stored as a 32-bit integer at most.
        const int64_t order = Signed(FMagnitude, negative, "Invalid integer");
        if (order != static_cast<int32_t>(order)) Error("Invalid integer");
        FWriter.WriteInteger(order);
        NextToken();
        ExpectChar(']');
      }
      FWriter.WriteListBegin();
      while (!TokenSymbolIs("end")) ConvertProperty();
      FWriter.WriteListEnd();
      NextToken();
    }
    FWriter.WriteListEnd();
    NextToken();
  }

  std::string_view FText;
  TWriter& FWriter;
  size_t FPos = 0;
  int FLine = 1;
  int FTokenLine = 1;
  int FDepth = 0;

  TToken FToken = TToken::End;
  AnsiString FSymbol;
  TLiteral FLiteral;
  uint64_t FMagnitude = 0;
  bool FHex = false;
  AnsiString FNumberText;
  char FFloatSuffix = '\0';
  char FChar = '\0';
};

// Binary to text ----------------------------------------------------------------------------------

class TTextWriter {
public:
  explicit TTextWriter(TReader& reader) : FReader(reader) {}

  AnsiString ConvertForm()
  {
    FReader.ReadSignature();
    ConvertObject(0);
    return std::move(FText);
  }

private:
  enum class TName { Plain, Dotted, Property };

  // Only names that the text form can spell are written, so that every text made here compiles.
  static const AnsiString& Checked(const AnsiString& name, TName kind)
  {
    bool valid = kind == TName::Plain ? IsValidIdent(name) : !name.empty();
    for (size_t start = 0; valid && kind != TName::Plain && start <= name.size();) {
      const size_t dot = std::min(name.find('.', start), name.size());
      valid = IsValidIdent(std::string_view(name).substr(start, dot - start));
      start = dot + 1;
    }
    if (valid && kind == TName::Property)
      for (const char* keyword : {"object", "end", "inherited", "inline"})
        valid = valid && !SameText(name, keyword);
    if (!valid) throw EReadError(Format("'%s' is not a name the text form can hold", name));
    return name;
  }

  void NewLine(int level)
  {
    FText += "\r\n";
    FText.append(static_cast<size_t>(level) * 2, ' ');
  }

  void CheckDepth(int level) const
  {
    if (level >= MaxNesting) throw EReadError("Form data is nested too deeply");
  }

  void ConvertObject(int level)
  {
    CheckDepth(level);
    FReader.ReadPrefix();
    const AnsiString className = Checked(FReader.ReadStr(), TName::Plain);
    const AnsiString name = FReader.ReadStr();
    if (!name.empty()) Checked(name, TName::Plain);
    FText += "object ";
    if (!name.empty()) FText += name + ": ";
    FText += className;
    while (!FReader.EndOfList()) ConvertProperty(level + 1);
    FReader.ReadListEnd();
    while (!FReader.EndOfList()) {
      NewLine(level + 1);
      ConvertObject(level + 1);
    }
    FReader.ReadListEnd();
    NewLine(level);
    FText += "end";
    if (level == 0) FText += "\r\n";
  }

  void ConvertProperty(int level)
  {
    NewLine(level);
    FText += Checked(FReader.ReadStr(), TName::Property) + " = ";
    ConvertValue(level);
  }

  void ConvertValue(int level)
  {
    CheckDepth(level);
    switch (FReader.NextValue()) {
    case vaList:
      FReader.ReadValue();
      FText += '(';
      while (!FReader.EndOfList()) {
        NewLine(level + 1);
        ConvertValue(level + 1);
      }
      FReader.ReadListEnd();
      FText += ')';
      break;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: FText += IntToStr(FReader.ReadInt64()); break;
    case vaExtended: FText += FloatText(FReader.ReadFloat(), ""); break;
    case vaSingle: FText += FloatText(static_cast<float>(FReader.ReadFloat()), "s"); break;
    case vaDate: FText += FloatText(FReader.ReadFloat(), "d"); break;
    case vaCurrency: FText += CurrencyText(FReader.ReadCurrency()); break;
    case vaString:
    case vaLString: FText += QuotedText(FReader.ReadString()); break;
    case vaWString:
    case vaUTF8String: FText += QuotedText(FReader.ReadWideString()); break;
    case vaIdent:
    case vaFalse:
    case vaTrue:
    case vaNil:
    case vaNull: FText += Checked(FReader.ReadIdent(), TName::Dotted); break;
    case vaBinary: ConvertBinary(level); break;
    case vaSet: {
      FReader.ReadValue();
      FText += '[';
      const char* separator = "";
      for (AnsiString element = FReader.ReadStr(); !element.empty(); element = FReader.ReadStr()) {
        FText += separator + Checked(element, TName::Plain);
        separator = ", ";
      }
      FText += ']';
      break;
    }
    case vaCollection: ConvertCollection(level); break;
    }
  }

  void ConvertBinary(int level)
  {
    const TBytes bytes = FReader.ReadBinary();
    FText += '{';
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (i % 32 == 0) NewLine(level + 1);
      FText += "0123456789ABCDEF"[bytes[i] >> 4];
      FText += "0123456789ABCDEF"[bytes[i] & 15];
    }
    FText += '}';
  }

  void ConvertCollection(int level)
  {
    FReader.ReadValue();
    FText += '<';
    while (!FReader.EndOfList()) {
      NewLine(level + 1);
      FText += "item";
      if (const TValueType next = FReader.NextValue(); next >= vaInt8 && next <= vaInt32)
        FText += " [" + IntToStr(FReader.ReadInteger()) + "]";
      FReader.ReadListBegin();
      while (!FReader.EndOfList()) ConvertProperty(level + 2);
      FReader.ReadListEnd();
      NewLine(level + 1);
      FText += "end";
    }
    FReader.ReadListEnd();
    FText += '>';
  }

  // The shortest text that reads back as the same number, always in the form of a float.
  template <class T>
  static AnsiString FloatText(T value, const char* suffix)
  {
    if (!std::isfinite(value)) throw EReadError("Invalid floating point value");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    AnsiString text(buffer, result.ptr);
    if (!*suffix && text.find_first_of(".e") == AnsiString::npos) text += ".0";
    return text + suffix;
  }

  static AnsiString CurrencyText(int64_t value)
  {
    const bool negative = value < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : value;
    AnsiString text = negative ? "-" : "";
    text += std::to_string(magnitude / 10000);
    AnsiString fraction = std::to_string(magnitude % 10000 + 10000).substr(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) {
      text += '.';
      text += fraction;
    }
    return text + "c";
  }

  // Printable ASCII inside quotes, everything else as #nn; 8-bit text keeps its upper half.
  template <class Text>
  static AnsiString QuotedText(const Text& text)
  {
    if (text.empty()) return "''";
    AnsiString quoted;
    bool inQuotes = false;
    for (const auto c : text) {
      const auto code = static_cast<uint32_t>(static_cast<std::make_unsigned_t<decltype(c)>>(c));
      const bool literal = code >= 32 && code != 127 && (code < 128 || sizeof(c) == 1);
      if (literal != inQuotes) {
        quoted += '\'';
        inQuotes = literal;
      }
      if (!literal) {
        quoted += '#';
        quoted += std::to_string(code);
      }
      else if (c == '\'')
        quoted += "''";
      else
        quoted += static_cast<char>(c);
    }
    if (inQuotes) quoted += '\'';
    return quoted;
  }

  TReader& FReader;
  AnsiString FText;
};

}  // namespace

void ObjectTextToBinary(TStream& input, TStream& output)
{
  const AnsiString text = ReadAll(input);
  TWriter writer(output);
  TTextParser(text, writer).ConvertForm();
}

void ObjectBinaryToText(TStream& input, TStream& output)
{
  TReader reader(input);
  const AnsiString text = TTextWriter(reader).ConvertForm();
  output.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}
