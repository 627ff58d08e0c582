// The stream string format of Qv_utils: a signed 32-bit little-endian byte count, then that many
// 8-bit characters without a terminator. Pure.
#pragma once

#include "platform/Streams.h"
#include "platform/SysUtils.h"

// Reads a string at the stream's position. A stream that ends early gives the characters it held; a
// count of 0 or less, or no count at all, gives an empty string.
AnsiString ReadString(TStream& Stream);

// Raises EWriteError when the stream takes fewer bytes.
void WriteString(TStream& Stream, const AnsiString& S);
