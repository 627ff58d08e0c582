#include "platform/Streams.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

// TStream -----------------------------------------------------------------------------------------

int64_t TStream::GetSize()
{
  const int64_t position = Seek(0, soCurrent);
  const int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::SetSize(int64_t)
{
  throw EStreamError(Format("Cannot change the size of a %s", ClassName()));
}

// Read and Write may transfer less than asked before the end (a pipe does); only a transfer that
// stops short of the count is an error.

void TStream::ReadBuffer(void* buffer, int32_t count)
{
  auto* bytes = static_cast<char*>(buffer);
  for (int32_t done = 0; done < count;) {
    const int32_t transferred = Read(bytes + done, count - done);
    if (transferred <= 0) throw EReadError("Stream read error");
    done += transferred;
  }
  if (count < 0) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int32_t count)
{
  const auto* bytes = static_cast<const char*>(buffer);
  for (int32_t done = 0; done < count;) {
    const int32_t transferred = Write(bytes + done, count - done);
    if (transferred <= 0) throw EWriteError("Stream write error");
    done += transferred;
  }
  if (count < 0) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
  if (count == 0) {
    source.SetPosition(0);
    count = source.GetSize();
  }
  if (count <= 0) return 0;
  constexpr int64_t MaxBufferSize = 0xF000;
  std::vector<char> buffer(static_cast<size_t>(std::min(count, MaxBufferSize)));
  for (int64_t left = count; left > 0;) {
    const auto chunk = static_cast<int32_t>(std::min<int64_t>(left, buffer.size()));
    source.ReadBuffer(buffer.data(), chunk);
    WriteBuffer(buffer.data(), chunk);
    left -= chunk;
  }
  return count;
}

// TCustomMemoryStream -----------------------------------------------------------------------------

int32_t TCustomMemoryStream::Read(void* buffer, int32_t count)
{
  if (FPosition < 0 || count <= 0) return 0;
  const int64_t available = FSize - FPosition;
  if (available <= 0) return 0;
  const auto transferred = static_cast<int32_t>(std::min<int64_t>(count, available));
  std::memcpy(buffer, static_cast<const char*>(FMemory) + FPosition, transferred);
  FPosition += transferred;
  return transferred;
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
  switch (origin) {
  case soBeginning: FPosition = offset; break;
  case soCurrent: FPosition += offset; break;
  case soEnd: FPosition = FSize + offset; break;
  }
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) const
{
  stream.WriteBuffer(FMemory, static_cast<int32_t>(FSize));
}

void TCustomMemoryStream::SetPointer(void* memory, int64_t size)
{
  FMemory = memory;
  FSize = size;
}

// TMemoryStream -----------------------------------------------------------------------------------

TMemoryStream::~TMemoryStream()
{
  std::free(Memory());
}

void TMemoryStream::SetCapacity(int64_t capacity)
{
  // Grow in whole blocks, so that a run of small writes does not reallocate each time.
  constexpr int64_t Delta = 0x2000;
  if (capacity > 0 && capacity > FCapacity) capacity = (capacity + Delta - 1) & ~(Delta - 1);
  if (capacity == FCapacity) return;
  if (capacity > std::numeric_limits<int32_t>::max())
    throw EStreamError("Out of memory while expanding memory stream");
  void* memory = nullptr;
  if (capacity == 0) {
    std::free(Memory());
  } else {
    memory = std::realloc(Memory(), static_cast<size_t>(capacity));
    if (!memory) throw EStreamError("Out of memory while expanding memory stream");
  }
  SetPointer(memory, std::min(GetSize(), capacity));
  FCapacity = capacity;
}

void TMemoryStream::SetSize(int64_t size)
{
  if (size < 0) size = 0;
  const int64_t oldSize = GetSize();
  if (size > FCapacity) SetCapacity(size);
  if (size > oldSize)
    std::memset(static_cast<char*>(Memory()) + oldSize, 0, static_cast<size_t>(size - oldSize));
  SetPointer(Memory(), size);
  if (Position() > size) SetPositionField(size);
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count)
{
  const int64_t position = Position();
  if (position < 0 || count <= 0) return 0;
  const int64_t end = position + count;
  if (end > GetSize()) SetSize(end);
  std::memcpy(static_cast<char*>(Memory()) + position, buffer, count);
  SetPositionField(end);
  return count;
}

void TMemoryStream::Clear()
{
  SetCapacity(0);
  SetPositionField(0);
}

void TMemoryStream::LoadFromStream(TStream& stream)
{
  stream.SetPosition(0);
  const int64_t size = stream.GetSize();
  SetSize(size);
  stream.ReadBuffer(Memory(), static_cast<int32_t>(size));
  SetPositionField(0);
}
