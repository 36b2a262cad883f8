// Tolerance comparison of 64-bit floats, shared by the clipper and the export of drilled holes.
#pragma once

#include "platform/SysUtils.h"

namespace qbt {

// Raised when a check that cannot fail for real numbers fails (a not-a-number operand).
class EAssertionFailed : public Exception {
public:
  using Exception::Exception;
};

// True when -Eps <= A - B <= Eps. Raises EAssertionFailed when A or B is not a number.
bool IsEqual(double A, double B, double Eps);
// IsEqual(A, B, 1e-12).
bool IsEqual(double A, double B);

} // namespace qbt
