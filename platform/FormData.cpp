#include "platform/FormData.h"

#include "platform/Collections.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace {

constexpr char Signature[4] = {'T', 'P', 'F', '0'};
// Far deeper than any real form, and shallow enough that damaged data cannot exhaust the stack.
constexpr int MaxNesting = 100;

[[noreturn]] void ReadError(const AnsiString& message)
{
  throw EReadError(message);
}

bool Fits(int64_t value, int64_t low, int64_t high)
{
  return value >= low && value <= high;
}

// How error messages name a component.
AnsiString LabelOf(const TComponent* component)
{
  return component->GetName().empty() ? component->ClassName() : component->GetName();
}

}  // namespace

// Extended floats ---------------------------------------------------------------------------------

void DoubleToExtended(double value, uint8_t extended[10])
{
  const auto bits = std::bit_cast<uint64_t>(value);
  const unsigned sign = static_cast<unsigned>(bits >> 63);
  int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);

  uint64_t mantissa = 0;
  unsigned biased = 0;
  if (exponent == 0x7FF) {  // infinities and NaNs
    biased = 0x7FFF;
    mantissa = (uint64_t(1) << 63) | (fraction << 11);
  } else if (exponent != 0 || fraction != 0) {
    if (exponent == 0) {  // a subnormal double is a normal extended
      exponent = 1;
      while (!(fraction & (uint64_t(1) << 52))) {
        fraction <<= 1;
        --exponent;
      }
    } else {
      fraction |= uint64_t(1) << 52;
    }
    biased = static_cast<unsigned>(exponent - 1023 + 16383);
    mantissa = fraction << 11;
  }
  for (int i = 0; i < 8; ++i) extended[i] = static_cast<uint8_t>(mantissa >> (8 * i));
  const unsigned top = (sign << 15) | biased;
  extended[8] = static_cast<uint8_t>(top);
  extended[9] = static_cast<uint8_t>(top >> 8);
}

double ExtendedToDouble(const uint8_t extended[10])
{
  uint64_t mantissa = 0;
  for (int i = 0; i < 8; ++i) mantissa |= uint64_t(extended[i]) << (8 * i);
  const unsigned top = extended[8] | (unsigned(extended[9]) << 8);
  const bool negative = (top & 0x8000) != 0;
  const int exponent = static_cast<int>(top & 0x7FFF);

  if (exponent == 0x7FFF && (mantissa << 1) != 0) {
    // A NaN keeps the top of its payload, and stays a NaN by its quiet bit.
    const uint64_t payload = ((mantissa << 1) >> 12) | (uint64_t(1) << 51);
    return std::bit_cast<double>((uint64_t(negative) << 63) | (uint64_t(0x7FF) << 52) | payload);
  }
  const double magnitude = exponent == 0x7FFF
                             ? std::numeric_limits<double>::infinity()
                             : std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
  return negative ? -magnitude : magnitude;
}

// TReader -----------------------------------------------------------------------------------------

struct TReader::TFixup {
  TPersistent* Instance;
  const TPropInfo* Property;
  AnsiString Name;
  AnsiString ComponentLabel;
  AnsiString PropPath;
  // The collection items, outermost first, whose properties hold this one.
  std::vector<TCollectionItem*> Items;
};

// Counts how deep the data nests while a reading function runs.
class TReader::TNesting {
public:
  explicit TNesting(TReader& reader) : FReader(reader)
  {
    if (reader.FDepth >= MaxNesting) ReadError("Form data is nested too deeply");
    ++reader.FDepth;
  }
  ~TNesting() { --FReader.FDepth; }
  TNesting(const TNesting&) = delete;
  TNesting& operator=(const TNesting&) = delete;

private:
  TReader& FReader;
};

TReader::TReader(TStream& stream) : TFiler(stream), FSize(stream.GetSize()) {}

TReader::~TReader() = default;

AnsiString TReader::Context() const
{
  return FPropPath.empty() ? FComponentLabel : FComponentLabel + "." + FPropPath;
}

void TReader::AnnotateError(Exception& error)
{
  if (FErrorAnnotated) return;
  FErrorAnnotated = true;
  const AnsiString context = Context();
  error.Message = "Error reading " + (context.empty() ? AnsiString("form data") : context) + ": " +
                  error.Message;
}

void TReader::PropValueError()
{
  ReadError("Invalid property value");
}

void TReader::PropertyError(const AnsiString& name)
{
  ReadError(Format("Property %s does not exist", name));
}

void TReader::CheckAvailable(int64_t count)
{
  if (count < 0 || count > FSize - FStream.GetPosition()) ReadError("Stream read error");
}

void TReader::ReadBytes(void* buffer, int64_t count)
{
  CheckAvailable(count);
  FStream.ReadBuffer(buffer, static_cast<int32_t>(count));
}

template <class T>
T TReader::ReadLittleEndian()
{
  uint8_t bytes[sizeof(T)];
  ReadBytes(bytes, sizeof bytes);
  std::make_unsigned_t<T> value = 0;
  for (size_t i = 0; i < sizeof(T); ++i)
    value |= static_cast<std::make_unsigned_t<T>>(bytes[i]) << (8 * i);
  return static_cast<T>(value);
}

AnsiString TReader::ReadCountedString(int64_t count)
{
  CheckAvailable(count);
  AnsiString text(static_cast<size_t>(count), '\0');
  ReadBytes(text.data(), count);
  return text;
}

void TReader::ReadSignature()
{
  char signature[4];
  if (FSize - FStream.GetPosition() < 4) ReadError("Invalid stream format");
  ReadBytes(signature, 4);
  if (!std::equal(signature, signature + 4, Signature)) ReadError("Invalid stream format");
}

TValueType TReader::ReadValue()
{
  const auto value = ReadLittleEndian<uint8_t>();
  if (value > vaUTF8String) ReadError("Invalid stream format");
  return static_cast<TValueType>(value);
}

TValueType TReader::NextValue()
{
  const TValueType value = ReadValue();
  FStream.Seek(-1, soCurrent);
  return value;
}

bool TReader::EndOfList()
{
  // The next byte may also be the length of a name, so it is not checked as a value type.
  const auto next = ReadLittleEndian<uint8_t>();
  FStream.Seek(-1, soCurrent);
  return next == vaNull;
}

void TReader::ReadListBegin()
{
  if (ReadValue() != vaList) PropValueError();
}

void TReader::ReadListEnd()
{
  if (ReadValue() != vaNull) PropValueError();
}

int64_t TReader::ReadInt64()
{
  switch (ReadValue()) {
  case vaInt8: return ReadLittleEndian<int8_t>();
  case vaInt16: return ReadLittleEndian<int16_t>();
  case vaInt32: return ReadLittleEndian<int32_t>();
  case vaInt64: return ReadLittleEndian<int64_t>();
  default: PropValueError();
  }
}

int32_t TReader::ReadInteger()
{
  const int64_t value = ReadInt64();
  if (!Fits(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()))
    PropValueError();
  return static_cast<int32_t>(value);
}

bool TReader::ReadBoolean()
{
  switch (ReadValue()) {
  case vaFalse: return false;
  case vaTrue: return true;
  default: PropValueError();
  }
}

double TReader::ReadFloat()
{
  switch (NextValue()) {
  case vaExtended: {
    ReadValue();
    uint8_t extended[10];
    ReadBytes(extended, sizeof extended);
    return ExtendedToDouble(extended);
  }
  case vaSingle: ReadValue(); return std::bit_cast<float>(ReadLittleEndian<uint32_t>());
  case vaDate: ReadValue(); return std::bit_cast<double>(ReadLittleEndian<uint64_t>());
  case vaCurrency: return static_cast<double>(ReadCurrency()) / 10000.0;
  default: return static_cast<double>(ReadInt64());
  }
}

int64_t TReader::ReadCurrency()
{
  if (ReadValue() != vaCurrency) PropValueError();
  return ReadLittleEndian<int64_t>();
}

AnsiString TReader::ReadStr()
{
  return ReadCountedString(ReadLittleEndian<uint8_t>());
}

AnsiString TReader::ReadString()
{
  switch (NextValue()) {
  case vaString: ReadValue(); return ReadStr();
  case vaLString: ReadValue(); return ReadCountedString(ReadLittleEndian<int32_t>());
  case vaWString:
  case vaUTF8String: return Utf16ToAnsi(ReadWideString());
  default: PropValueError();
  }
}

std::u16string TReader::ReadWideString()
{
  switch (NextValue()) {
  case vaWString: {
    ReadValue();
    const int64_t count = ReadLittleEndian<int32_t>();
    CheckAvailable(count * 2);
    std::u16string text(static_cast<size_t>(count), u'\0');
    for (char16_t& c : text) c = ReadLittleEndian<char16_t>();
    return text;
  }
  case vaUTF8String:
    ReadValue();
    return Utf8ToUtf16(ReadCountedString(ReadLittleEndian<int32_t>()));
  case vaString:
  case vaLString: return AnsiToUtf16(ReadString());
  default: PropValueError();
  }
}

AnsiString TReader::ReadIdent()
{
  switch (ReadValue()) {
  case vaIdent: return ReadStr();
  case vaFalse: return "False";
  case vaTrue: return "True";
  case vaNil: return "nil";
  case vaNull: return "Null";
  default: PropValueError();
  }
}

TBytes TReader::ReadBinary()
{
  if (ReadValue() != vaBinary) PropValueError();
  const int64_t count = ReadLittleEndian<int32_t>();
  CheckAvailable(count);
  TBytes bytes(static_cast<size_t>(count));
  ReadBytes(bytes.data(), count);
  return bytes;
}

// TReader - components and properties

TComponent* TReader::ReadRootComponent(TComponent* root)
{
  FErrorAnnotated = false;
  FLoaded.clear();
  FFixups.clear();
  FItemPath.clear();
  FComponentLabel.clear();
  FPropPath.clear();
  TComponent* created = nullptr;
  try {
    ReadSignature();
    ReadPrefix();
    const AnsiString className = ReadStr();
    const AnsiString name = ReadStr();
    FComponentLabel = name.empty() ? className : name;

    if (root) {
      const TClassInfo* info = &root->ClassType();
      while (info && !SameText(info->ClassName, className)) info = info->Parent;
      if (!info)
        ReadError(Format("The form data holds a %s, not a %s", className, root->ClassName()));
    } else {
      const TClassInfo& info = FindClass(className);
      if (!info.CreateComponent) ReadError(Format("%s is not a component class", className));
      root = created = info.CreateComponent(nullptr);
    }
    FRoot = root;
    root->Include(csLoading);
    root->Include(csReading);
    FLoaded.push_back(root);

    // A second form of the same class under the same owner gets a name of its own.
    AnsiString unique = name;
    TComponent* owner = root->Owner();
    for (int i = 1; owner && !name.empty(); ++i) {
      TComponent* other = owner->FindComponent(unique);
      if (!other || other == root) break;
      unique = Format("%s_%d", name, i);
    }
    root->SetName(unique);
    root->ReadState(*this);
    root->Exclude(csReading);

    ResolveFixups();
    for (size_t i = 0; i < FLoaded.size(); ++i) {
      TComponent* component = FLoaded[i];
      FComponentLabel = LabelOf(component);
      FPropPath.clear();
      component->Loaded();
    }
  } catch (Exception& error) {
    AnnotateError(error);
    Abandon(created);
    throw;
  } catch (...) {
    Abandon(created);
    throw;
  }
  FLoaded.clear();
  return root;
}

void TReader::Abandon(TComponent* created)
{
  for (TComponent* component : FLoaded) {
    component->Exclude(csLoading);
    component->Exclude(csReading);
  }
  FLoaded.clear();
  FFixups.clear();
  FRoot = nullptr;
  delete created;
}

void TReader::ReadPrefix()
{
  if ((ReadLittleEndian<uint8_t>() & 0xF0) == 0xF0)
    ReadError("Inherited and inline components are not supported");
  FStream.Seek(-1, soCurrent);
}

void TReader::ReadData(TComponent* component)
{
  TNesting nesting(*this);
  while (!EndOfList()) ReadProperty(component);
  ReadListEnd();
  FPropPath.clear();
  const AnsiString label = FComponentLabel;
  while (!EndOfList()) {
    ReadComponent(component);
    FComponentLabel = label;
    FPropPath.clear();
  }
  ReadListEnd();
}

const TClassInfo& TReader::FindComponentClass(const AnsiString& className) const
{
  // The classes of the root's published fields need no registration.
  for (const TClassInfo* info = &FRoot->ClassType(); info; info = info->Parent)
    for (const TFieldEntry& field : info->Fields)
      if (SameText(field.FieldClass().ClassName, className)) return field.FieldClass();
  return FindClass(className);
}

void TReader::ReadComponent(TComponent* parent)
{
  ReadPrefix();
  const AnsiString className = ReadStr();
  const AnsiString name = ReadStr();
  FComponentLabel = name.empty() ? className : name;
  FPropPath.clear();

  const TClassInfo& info = FindComponentClass(className);
  if (!info.CreateComponent) ReadError(Format("%s is not a component class", className));
  TComponent* component = info.CreateComponent(FRoot);
  const size_t loadedMark = FLoaded.size();
  try {
    component->Include(csLoading);
    component->Include(csReading);
    FLoaded.push_back(component);
    component->SetParentComponent(parent);
    component->SetName(name);
    component->ReadState(*this);
    component->Exclude(csReading);
  } catch (...) {
    // Whatever this component took with it when it goes must not be touched again.
    for (size_t i = loadedMark; i < FLoaded.size(); ++i) {
      FLoaded[i]->Exclude(csLoading);
      FLoaded[i]->Exclude(csReading);
    }
    FLoaded.resize(loadedMark);
    delete component;
    throw;
  }
}

void TReader::ReadProperty(TPersistent* instance)
{
  const AnsiString path = ReadStr();
  const AnsiString prefix = FPropPath.empty() || FPropPath.back() == '.' ? FPropPath : AnsiString();
  FPropPath = prefix + path;

  // "Font.Name": each part but the last names a nested object. A component is never one: the
  // property refers to it, and its properties are stored with it.
  TPersistent* target = instance;
  size_t start = 0;
  for (size_t dot; (dot = path.find('.', start)) != AnsiString::npos; start = dot + 1) {
    const TPropInfo* object = target->ClassType().FindProperty(path.substr(start, dot - start));
    if (!object || object->Type->Kind != TTypeKind::Class ||
        object->Type->ClassType().InheritsFrom(TComponent::StaticClass()))
      PropertyError(path);
    target = dynamic_cast<TPersistent*>(object->Get<TObject*>(*target));
    if (!target) PropertyError(path);
  }

  const AnsiString name = path.substr(start);
  if (const TPropInfo* property = target->ClassType().FindProperty(name)) {
    ReadPropValue(target, *property);
  } else {
    FPropName = name;
    target->DefineProperties(*this);
    if (!FPropName.empty()) PropertyError(path);
  }
  FPropPath = prefix;
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo& property)
{
  const TTypeInfo& type = *property.Type;
  if (!property.IsWritable() && !(type.Kind == TTypeKind::Class && NextValue() == vaCollection))
    ReadError("Property is read-only");

  switch (type.Kind) {
  case TTypeKind::Integer: {
    int64_t value = 0;
    if (NextValue() == vaIdent) {
      if (!IdentToInt(type, ReadIdent(), value)) PropValueError();
    } else {
      value = ReadInt64();
    }
    if (!Fits(value, type.MinValue, type.MaxValue)) PropValueError();
    property.Set<int64_t>(*instance, value);
    break;
  }
  case TTypeKind::Int64: property.Set<int64_t>(*instance, ReadInt64()); break;
  case TTypeKind::Enumeration: {
    const int value = type.EnumValue(ReadIdent());
    if (value < 0) PropValueError();
    property.Set<int64_t>(*instance, value);
    break;
  }
  case TTypeKind::Set: {
    if (ReadValue() != vaSet) PropValueError();
    uint64_t bits = 0;
    for (AnsiString element = ReadStr(); !element.empty(); element = ReadStr()) {
      const int value = type.ElementType->EnumValue(element);
      if (value < 0) PropValueError();
      bits |= uint64_t(1) << value;
    }
    property.Set<int64_t>(*instance, static_cast<int64_t>(bits));
    break;
  }
  case TTypeKind::Float: property.Set<double>(*instance, ReadFloat()); break;
  case TTypeKind::String: property.Set<AnsiString>(*instance, ReadString()); break;
  case TTypeKind::WString: property.Set<std::u16string>(*instance, ReadWideString()); break;
  case TTypeKind::Class:
    switch (NextValue()) {
    case vaNil:
      ReadValue();
      property.Set<TObject*>(*instance, nullptr);
      break;
    case vaCollection: {
      auto* collection = dynamic_cast<TCollection*>(property.Get<TObject*>(*instance));
      if (!collection) PropValueError();
      ReadValue();
      ReadCollection(collection);
      break;
    }
    case vaIdent:
      // A reference to another component, set once every component exists.
      if (!type.ClassType().InheritsFrom(TComponent::StaticClass())) PropValueError();
      FFixups.push_back({instance, &property, ReadIdent(), FComponentLabel, FPropPath, FItemPath});
      break;
    default: PropValueError();
    }
    break;
  case TTypeKind::Method:
    if (NextValue() == vaNil) {
      ReadValue();
      property.Set<TMethod>(*instance, TMethod());
    } else {
      if (NextValue() != vaIdent) PropValueError();
      FFixups.push_back({instance, &property, ReadIdent(), FComponentLabel, FPropPath, FItemPath});
    }
    break;
  }
}

void TReader::ReadCollection(TCollection* collection)
{
  TNesting nesting(*this);
  const AnsiString collectionPath = FPropPath;
  collection->BeginUpdate();
  try {
    // Data that holds the collection twice replaces the items read first, and with them the
    // references they were waiting for.
    const auto inCollection = [collection](const TCollectionItem* item) {
      return item->Collection() == collection;
    };
    std::erase_if(FFixups, [&](const TFixup& fixup) {
      return std::any_of(fixup.Items.begin(), fixup.Items.end(), inCollection);
    });
    collection->Clear();
    for (int index = 0; !EndOfList(); ++index) {
      FPropPath = Format("%s[%d]", collectionPath, index);
      // An item may start with its order in an inherited collection; it changes nothing here.
      if (const TValueType next = NextValue(); next >= vaInt8 && next <= vaInt32) ReadInteger();
      ReadListBegin();
      TCollectionItem* item = collection->Add();
      FItemPath.push_back(item);
      FPropPath += '.';
      while (!EndOfList()) ReadProperty(item);
      ReadListEnd();
      FItemPath.pop_back();
    }
    FPropPath = collectionPath;
    ReadListEnd();
  } catch (...) {
    collection->EndUpdate();
    throw;
  }
  collection->EndUpdate();
}

void TReader::ResolveFixups()
{
  for (const TFixup& fixup : FFixups) {
    FComponentLabel = fixup.ComponentLabel;
    FPropPath = fixup.PropPath;
    const TTypeInfo& type = *fixup.Property->Type;
    if (type.Kind == TTypeKind::Method) {
      const TMethodEntry* method = FRoot->ClassType().FindMethod(fixup.Name);
      if (!method) ReadError(Format("Method %s not found in %s", fixup.Name, FRoot->ClassName()));
      if (method->Signature != &type)
        ReadError(Format("Method %s does not match the event's parameters", fixup.Name));
      fixup.Property->Set<TMethod>(*fixup.Instance, TMethod{FRoot, method->Code});
    } else {
      TComponent* target = nullptr;
      if (!fixup.Name.empty())
        target = SameText(fixup.Name, FRoot->GetName()) ? FRoot : FRoot->FindComponent(fixup.Name);
      if (!target) ReadError(Format("Component %s not found", fixup.Name));
      const TClassInfo& expected = type.ClassType();
      if (!target->InheritsFrom(expected))
        ReadError(
          Format("%s is a %s, not a %s", fixup.Name, target->ClassName(), expected.ClassName));
      fixup.Property->Set<TObject*>(*fixup.Instance, target);
    }
  }
  FFixups.clear();
}

void TReader::DefineProperty(const AnsiString& name, const TReaderProc& readData,
                             const TWriterProc&, bool)
{
  if (FPropName.empty() || !readData || !SameText(name, FPropName)) return;
  FPropName.clear();
  readData(*this);
}

void TReader::DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData,
                                   const TStreamProc&, bool)
{
  if (FPropName.empty() || !readData || !SameText(name, FPropName)) return;
  FPropName.clear();
  if (ReadValue() != vaBinary) PropValueError();
  const int64_t count = ReadLittleEndian<int32_t>();
  CheckAvailable(count);
  TMemoryStream data;
  data.SetSize(count);
  ReadBytes(data.Memory(), count);
  data.SetPosition(0);
  readData(data);
}

// TWriter -----------------------------------------------------------------------------------------

template <class T>
void TWriter::WriteLittleEndian(T value)
{
  uint8_t bytes[sizeof(T)];
  const auto bits = static_cast<std::make_unsigned_t<T>>(value);
  for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
  FStream.WriteBuffer(bytes, sizeof bytes);
}

void TWriter::WriteError(const TPropInfo& property, const AnsiString& reason)
{
  throw EWriteError(Format("Error writing %s.%s%s: %s", FComponentLabel, FPropPath, property.Name,
                           reason));
}

void TWriter::WriteSignature()
{
  FStream.WriteBuffer(Signature, sizeof Signature);
}

void TWriter::WriteValue(TValueType value)
{
  WriteLittleEndian<uint8_t>(value);
}

void TWriter::WriteInteger(int64_t value)
{
  if (Fits(value, INT8_MIN, INT8_MAX)) {
    WriteValue(vaInt8);
    WriteLittleEndian(static_cast<int8_t>(value));
  } else if (Fits(value, INT16_MIN, INT16_MAX)) {
    WriteValue(vaInt16);
    WriteLittleEndian(static_cast<int16_t>(value));
  } else if (Fits(value, INT32_MIN, INT32_MAX)) {
    WriteValue(vaInt32);
    WriteLittleEndian(static_cast<int32_t>(value));
  } else {
    WriteValue(vaInt64);
    WriteLittleEndian(value);
  }
}

void TWriter::WriteFloat(double value)
{
  uint8_t extended[10];
  DoubleToExtended(value, extended);
  WriteValue(vaExtended);
  FStream.WriteBuffer(extended, sizeof extended);
}

void TWriter::WriteSingle(float value)
{
  WriteValue(vaSingle);
  WriteLittleEndian(std::bit_cast<uint32_t>(value));
}

void TWriter::WriteCurrency(int64_t value)
{
  WriteValue(vaCurrency);
  WriteLittleEndian(value);
}

void TWriter::WriteDate(double value)
{
  WriteValue(vaDate);
  WriteLittleEndian(std::bit_cast<uint64_t>(value));
}

void TWriter::WriteString(std::string_view value)
{
  if (value.size() <= 255) {
    WriteValue(vaString);
    WriteLittleEndian(static_cast<uint8_t>(value.size()));
  } else {
    WriteValue(vaLString);
    WriteLittleEndian(static_cast<int32_t>(value.size()));
  }
  FStream.WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
}

void TWriter::WriteWideString(std::u16string_view value)
{
  if (std::all_of(value.begin(), value.end(), [](char16_t c) { return c < 0x80; })) {
    WriteString(AnsiString(value.begin(), value.end()));
    return;
  }
  WriteValue(vaWString);
  WriteLittleEndian(static_cast<int32_t>(value.size()));
  for (char16_t c : value) WriteLittleEndian(c);
}

void TWriter::WriteIdent(std::string_view ident)
{
  if (SameText(ident, "False"))
    WriteValue(vaFalse);
  else if (SameText(ident, "True"))
    WriteValue(vaTrue);
  else if (SameText(ident, "nil"))
    WriteValue(vaNil);
  else if (SameText(ident, "Null"))
    WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

void TWriter::WriteStr(std::string_view value)
{
  if (value.size() > 255)
    throw EWriteError(Format("'%.32s...' is too long for a name in form data", value));
  WriteLittleEndian(static_cast<uint8_t>(value.size()));
  FStream.WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
}

void TWriter::WriteBinary(const void* data, int32_t count)
{
  WriteValue(vaBinary);
  WriteLittleEndian(count);
  FStream.WriteBuffer(data, count);
}

// TWriter - components and properties

void TWriter::WriteRootComponent(TComponent* root)
{
  FRoot = root;
  WriteSignature();
  WriteComponent(root);
}

void TWriter::WriteComponent(TComponent* component)
{
  component->Include(csWriting);
  try {
    component->WriteState(*this);
  } catch (...) {
    component->Exclude(csWriting);
    throw;
  }
  component->Exclude(csWriting);
}

void TWriter::WriteData(TComponent* component)
{
  const AnsiString label = FComponentLabel;
  FComponentLabel = LabelOf(component);
  WriteStr(component->ClassName());
  WriteStr(component->GetName());
  WriteProperties(component);
  WriteListEnd();
  component->GetChildren([this](TComponent* child) { WriteComponent(child); }, FRoot);
  WriteListEnd();
  FComponentLabel = label;
}

void TWriter::WriteProperties(TPersistent* instance)
{
  for (const TPropInfo* property : instance->ClassType().AllProperties())
    if (property->IsStored(*instance)) WriteProperty(instance, *property);
  instance->DefineProperties(*this);
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo& property)
{
  const TTypeInfo& type = *property.Type;
  switch (type.Kind) {
  case TTypeKind::Integer:
  case TTypeKind::Int64:
  case TTypeKind::Enumeration:
  case TTypeKind::Set: {
    const int64_t value = property.Get<int64_t>(*instance);
    const bool isDefault = property.Default ? value == *property.Default
                                            : type.Kind == TTypeKind::Int64 && value == 0;
    if (isDefault) return;
    if (type.Kind == TTypeKind::Enumeration && !type.IsBoolean() &&
        !Fits(value, 0, static_cast<int64_t>(type.Names.size()) - 1))
      WriteError(property, Format("%s is not a value of %s", IntToStr(value), type.Name));
    WritePropName(property.Name);
    if (type.Kind == TTypeKind::Integer) {
      if (const char* ident = IntToIdent(type, value))
        WriteIdent(ident);
      else
        WriteInteger(value);
    } else if (type.Kind == TTypeKind::Int64) {
      WriteInteger(value);
    } else if (type.IsBoolean()) {
      WriteBoolean(value != 0);
    } else if (type.Kind == TTypeKind::Enumeration) {
      WriteIdent(type.Names[static_cast<size_t>(value)]);
    } else {
      WriteValue(vaSet);
      const std::vector<AnsiString>& names = type.ElementType->Names;
      for (size_t i = 0; i < names.size(); ++i)
        if (static_cast<uint64_t>(value) & (uint64_t(1) << i)) WriteStr(names[i]);
      WriteStr("");
    }
    break;
  }
  case TTypeKind::Float: {
    const double value = property.Get<double>(*instance);
    if (value == 0) return;
    WritePropName(property.Name);
    if (type.FloatType == TFloatType::Single)
      WriteSingle(static_cast<float>(value));
    else
      WriteFloat(value);
    break;
  }
  case TTypeKind::String: {
    const AnsiString value = property.Get<AnsiString>(*instance);
    if (value.empty()) return;
    WritePropName(property.Name);
    WriteString(value);
    break;
  }
  case TTypeKind::WString: {
    const std::u16string value = property.Get<std::u16string>(*instance);
    if (value.empty()) return;
    WritePropName(property.Name);
    WriteWideString(value);
    break;
  }
  case TTypeKind::Class: {
    TObject* object = property.Get<TObject*>(*instance);
    if (!object) return;
    if (type.ClassType().InheritsFrom(TComponent::StaticClass())) {
      const AnsiString name = ReferenceName(dynamic_cast<TComponent*>(object), property);
      WritePropName(property.Name);
      WriteIdent(name);
    } else if (auto* collection = dynamic_cast<TCollection*>(object)) {
      if (collection->Count() == 0) return;
      WritePropName(property.Name);
      WriteCollection(collection);
    } else if (auto* nested = dynamic_cast<TPersistent*>(object)) {
      const AnsiString path = FPropPath;
      FPropPath += property.Name + ".";
      WriteProperties(nested);
      FPropPath = path;
    }
    break;
  }
  case TTypeKind::Method: {
    const TMethod method = property.Get<TMethod>(*instance);
    if (!method) return;
    const TMethodEntry* entry = FRoot ? FRoot->ClassType().FindMethod(method.Code) : nullptr;
    if (!entry || method.Data != static_cast<TObject*>(FRoot))
      WriteError(property, "its handler is not a published method of the form");
    WritePropName(property.Name);
    WriteIdent(entry->Name);
    break;
  }
  }
}

AnsiString TWriter::ReferenceName(TComponent* component, const TPropInfo& property)
{
  if (component == FRoot) return FRoot->GetName();
  if (component->Owner() != FRoot || component->GetName().empty())
    WriteError(property, "it refers to a component outside the form");
  return component->GetName();
}

void TWriter::WriteCollection(TCollection* collection)
{
  WriteValue(vaCollection);
  const AnsiString path = FPropPath;
  FPropPath.clear();
  for (int i = 0; i < collection->Count(); ++i) {
    WriteListBegin();
    WriteProperties(collection->GetItem(i));
    WriteListEnd();
  }
  WriteListEnd();
  FPropPath = path;
}

void TWriter::WritePropName(std::string_view name)
{
  WriteStr(FPropPath + AnsiString(name));
}

void TWriter::DefineProperty(const AnsiString& name, const TReaderProc&,
                             const TWriterProc& writeData, bool hasData)
{
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(*this);
}

void TWriter::DefineBinaryProperty(const AnsiString& name, const TStreamProc&,
                                   const TStreamProc& writeData, bool hasData)
{
  if (!hasData || !writeData) return;
  WritePropName(name);
  TMemoryStream data;
  writeData(data);
  WriteBinary(data.Memory(), static_cast<int32_t>(data.GetSize()));
}

// Whole forms -------------------------------------------------------------------------------------

TComponent* ReadComponent(TStream& stream, TComponent* root)
{
  TReader reader(stream);
  return reader.ReadRootComponent(root);
}

void WriteComponent(TStream& stream, TComponent* root)
{
  TWriter writer(stream);
  writer.WriteRootComponent(root);
}
