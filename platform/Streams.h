// Byte streams: the abstract TStream and the memory streams. Pure: no Windows header (the streams
// over files, handles and resources are in FileStreams.h).
#pragma once

#include "platform/Classes.h"

#include <cstdint>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
  QV_CLASS(TStream, TObject)
public:
  // Read and Write transfer up to `count` bytes and return how many they did.
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }
  virtual int64_t GetSize();
  // The default raises EStreamError: not every stream can change its size.
  virtual void SetSize(int64_t size);

  // Transfer exactly `count` bytes or raise EReadError "Stream read error" / EWriteError "Stream
  // write error".
  void ReadBuffer(void* buffer, int32_t count);
  void WriteBuffer(const void* buffer, int32_t count);
  // Copies `count` bytes from the source's position; a count of 0 copies the whole source from its
  // start. Returns the number of bytes copied.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over one block of memory.
class TCustomMemoryStream : public TStream {
  QV_CLASS(TCustomMemoryStream, TStream)
public:
  int32_t Read(void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t GetSize() override { return FSize; }

  void* Memory() const { return FMemory; }
  void SaveToStream(TStream& stream) const;
  // Raises EFCreateError when the file cannot be created.
  void SaveToFile(const AnsiString& fileName) const;

protected:
  void SetPointer(void* memory, int64_t size);
  int64_t Position() const { return FPosition; }
  void SetPositionField(int64_t position) { FPosition = position; }

private:
  void* FMemory = nullptr;
  int64_t FSize = 0;
  int64_t FPosition = 0;
};

// A growable stream in memory. Bytes that growth exposes read as zero.
class TMemoryStream : public TCustomMemoryStream {
  QV_CLASS(TMemoryStream, TCustomMemoryStream)
public:
  TMemoryStream() = default;
  ~TMemoryStream() override;

  int32_t Write(const void* buffer, int32_t count) override;
  void SetSize(int64_t size) override;
  void Clear();

  // Replace the contents with the whole of `stream` / of the file (EFOpenError when the file cannot
  // be opened), and set the position to 0.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const AnsiString& fileName);

  int64_t Capacity() const { return FCapacity; }

private:
  void SetCapacity(int64_t capacity);

  int64_t FCapacity = 0;
};
