#include <gtest/gtest.h>

#include "form_fixtures.h"
#include "platform/FormText.h"

namespace {

AnsiString Convert(const AnsiString& input, void (*convert)(TStream&, TStream&))
{
  TMemoryStream in, out;
  in.WriteBuffer(input.data(), static_cast<int32_t>(input.size()));
  in.SetPosition(0);
  convert(in, out);
  return BytesOf(out);
}

AnsiString ToBinary(const AnsiString& text)
{
  return Convert(text, ObjectTextToBinary);
}

AnsiString ToText(const AnsiString& binary)
{
  return Convert(binary, ObjectBinaryToText);
}

AnsiString WithoutCarriageReturns(AnsiString text)
{
  std::erase(text, '\r');
  return text;
}

// The bytes of the value of property P in a one-property form.
AnsiString ValueBytes(const AnsiString& value)
{
  const AnsiString binary = ToBinary("object A: TX\n  P = " + value + "\nend\n");
  const AnsiString head("TPF0\x02TX\x01" "A\x01P", 11);
  EXPECT_EQ(head, binary.substr(0, head.size()));
  EXPECT_EQ(AnsiString(2, '\0'), binary.substr(binary.size() - 2));
  return binary.substr(head.size(), binary.size() - head.size() - 2);
}

AnsiString Bytes(std::initializer_list<int> values)
{
  AnsiString bytes;
  for (int value : values) bytes += static_cast<char>(value);
  return bytes;
}

}  // namespace

TEST(FormText, BinaryToTextGivesBackTheCanonicalText)
{
  const AnsiString text = ResourceBytes("TESTFORMTEXT");
  const AnsiString back = ToText(ToBinary(text));
  EXPECT_EQ(text, WithoutCarriageReturns(back));
  EXPECT_NE(AnsiString::npos, back.find("end\r\n"));
}

TEST(FormText, EncodesEachValueInItsSmallestForm)
{
  const struct {
    const char* text;
    AnsiString bytes;
  } cases[] = {
    {"127", Bytes({vaInt8, 0x7F})},
    {"-128", Bytes({vaInt8, 0x80})},
    {"128", Bytes({vaInt16, 0x80, 0})},
    {"-129", Bytes({vaInt16, 0x7F, 0xFF})},
    {"$FF", Bytes({vaInt16, 0xFF, 0})},
    {"-$10", Bytes({vaInt8, 0xF0})},
    {"$FFFFFFFFFFFFFFFF", Bytes({vaInt8, 0xFF})},
    {"70000", Bytes({vaInt32, 0x70, 0x11, 0x01, 0})},
    {"5000000000", Bytes({vaInt64, 0x00, 0xF2, 0x05, 0x2A, 0x01, 0, 0, 0})},
    {"1.5", Bytes({vaExtended, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F})},
    {"-1e3", Bytes({vaExtended, 0, 0, 0, 0, 0, 0, 0, 0xFA, 0x08, 0xC0})},
    {"1.5s", Bytes({vaSingle, 0, 0, 0xC0, 0x3F})},
    {"2.5c", Bytes({vaCurrency, 0xA8, 0x61, 0, 0, 0, 0, 0, 0})},
    {"-0.00005c", Bytes({vaCurrency, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
    {"0.5d", Bytes({vaDate, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F})},
    {"''", Bytes({vaString, 0})},
    {"'It''s'#13#10", Bytes({vaString, 6}) + "It's\r\n"},
    {"'ab' +\n    'cd'", Bytes({vaString, 4}) + "abcd"},
    {"#1078'x'", Bytes({vaWString, 2, 0, 0, 0, 0x36, 0x04, 'x', 0})},
    {"#128", Bytes({vaWString, 1, 0, 0, 0, 0x80, 0})},
    {"clBtnFace", Bytes({vaIdent, 9}) + "clBtnFace"},
    {"Form2.Button1", Bytes({vaIdent, 13}) + "Form2.Button1"},
    {"True", Bytes({vaTrue})},
    {"false", Bytes({vaFalse})},
    {"nil", Bytes({vaNil})},
    {"[]", Bytes({vaSet, 0})},
    {"[a, bc]", Bytes({vaSet, 1, 'a', 2, 'b', 'c', 0})},
    {"(1 'x' ())", Bytes({vaList, vaInt8, 1, vaString, 1, 'x', vaList, vaNull, vaNull})},
    {"{0aFF\n  10}", Bytes({vaBinary, 3, 0, 0, 0, 0x0A, 0xFF, 0x10})},
    {"{}", Bytes({vaBinary, 0, 0, 0, 0})},
    {"<\n item\n P = 1\n end\n item [3]\n end>",
     Bytes({vaCollection, vaList, 1, 'P', vaInt8, 1, vaNull, vaInt8, 3, vaList, vaNull, vaNull})},
    {"<item [-2147483648] end>",
     Bytes({vaCollection, vaInt32, 0, 0, 0, 0x80, vaList, vaNull, vaNull})},
  };
  for (const auto& c : cases) EXPECT_EQ(c.bytes, ValueBytes(c.text)) << c.text;

  const AnsiString longText(300, 'x');
  EXPECT_EQ(Bytes({vaLString, 0x2C, 0x01, 0, 0}) + longText, ValueBytes("'" + longText + "'"));
}

TEST(FormText, EveryValueComesBackAsTheSameText)
{
  for (const char* value : {"-5", "-9223372036854775808", "1.5", "0.1", "1e+300", "5e-324", "2.0",
                            "0.25s", "1e-45s", "2.5c", "-3c", "-922337203685477.5808c", "0.5d",
                            "'It''s'#13#10'two'", "'caf'#233", "#1078", "clBtnFace", "True", "nil",
                            "[a, bc]", "[]", "{}"}) {
    const AnsiString text = AnsiString("object A: TX\n  P = ") + value + "\nend\n";
    EXPECT_EQ(text, WithoutCarriageReturns(ToText(ToBinary(text)))) << value;
  }
}

TEST(FormText, BinaryToTextRefusesNamesTheTextCannotHold)
{
  const auto withName = [](std::initializer_list<const char*> names, const char* ident) {
    TMemoryStream stream;
    TWriter writer(stream);
    writer.WriteSignature();
    for (const char* name : names) writer.WriteStr(name);
    writer.WriteIdent(ident);
    writer.WriteListEnd();
    writer.WriteListEnd();
    return BytesOf(stream);
  };
  EXPECT_NO_THROW(ToText(withName({"TX", "A", "Font.Name"}, "Form2.Button1")));
  for (const AnsiString& binary :
       {withName({"T X", "A", "P"}, "v"), withName({"TX", "1A", "P"}, "v"),
        withName({"TX", "A", "end"}, "v"), withName({"TX", "A", "P."}, "v"),
        withName({"TX", "A", "P"}, "a b")})
    EXPECT_THROW(ToText(binary), EReadError);
}

TEST(FormText, SyntaxErrorsNameTheLine)
{
  const AnsiString longName(256, 'N');
  const struct {
    AnsiString text;
    const char* message;
  } cases[] = {
    {"objekt A: TX\nend\n", "'object' expected on line 1"},
    {"inherited A: TX\nend\n", "Inherited and inline components are not supported on line 1"},
    {"object A: TX\n  P 1\nend\n", "'=' expected on line 2"},
    {"object A: TX\n  P = 'abc\nend\n", "Unterminated string on line 2"},
    {"object A: TX\n  P = {0A0}\nend\n", "Invalid binary data on line 2"},
    {"object A: TX\n  P = {0A\n\n0G}\nend\n", "Invalid binary data on line 4"},
    {"object A: TX\n  P = [a b]\nend\n", "',' expected on line 2"},
    {"object A: TX\n  P = [a.b]\nend\n", "Name expected on line 2"},
    {"object A: T.X\nend\n", "Name expected on line 1"},
    {"object A: TX\n  P = 99999999999999999999\nend\n", "Invalid integer on line 2"},
    {"object A: TX\n  P = 9223372036854775808\nend\n", "Invalid integer on line 2"},
    {"object A: TX\n  P = 1e999\nend\n", "Invalid floating point number on line 2"},
    {"object A: TX\n  P = 922337203685477.5808c\nend\n", "Invalid currency value on line 2"},
    {"object A: TX\n  P = 12abc\nend\n", "Invalid number on line 2"},
    {"object A: TX\n  P = ($1G)\nend\n", "Invalid number on line 2"},
    {"object A: TX\n  P = 1\n  " + longName + " = 1\nend\n", "Identifier too long on line 3"},
    {"object A: TX\n  P = #\nend\n", "Character code expected on line 2"},
    {"object A: TX\n  P = 1\n", "'end' expected on line 3"},
    {"object A: TX\n  object B: TY\n  end\n  P = 1\nend\n", "'object' expected on line 4"},
    {"object A: TX\n  P = <\n  item\n  >\nend\n", "Identifier expected on line 4"},
    {"object A: TX\n  P = <\n  item [2147483648]\n  end>\nend\n", "Invalid integer on line 3"},
    {"object A: TX\n  P = <\n  item [-2147483649]\n  end>\nend\n", "Invalid integer on line 3"},
    {"object A: TX\nend\nobject B: TY\nend\n", "End of text expected on line 3"},
    {"object A: TX\n  P = ;\nend\n", "Property value expected on line 2"},
  };
  for (const auto& c : cases) {
    try {
      ToBinary(c.text);
      ADD_FAILURE() << "accepted " << c.text;
    } catch (const EParserError& e) {
      EXPECT_EQ(c.message, e.Message);
    }
  }
}

TEST(FormText, DeepNestingIsRefusedBothWays)
{
  const AnsiString deepText = "object A: TX\n  P = " + AnsiString(200, '(') + "\nend\n";
  EXPECT_THROW(ToBinary(deepText), EParserError);

  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteSignature();
  writer.WriteStr("TX");
  writer.WriteStr("A");
  writer.WriteStr("P");
  for (int i = 0; i < 200; ++i) writer.WriteListBegin();
  for (int i = 0; i < 200; ++i) writer.WriteListEnd();
  writer.WriteListEnd();
  writer.WriteListEnd();
  const AnsiString deepBinary = BytesOf(stream);
  EXPECT_THROW(ToText(deepBinary), EReadError);
  EXPECT_THROW(ToText(deepBinary.substr(0, 30)), EReadError);
}
