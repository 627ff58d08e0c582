// Rounding shared by the colour model and the scaled copies. Pure.
#pragma once

#include <cmath>
#include <cstdint>

// Nearest integer, ties to the even neighbour (the processor's default rounding). A value beyond
// the 64-bit range, or not a number, gives an unspecified value rather than undefined behaviour.
inline int64_t RoundEven(long double v)
{
  return std::llrint(v);
}

// A value rounded to a 32-bit or 64-bit float. The store through memory makes the rounding happen
// on the x87 as well, where the compiler may otherwise keep the value unrounded in an 80-bit
// register.
inline float StoreSingle(long double v)
{
  volatile float stored = static_cast<float>(v);
  return stored;
}

inline double StoreDouble(long double v)
{
  volatile double stored = static_cast<double>(v);
  return stored;
}
