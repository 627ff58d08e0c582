// The readable text form of form data, and conversion both ways. Pure: no Windows header.
//
//   object MainForm: TMainForm
//     Caption = 'Zarinelle'            strings: quoted parts and #nn characters, joined by +
//     Color = clBtnFace                identifiers; True, False and nil
//     Font.Style = [fsBold]            sets
//     Ratio = 1.5                      floats; a suffix s, c or d makes a single, currency or date
//     Lines.Strings = (                lists
//       'a')
//     ControlData = {                  binary data in hexadecimal
//       0A0B}
//     Items = <                        collections
//       item
//         Tag = 1
//       end>
//     object Flash: TqvFlashPlayer     children
//     end
//   end
//
// A string holding a #nn character above 127 is a wide string; otherwise it is 8-bit text.
#pragma once

#include "platform/Streams.h"

// Raises EParserError "<what> on line <n>" for text that is not a form.
void ObjectTextToBinary(TStream& input, TStream& output);
// Raises the reader's errors for damaged form data.
void ObjectBinaryToText(TStream& input, TStream& output);
