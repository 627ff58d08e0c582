// Form data: the binary streamed-component format. Pure: no Windows header.
//
// A stream starts with the signature "TPF0" and holds one component: its class name and its name
// (each a length byte and the characters), its properties, a 0, its children (components in the
// same form), a 0. A property is its name (a length byte and the characters; a nested object's
// properties are named by their path, "Font.Name") and one typed value. Integers are
// little-endian.
//
// Reading creates the children by class (published fields of the root, then the class registry),
// sets csLoading while reading, resolves component references and events by name once the whole
// tree is read, then calls Loaded on every component in the order they were created. Every error
// raises an EFilerError (EReadError, EClassNotFound) or the error of the failing setter, with the
// message prefixed by "Error reading Component.Property: ".
#pragma once

#include "platform/Components.h"
#include "platform/Streams.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TCollection;

enum TValueType : uint8_t {
  vaNull,        // the end of a list
  vaList,        // values up to a vaNull
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,    // 80-bit floating point
  vaString,      // a length byte and up to 255 characters
  vaIdent,       // an identifier, stored like vaString
  vaFalse,
  vaTrue,
  vaBinary,      // a 32-bit length and the bytes
  vaSet,         // element names, each stored like vaString, up to an empty one
  vaLString,     // a 32-bit length and the characters
  vaNil,
  vaCollection,  // items (an optional integer order, then a list of properties) up to a vaNull
  vaSingle,
  vaCurrency,    // a 64-bit integer in units of 1/10000
  vaDate,        // a 64-bit floating-point count of days
  vaWString,     // a 32-bit count of UTF-16 characters and the characters
  vaInt64,
  vaUTF8String,  // a 32-bit length and the UTF-8 bytes
};

using TBytes = std::vector<uint8_t>;

// What TReader and TWriter share: the stream and the properties a class defines for itself.
class TFiler {
public:
  using TReaderProc = std::function<void(TReader&)>;
  using TWriterProc = std::function<void(TWriter&)>;
  using TStreamProc = std::function<void(TStream&)>;

  explicit TFiler(TStream& stream) : FStream(stream) {}
  virtual ~TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  // Called from DefineProperties. A property whose value the procedures read and write themselves
  // with the reader's and writer's value operations; it is written only when `hasData`.
  virtual void DefineProperty(const AnsiString& name, const TReaderProc& readData,
                              const TWriterProc& writeData, bool hasData) = 0;
  // A binary property: its bytes, framed by a vaBinary tag and a 32-bit length, are read from and
  // written to a stream of their own; it is written only when `hasData`.
  virtual void DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData,
                                    const TStreamProc& writeData, bool hasData) = 0;

  TStream& Stream() const { return FStream; }
  // The component at the top of the form being read or written.
  TComponent* Root() const { return FRoot; }

protected:
  TStream& FStream;
  TComponent* FRoot = nullptr;
};

class TReader : public TFiler {
public:
  explicit TReader(TStream& stream);
  ~TReader() override;

  // Reads a whole form into `root`, or into a new component of the stored class (owned by no one)
  // when `root` is null, and returns it. A new root is freed again when reading fails.
  TComponent* ReadRootComponent(TComponent* root);
  // Reads the properties and the children of `component`: the default of TComponent::ReadState.
  void ReadData(TComponent* component);

  void DefineProperty(const AnsiString& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  // Values, for DefineProperty readers and converters. Each raises EReadError "Invalid property
  // value" for a value of another type and "Stream read error" for data that ends too soon.
  void ReadSignature();
  // Checks the start of a component for the flags of inherited and inline components, which our
  // forms never hold.
  void ReadPrefix();
  TValueType ReadValue();
  TValueType NextValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  // Integers of any size that fit.
  int32_t ReadInteger();
  int64_t ReadInt64();
  bool ReadBoolean();
  // Any floating-point value or an integer.
  double ReadFloat();
  // vaCurrency, in units of 1/10000.
  int64_t ReadCurrency();
  // Any kind of string; 8-bit text converts through the system code page.
  AnsiString ReadString();
  std::u16string ReadWideString();
  // An identifier; false, true, nil and null read as "False", "True", "nil" and "Null".
  AnsiString ReadIdent();
  // A length byte and the characters: names, and the elements of a set.
  AnsiString ReadStr();
  TBytes ReadBinary();

private:
  struct TFixup;
  class TNesting;

  void ReadComponent(TComponent* parent);
  void Abandon(TComponent* created);
  const TClassInfo& FindComponentClass(const AnsiString& className) const;
  void ReadProperty(TPersistent* instance);
  void ReadPropValue(TPersistent* instance, const TPropInfo& property);
  void ReadCollection(TCollection* collection);
  void ResolveFixups();
  void ReadBytes(void* buffer, int64_t count);
  void CheckAvailable(int64_t count);
  template <class T>
  T ReadLittleEndian();
  AnsiString ReadCountedString(int64_t count);
  [[noreturn]] void PropValueError();
  [[noreturn]] void PropertyError(const AnsiString& name);
  AnsiString Context() const;
  void AnnotateError(Exception& error);

  int64_t FSize = 0;
  std::vector<TComponent*> FLoaded;
  std::vector<TFixup> FFixups;
  // The collection items being read, outermost first.
  std::vector<TCollectionItem*> FItemPath;
  int FDepth = 0;
  // The component being read and the path of its property, for error messages.
  AnsiString FComponentLabel;
  AnsiString FPropPath;
  // The last part of the name of the property being read, while DefineProperties runs for it.
  AnsiString FPropName;
  bool FErrorAnnotated = false;
};

class TWriter : public TFiler {
public:
  explicit TWriter(TStream& stream) : TFiler(stream) {}

  // Writes the signature and the whole form of `root`.
  void WriteRootComponent(TComponent* root);
  void WriteComponent(TComponent* component);
  // Writes the name, properties and children of `component`: the default of
  // TComponent::WriteState.
  void WriteData(TComponent* component);
  // Writes the published properties that differ from their defaults, then the defined ones.
  void WriteProperties(TPersistent* instance);
  void WriteCollection(TCollection* collection);

  void DefineProperty(const AnsiString& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  // Values, for DefineProperty writers and converters.
  void WriteSignature();
  void WriteValue(TValueType value);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  // In the smallest integer type that holds the value.
  void WriteInteger(int64_t value);
  void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
  // As an 80-bit float.
  void WriteFloat(double value);
  void WriteSingle(float value);
  // In units of 1/10000.
  void WriteCurrency(int64_t value);
  void WriteDate(double value);
  // Up to 255 characters as vaString, longer as vaLString.
  void WriteString(std::string_view value);
  // As vaWString when a character lies outside ASCII, otherwise as 8-bit text.
  void WriteWideString(std::u16string_view value);
  // False, True, nil and Null (any case) write their own value types.
  void WriteIdent(std::string_view ident);
  // A length byte and the characters; raises EWriteError beyond 255 characters.
  void WriteStr(std::string_view value);
  void WriteBinary(const void* data, int32_t count);

private:
  void WriteProperty(TPersistent* instance, const TPropInfo& property);
  void WritePropName(std::string_view name);
  AnsiString ReferenceName(TComponent* component, const TPropInfo& property);
  [[noreturn]] void WriteError(const TPropInfo& property, const AnsiString& reason);
  template <class T>
  void WriteLittleEndian(T value);

  // The component being written and the path of the nested object whose properties are being
  // written ("Font.").
  AnsiString FComponentLabel;
  AnsiString FPropPath;
};

// Reads a whole form from `stream` into `root` (see TReader::ReadRootComponent).
TComponent* ReadComponent(TStream& stream, TComponent* root);
// Writes the whole form of `root` to `stream`.
void WriteComponent(TStream& stream, TComponent* root);

// Between the 64-bit doubles of our properties and the 80-bit floats of form data.
void DoubleToExtended(double value, uint8_t extended[10]);
double ExtendedToDouble(const uint8_t extended[10]);
