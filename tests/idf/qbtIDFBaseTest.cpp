#include "idf/qbtIDFBase.h"

#include <cfloat>
#include <cstring>
#include <gtest/gtest.h>

namespace qbt {
namespace {

// A host whose coordinate is a ten-thousandth of an inch, recording what it was asked.
struct FakeHost {
  static inline double LastMils = 0;
  static int32_t MMsToCoord(double V) { return static_cast<int32_t>(V / 0.00254); }
  static int32_t MilsToCoord(double V) {
    LastMils = V;
    return static_cast<int32_t>(V * 10);
  }
  static double CoordToMMs(int32_t C) { return C * 0.00254; }
  static double CoordToMils(int32_t C) { return C / 10.0; }
};

class CoordConvertScope {
public:
  explicit CoordConvertScope(bool Assign) : FSaved(QBTCoordConvert) {
    QBTCoordConvert = Assign ? TQBTCoordConvert{&FakeHost::MMsToCoord, &FakeHost::MilsToCoord,
                                                &FakeHost::CoordToMMs, &FakeHost::CoordToMils}
                             : TQBTCoordConvert{};
  }
  ~CoordConvertScope() { QBTCoordConvert = FSaved; }

private:
  TQBTCoordConvert FSaved;
};

bool SameBits(long double A, long double B) {
  return std::memcmp(&A, &B, 10) == 0;
}

TEST(Convert, FactorTable) {
  const long double X = 0.1L + 1e-19L;
  for (auto U : {udMM, udTNM, udTHOU, udCoord}) {
    EXPECT_TRUE(SameBits(Convert(X, U, U), X));
  }
  EXPECT_EQ(Convert(1, udMM, udTHOU), static_cast<long double>(39.37007874015748));
  EXPECT_EQ(Convert(1, udTHOU, udTNM), 2540.0L);
  EXPECT_EQ(Convert(2, udTNM, udMM), 2 * static_cast<long double>(0.00001));
}

TEST(Convert, HostCoordinatesGoThroughTheHook) {
  {
    CoordConvertScope Host(true);
    // From coordinates the value is rounded (ties to even) before the host is asked.
    EXPECT_EQ(Convert(12.5L, udCoord, udTHOU), static_cast<long double>(1.2));
    EXPECT_EQ(Convert(13.5L, udCoord, udTHOU), static_cast<long double>(1.4));
    EXPECT_EQ(Convert(100, udTHOU, udCoord), 1000.0L);
    EXPECT_EQ(FakeHost::LastMils, 100.0);
    EXPECT_EQ(ToCoord(7.5L, udCoord), 8.0L);
    const TQBTRectRec R = ConvertRect({{1, 2}, {3, 4}}, udTHOU, udCoord);
    EXPECT_EQ(R.Second.X, 30.0L);
    EXPECT_EQ(R.Second.Y, 40.0L);
  }
  CoordConvertScope NoHost(false);
  for (auto [From, To] :
       {std::pair{udCoord, udMM}, std::pair{udMM, udCoord}, std::pair{udCoord, udCoord}}) {
    if (From == To) {
      EXPECT_EQ(Convert(5, From, To), 5.0L); // nothing to convert, nothing raised
      EXPECT_THROW(ToCoord(5, udCoord), Exception);
      continue;
    }
    try {
      Convert(1, From, To);
      FAIL() << "no exception";
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), "Can not convert TCoord value. QBTCoordConvert should be assigned.");
    }
  }
}

TEST(FloatToIDF, Texts) {
  const std::pair<long double, const char*> Cases[] = {
      {5, "5.0"},
      {-2, "-2.0"},
      {0, "0.0"},
      {-0.0L, "0.0"},
      {1.25L, "1.25"},
      {static_cast<long double>(39.37007874015748), "39.3700787401575"},
      {0.000001L, "1E-6"},
      {0.000001234L, "1.234E-6"},
      {0.00001234L, "0.00001234"},
      {0.0001L, "0.0001"},
      {-0.5L, "-0.5"},
      {1e16L, "1E16"},
      {123456789012345.0L, "123456789012345.0"},
      {1234567890123456.0L, "1.23456789012346E15"},
      {2540.0L, "2540.0"},
      {0.1L, "0.1"},
      {9.9999999999999999L, "10.0"}, // rounds to 15 digits first
      {100 * static_cast<long double>(39.37007874015748) * static_cast<long double>(0.0254),
       "100.0"},
      {1.5e300L, "1.5E300"},
      // The extremes of the extended type, where one power of ten no longer fits it.
      {LDBL_MAX, "1.18973149535723E4932"},
      {LDBL_MIN, "3.36210314311209E-4932"},
      {-LDBL_TRUE_MIN, "-3.64519953188247E-4951"},
  };
  for (const auto& [Value, Text] : Cases) {
    EXPECT_EQ(FloatToIDF(Value), Text) << static_cast<double>(Value);
  }
  std::string S = "x";
  AppendIntToIDF(S, -12);
  AppendIntToIDF(S, INT64_MIN);
  EXPECT_EQ(S, "x-12-9223372036854775808");
}

class Named : public TQBTIDFFileItem {
public:
  QBT_CLASS_NAME(Named)
  static inline int Alive = 0;
  std::string Text;
  Named() { ++Alive; }
  ~Named() override { --Alive; }
  void GetText(std::string& Out) const override { Out = Text; }
  void Assign(const TQBTIDFPersistent& Source) override {
    TQBTIDFFileItem::Assign(Source);
    Text = dynamic_cast<const Named&>(Source).Text;
  }
};
using NamedList = TQBTIDFItemsOf<Named, TQBTIDFFileItems>;

TEST(Collections, OwnershipIndexesAndDeepAssign) {
  {
    NamedList L;
    for (const char* T : {"a", "b", "c"}) {
      L.Add()->Text = T;
    }
    Named* B = L.Items(1);
    EXPECT_EQ(B->Index(), 1);
    EXPECT_EQ(B->Collection(), &L);
    delete B; // leaves its collection
    ASSERT_EQ(L.Count(), 2);
    EXPECT_EQ(L.Items(1)->Text, "c");
    EXPECT_EQ(L.Items(1)->Index(), 1);

    L.Items(0)->SourceLine = 7;
    NamedList Copy;
    Copy.Add()->Text = "stale";
    Copy.Assign(L);
    ASSERT_EQ(Copy.Count(), 2);
    EXPECT_NE(Copy.Items(0), L.Items(0));
    EXPECT_EQ(Copy.Items(0)->Text, "a");
    EXPECT_EQ(Copy.Items(0)->SourceLine, 7);
    L.Clear();
    EXPECT_EQ(Copy.Items(1)->Text, "c");
    EXPECT_EQ(Named::Alive, 2);
  }
  EXPECT_EQ(Named::Alive, 0);
}

TEST(Collections, GetTextJoinsWithCrLf) {
  NamedList L;
  for (const char* T : {"first", "", "third"}) {
    L.Add()->Text = T;
  }
  std::string Text;
  L.GetText(Text);
  EXPECT_EQ(Text, "first\r\n\r\nthird");
  L.Items(0)->Text = "";
  L.GetText(Text);
  EXPECT_EQ(Text, "third"); // no break is added while the text so far is empty
}

TEST(Collections, AssignFromAnUnrelatedClassNamesBoth) {
  TQBTIDFPointsList Points;
  TQBTIDFPointItem Point;
  try {
    Points.Assign(Point);
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Cannot assign a TQBTIDFPointItem to a TQBTIDFPointsList");
  }
  try {
    Points.AddPoint(0, 0, 0, 0)->Assign(Points);
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Cannot assign a TQBTIDFPointsList to a TQBTIDFPointItem");
  }
}

TEST(Points, ConversionsMovesAndText) {
  TQBTIDFPointsList L;
  L.AddPoint(0, 0, 0, 0);
  L.AddPoint(1, 1000, -500, 90);
  L.ConvertFromThou(udMM);
  EXPECT_EQ(L.PointItems(1)->X, 1000 * static_cast<long double>(0.0254));
  EXPECT_EQ(L.PointItems(1)->InclAngle, 90.0L); // angles are never converted
  L.ConvertToThou(udMM);
  L.MoveBy({10, 20});
  EXPECT_EQ(L.PointItems(0)->X, 10.0L);
  EXPECT_EQ(L.PointItems(0)->Y, 20.0L);
  std::string Text;
  L.GetText(Text);
  EXPECT_EQ(Text, "0 10.0 20.0 0.0\r\n1 1010.0 -480.0 90.0");

  ReadPosition.Line = 12;
  ReadPosition.Char = 3;
  L.RecordSourcePosition();
  L.PointItems(0)->RecordSourcePosition();
  EXPECT_EQ(L.SourceLine, 12);
  EXPECT_EQ(L.PointItems(0)->SourceChar, 3);
  ReadPosition = {};
}

} // namespace
} // namespace qbt
