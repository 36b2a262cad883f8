#include "platform/DateUtils.h"

#include <cmath>
#include <gtest/gtest.h>

namespace qbt {
namespace {

TEST(DateUtils, EncodeAndDecodeDaysSince18991230) {
  const std::pair<TDateTimeRec, double> Cases[] = {
      {{1899, 12, 30, 0, 0, 0, 0}, 0},       {{1900, 1, 1, 0, 0, 0, 0}, 2},
      {{2009, 5, 12, 12, 0, 0, 0}, 39945.5}, {{2000, 2, 29, 6, 0, 0, 0}, 36585.25},
      {{1899, 12, 29, 6, 0, 0, 0}, -1.25},
  };
  for (const auto& [Parts, Value] : Cases) {
    TDateTime Encoded = -99;
    ASSERT_TRUE(TryEncodeDateTime(Parts, Encoded)) << Value;
    EXPECT_DOUBLE_EQ(Encoded, Value);
    const TDateTimeRec D = DecodeDateTime(Value);
    EXPECT_EQ(std::tie(D.Year, D.Month, D.Day, D.Hour, D.Minute, D.Second),
              std::tie(Parts.Year, Parts.Month, Parts.Day, Parts.Hour, Parts.Minute, Parts.Second));
  }
  for (double NoDate : {1e300, -1e300, 3e6, std::nan("")}) {
    EXPECT_EQ(DecodeDateTime(NoDate).Year, 1899) << NoDate;
  }
  // Just before midnight rounds to the next day rather than to hour 24.
  const TDateTimeRec Late = DecodeDateTime(1.9999999999);
  EXPECT_EQ(std::tie(Late.Day, Late.Hour), std::make_tuple(1, 0));

  const TDateTimeRec Invalid[] = {
      {2023, 2, 29}, {2009, 13, 1}, {2009, 4, 31}, {2009, 1, 1, 24}, {0, 1, 1}};
  for (const TDateTimeRec& Parts : Invalid) {
    TDateTime Unchanged = 7;
    EXPECT_FALSE(TryEncodeDateTime(Parts, Unchanged));
    EXPECT_EQ(Unchanged, 7);
  }
}

} // namespace
} // namespace qbt
