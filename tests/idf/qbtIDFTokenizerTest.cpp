#include "idf/qbtIDFReader.h"
#include "platform/DateUtils.h"

#include <gtest/gtest.h>

namespace qbt {
namespace {

// Every token of Text until the end-of-text marker: "|" for a line end, quoted tokens in <>.
std::string Tokens(std::string_view Text) {
  ReadPosition = {};
  std::string R;
  int32_t Pos = 1;
  TQBTIDFToken Token;
  for (NextToken(Text, Pos, Token); Token.Kind != tkEndOfText; NextToken(Text, Pos, Token)) {
    if (!R.empty()) {
      R += ' ';
    }
    if (Token.Kind == tkEndOfLine) {
      R += '|';
    } else if (Token.Kind == tkQuoted) {
      R += "<" + std::string(Token.Text) + ">";
    } else {
      R += Token.Text;
    }
  }
  return R;
}

TEST(Tokenizer, SplitsTextIntoTokensAndMarkers) {
  const struct {
    const char* Text;
    const char* Expected;
  } Cases[] = {
      {"a b\r\nc\r\n", "a b | c |"},
      {"a\r\n\r\n   \r\n  b", "a | b"}, // empty and blank lines fold into one line end
      {"#x y\r\na\r\n", "| a |"},       // comment in the first column
      {"a\r\n# x\r\nb", "a | | b"},
      {"  #x\r\n", "#x |"}, // "#" after blanks is text
      {"a#b", "a#b"},
      {"1.0\t2.0 3", "1.0\t2.0 3"}, // a tab is no separator
      {"\"a b\r\nc\" d", "<a b\r\nc> d"},
      {"x \"abc\r\ndef\r\n", "x <abc\r\ndef\r\n>"}, // unterminated: the rest of the text
      {"\"\" x", "<> x"},
      {"\"ab\"cd", "<ab> cd"},
      {"\x01 \x02\r\n", "\x01 \x02 |"}, // bytes 1 and 2 are ordinary characters
      {"", ""},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(Tokens(C.Text), C.Expected) << "text: " << C.Text;
  }
}

TEST(Tokenizer, QuotedFlagAndPositionOfEachScan) {
  const std::string_view Text = "ab cd\r\n  \"q r\" ef\r\n";
  ReadPosition = {};
  int32_t Pos = 1;
  TQBTIDFToken Token;
  const struct {
    const char* Token;
    bool Quoted;
    int32_t Line;
    int32_t Char;
  } Expected[] = {
      {"ab", false, 1, 1}, {"cd", false, 1, 3}, {"", false, 1, 6}, // the line end at its CR
      {"q r", true, 2, 3}, {"ef", false, 2, 9}, {"", false, 2, 11},
  };
  for (const auto& E : Expected) {
    NextToken(Text, Pos, Token);
    EXPECT_EQ(Token.Text, E.Token);
    EXPECT_EQ(LastTokenQuoted, E.Quoted) << E.Token;
    EXPECT_EQ(ReadPosition.Line, E.Line) << E.Token;
    EXPECT_EQ(ReadPosition.Char, E.Char) << E.Token;
  }
  NextToken(Text, Pos, Token);
  EXPECT_EQ(Token.Kind, tkEndOfText);
  NextToken(Text, Pos, Token); // the end stays the end
  EXPECT_EQ(Token.Kind, tkEndOfText);
}

TEST(Numbers, FloatsAreFiniteDecimalsOnly) {
  const struct {
    const char* Text;
    long double Value;
  } Valid[] = {
      {"1.5", 1.5L},
      {"-2", -2.0L},
      {"+3.25", 3.25L},
      {".5", 0.5L},
      {"5.", 5.0L},
      {"0.1", 0.1L},
      {"1e-6", 1e-6L},
      {"1E+3", 1000.0L},
      {"-112.5", -112.5L},
      {"000.000", 0.0L},
      {"39.37007874015748", 39.37007874015748L},
      {"1234567.1234567", 1234567.1234567L},
      {"0.300000", 0.3L},
      {"123456789012345678901234.5", 123456789012345678901234.5L}, // beyond 19 digits
      {"2.5e-30", 2.5e-30L},
  };
  for (const auto& C : Valid) {
    long double V = -1;
    ASSERT_TRUE(TextToIDFFloat(C.Text, V)) << C.Text;
    EXPECT_EQ(V, C.Value) << C.Text;
  }
  for (const char* Text : {"", "1.5x", "nan", "inf", "-inf", "infinity", "0x10", "1e", "1e+",
                           "1.0\t2.0", " 1", "1 ", "1,5", "1e99999", "--1", ".", "+", "-"}) {
    long double V = 0;
    EXPECT_FALSE(TextToIDFFloat(Text, V)) << Text;
  }
}

TEST(Numbers, IntegersWithinInt32) {
  const struct {
    const char* Text;
    int32_t Value;
  } Valid[] = {
      {"0", 0}, {"-5", -5}, {"+7", 7}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}};
  for (const auto& C : Valid) {
    int32_t V = -1;
    ASSERT_TRUE(TextToIDFInteger(C.Text, V)) << C.Text;
    EXPECT_EQ(V, C.Value);
  }
  for (const char* Text :
       {"", "-", "2147483648", "-2147483649", "99999999999999999999", "1.0", "0x1", "1e3", "$1F"}) {
    int32_t V = 0;
    EXPECT_FALSE(TextToIDFInteger(Text, V)) << Text;
  }
}

std::string ErrorOf(void (*Read)(std::string_view, int32_t&), std::string_view Text) {
  ReadPosition = {};
  int32_t Pos = 1;
  try {
    Read(Text, Pos);
  } catch (const Exception& E) {
    return E.Message();
  }
  return "no error";
}

TEST(Fields, ErrorsNameTheOffendingToken) {
  const struct {
    void (*Read)(std::string_view, int32_t&);
    const char* Text;
    const char* Message;
  } Cases[] = {
      {[](std::string_view T, int32_t& P) { ReadFloat(T, P); }, "\r\n 1.5x",
       "'1.5x' is not a valid floating point value"},
      {[](std::string_view T, int32_t& P) { ReadFloat(T, P); }, "\r\n",
       "'<end of file>' is not a valid floating point value"},
      {[](std::string_view T, int32_t& P) { ReadInteger(T, P); }, "1.0",
       "'1.0' is not a valid integer value"},
      {[](std::string_view T, int32_t& P) { ReadDate(T, P); }, "2009-05-12",
       "'2009-05-12' is not a valid date and time"},
      {[](std::string_view T, int32_t& P) { ExpectToken(T, ".END_HEADER", P); }, ".END_HEADERS",
       "Token .END_HEADER were expected but .END_HEADERS found"},
      {[](std::string_view T, int32_t& P) { ExpectToken(T, ".END_HEADER", P); }, "\"",
       "Token .END_HEADER were expected but  found"},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(ErrorOf(C.Read, C.Text), C.Message);
  }
  int32_t Pos = 1;
  ReadPosition = {};
  EXPECT_NO_THROW(ExpectToken("\r\n.end_header", ".END_HEADER", Pos)); // case ignored
}

TEST(Fields, LongTokensAreCutShortInMessages) {
  const std::string Long = "\"" + std::string(1000, 'x');
  const std::string Message =
      ErrorOf([](std::string_view T, int32_t& P) { ReadFloat(T, P); }, Long);
  EXPECT_EQ(Message, "'" + std::string(80, 'x') + "...' is not a valid floating point value");
}

TEST(Dates, YearFirstThenMonthFirst) {
  const struct {
    const char* Text;
    double Days;
    int Seconds;
  } Cases[] = {
      {"2009/05/12.14:33:10", 39945, 52390},
      {"12/25/09.10:00:00", 40172, 36000}, // month 25 fails year first
      {"05/12/09.14:33:10", 38695, 52390}, // valid year first: 9 December 2005
      {"10/22/96.16:02:44", 35360, 57764},
      {"2009/05/12", 39945, 0},
  };
  for (const auto& C : Cases) {
    EXPECT_DOUBLE_EQ(StrToIDFDate(C.Text), C.Days + C.Seconds / 86400.0) << C.Text;
  }
  for (const char* Text : {"2009-05-12", "2009/02/30", "2009/05/12.25:00:00", "13/13/13",
                           "2009/05/1214:33:10", "", "1/2"}) {
    EXPECT_THROW(StrToIDFDate(Text), Exception) << Text;
  }
}

// A year of one or two digits falls in the hundred years from 50 years before this one.
TEST(Dates, TwoDigitYearsFallInTheWindowAroundThisYear) {
  const int ThisYear = DecodeDateTime(CurrentDateTime()).Year;
  auto TwoDigits = [](int Year) {
    const std::string S = std::to_string(Year % 100 + 100);
    return S.substr(S.size() - 2);
  };
  const struct {
    std::string Text;
    int Year;
  } Cases[] = {
      {TwoDigits(ThisYear - 50) + "/05/12", ThisYear - 50}, // the first year of the window
      {TwoDigits(ThisYear + 49) + "/05/12", ThisYear + 49}, // its last
      {TwoDigits(ThisYear) + "/05/12.14:33:10", ThisYear},
      {"12/25/" + TwoDigits(ThisYear - 50), ThisYear - 50}, // month first
      {"12/25/" + TwoDigits(ThisYear + 49), ThisYear + 49},
      {"5/25/7", ThisYear - 50 + (107 - (ThisYear - 50) % 100) % 100}, // one digit
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(DecodeDateTime(StrToIDFDate(C.Text)).Year, C.Year) << C.Text;
  }
}

TEST(Dates, SettingsAreRestoredOnEveryPath) {
  TFormatSettings& S = FormatSettings();
  const TFormatSettings Saved = S;
  S.DateSeparator = '-';
  S.ShortDateFormat = "dd-mm-yyyy";
  S.LongTimeFormat = "hh.nn";
  StrToIDFDate("2009/05/12.14:33:10");
  EXPECT_THROW(StrToIDFDate("x"), Exception);
  EXPECT_EQ(S.DateSeparator, '-');
  EXPECT_EQ(S.ShortDateFormat, "dd-mm-yyyy");
  EXPECT_EQ(S.LongTimeFormat, "hh.nn");
  S = Saved;
}

TEST(Sections, TableIgnoresCase) {
  TStringList Table;
  FillSectionTable(Table);
  EXPECT_EQ(FindSection(Table, ".board_outline"), siBoardOutline);
  EXPECT_EQ(FindSection(Table, ".Mechanical"), siMechanical);
  EXPECT_EQ(FindSection(Table, ".PANEL_OUTLINE"), siPanelOutline);
  EXPECT_EQ(FindSection(Table, ".END_HEADER"), 0);
  EXPECT_EQ(FindSection(Table, "HEADER"), 0);
}

} // namespace
} // namespace qbt
