#pragma once
#include <algorithm>
#include <cstring>

namespace vbvis {

// Sixteen bytes of T as one vector (GCC's vector extension).
template <class T>
struct Vector16;
template <>
struct Vector16<float> {
  typedef float Type __attribute__((vector_size(16)));
};
template <>
struct Vector16<double> {
  typedef double Type __attribute__((vector_size(16)));
};

// The sums of a[i] * a[i - lag] over i = lag .. n - 1 for kLags lags side
// by side (first, first + 1, ...): sums[k] for lag first + k. Each lag's
// products still add up one by one in the order of i, so every sum is bit
// for bit the plain loop's; but one pass over the values serves all the
// lags, in vectors of 16 bytes (the width every x86-64 has) that stay in
// registers. A lag of n or more sums to 0.
template <class T, int kLags>
void sumLagProducts(const T* a, int n, int first, T* sums) {
  using Lanes = typename Vector16<T>::Type;
  constexpr int kWidth = 16 / sizeof(T);
  constexpr int kVectors = kLags / kWidth;
  static_assert(kLags % kWidth == 0 && kVectors >= 1 && kVectors <= 4);
  const int start = first + kLags - 1;  // from here on every lag has begun
  // Lane k of the block holds lag first + kLags - 1 - k, so that its
  // values load forward from memory.
  T head[kLags] = {};
  for (int k = 0; k < kLags; ++k)
    for (int i = first + kLags - 1 - k; i < std::min(start, n); ++i) head[k] += a[i] * a[i - (first + kLags - 1 - k)];
  Lanes lanes[kVectors];
  std::memcpy(lanes, head, sizeof lanes);
  for (int i = start; i < n; ++i) {
    const T* earlier = a + i - start;
    for (int v = 0; v < kVectors; ++v) {
      Lanes values;
      std::memcpy(&values, earlier + v * kWidth, sizeof values);
      lanes[v] += a[i] * values;
    }
  }
  std::memcpy(sums, lanes, sizeof lanes);
  std::reverse(sums, sums + kLags);
}

}  // namespace vbvis
