#include "geometry/RT_Geometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace qbt {
namespace {

TEST(IsEqualTest, ComparesWithinTolerance) {
  struct TCase {
    double A, B, Eps;
    bool Equal;
  };
  const TCase Cases[] = {
      {0, 1e-13, 1e-12, true},  // the default tolerance
      {0, 2e-12, 1e-12, false}, // just past it
      {1e-13, 0, 1e-12, true},  // either order
      {5, 5.5, 0.5, true},      // the bound itself is equal
      {5, 5.5000001, 0.5, false}, {-3, 3, 6, true},
      {1e300, -1e300, 1, false}, // the difference overflows to infinity
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(IsEqual(C.A, C.B, C.Eps), C.Equal) << C.A << " vs " << C.B << " within " << C.Eps;
  EXPECT_TRUE(IsEqual(0, 1e-13));
  EXPECT_FALSE(IsEqual(0, 2e-12));
}

TEST(IsEqualTest, NotANumberFailsTheAssertion) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  for (const auto& [A, B] : {std::pair{NaN, 0.0}, std::pair{0.0, NaN}, std::pair{NaN, NaN}}) {
    try {
      IsEqual(A, B);
      ADD_FAILURE() << "no assertion for " << A << ", " << B;
    } catch (const EAssertionFailed& E) {
      EXPECT_EQ(E.Message(), "Error - Illogical error in equality check. (IsEqual)");
    }
  }
}

} // namespace
} // namespace qbt
