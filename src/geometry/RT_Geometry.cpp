#include "geometry/RT_Geometry.h"

#include <cmath>

namespace qbt {

bool IsEqual(double A, double B, double Eps) {
  const double Difference = A - B;
  // The two forms agree for every real difference; a NaN passes the negated form and fails the
  // bounded one, so a disagreement tells that an operand was not a number.
  const bool WithinByMagnitude = !(std::fabs(Difference) > Eps);
  const bool WithinBounds = -Eps <= Difference && Difference <= Eps;
  if (WithinByMagnitude != WithinBounds)
    throw EAssertionFailed("Error - Illogical error in equality check. (IsEqual)");
  return WithinBounds;
}

bool IsEqual(double A, double B) {
  return IsEqual(A, B, 1e-12);
}

} // namespace qbt
