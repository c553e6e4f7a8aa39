// Lags side by side must give what one lag at a time gives, bit for bit:
// the tracker's tempi and beats may not move with how the loop is laid out.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "bridge/maths/lag_products.h"

namespace {

template <class T>
T oneLag(const std::vector<T>& a, int n, int lag) {
  T sum = 0;
  for (int i = lag; i < n; ++i) sum += a[static_cast<std::size_t>(i)] * a[static_cast<std::size_t>(i - lag)];
  return sum;
}

template <class T, int kLags>
void expectSameAsOneLagAtATime() {
  std::mt19937 random(7);
  std::uniform_real_distribution<T> value(-1, 1);
  for (int n : {1, 6, 9, 100, 333}) {
    std::vector<T> a(static_cast<std::size_t>(n));
    for (T& v : a) v = value(random);
    // Lags from none to past the end (which sum to nothing).
    for (int first : {0, 1, 5, n / 2, n - 2, n + 3}) {
      if (first < 0) continue;
      T sums[kLags];
      vbvis::sumLagProducts<T, kLags>(a.data(), n, first, sums);
      for (int k = 0; k < kLags; ++k) EXPECT_EQ(sums[k], oneLag(a, n, first + k)) << "n " << n << " lag " << first + k;
    }
  }
}

}  // namespace

TEST(LagProducts, EqualOneLagAtATimeBitForBit) {
  expectSameAsOneLagAtATime<float, 8>();
  expectSameAsOneLagAtATime<float, 4>();
  expectSameAsOneLagAtATime<double, 6>();
}
