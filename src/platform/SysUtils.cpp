#include "platform/SysUtils.h"

#include <cerrno>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qbt {

std::string Format(std::string_view Pattern, std::initializer_list<std::string_view> Args) {
  std::string Result;
  Result.reserve(Pattern.size() + 32);
  auto Arg = Args.begin();
  for (size_t I = 0; I < Pattern.size(); ++I) {
    const char C = Pattern[I];
    if (C != '%' || I + 1 >= Pattern.size()) {
      Result += C;
      continue;
    }
    const char Next = Pattern[I + 1];
    if (Next == '%') {
      Result += '%';
      ++I;
    } else if ((Next == 's' || Next == 'S' || Next == 'd') && Arg != Args.end()) {
      Result += *Arg++;
      ++I;
    } else {
      Result += C;
    }
  }
  return Result;
}

namespace {

// Turns a strftime pattern into the settings' own pattern letters.
std::string PatternFromStrftime(const char* Fmt, bool FourDigitYear) {
  std::string Result;
  for (const char* P = Fmt; *P; ++P) {
    if (*P != '%' || !P[1]) {
      Result += *P;
      continue;
    }
    ++P;
    switch (*P) {
    case 'd':
    case 'e':
      Result += "dd";
      break;
    case 'm':
      Result += "mm";
      break;
    case 'y':
      Result += FourDigitYear ? "yyyy" : "yy";
      break;
    case 'Y':
      Result += "yyyy";
      break;
    case 'H':
    case 'I':
      Result += "hh";
      break;
    case 'M':
      Result += "nn";
      break;
    case 'S':
      Result += "ss";
      break;
    case 'p':
      Result += "ampm";
      break;
    default:
      break;
    }
  }
  return Result;
}

// The first character of Pattern that is not a pattern letter.
char SeparatorOf(const std::string& Pattern, char Default) {
  for (char C : Pattern) {
    if (std::strchr("dmyhnsap ", C) == nullptr) {
      return C;
    }
  }
  return Default;
}

} // namespace

TFormatSettings FormatSettingsFromLocale(const char* Locale) {
  TFormatSettings S;
  locale_t L = newlocale(LC_ALL_MASK, Locale, locale_t(0));
  if (L == locale_t(0)) {
    L = newlocale(LC_ALL_MASK, "C", locale_t(0));
  }
  if (L == locale_t(0)) {
    return S;
  }
  const char* Decimal = nl_langinfo_l(RADIXCHAR, L);
  if (Decimal && Decimal[0] && !Decimal[1]) {
    S.DecimalSeparator = Decimal[0];
  }
  const char* DateFmt = nl_langinfo_l(D_FMT, L);
  const char* TimeFmt = nl_langinfo_l(T_FMT, L);
  if (DateFmt && *DateFmt) {
    S.ShortDateFormat = PatternFromStrftime(DateFmt, false);
    S.LongDateFormat = PatternFromStrftime(DateFmt, true);
    S.DateSeparator = SeparatorOf(S.ShortDateFormat, '/');
  }
  if (TimeFmt && *TimeFmt) {
    S.LongTimeFormat = PatternFromStrftime(TimeFmt, false);
    S.TimeSeparator = SeparatorOf(S.LongTimeFormat, ':');
    S.ShortTimeFormat = std::string("hh") + S.TimeSeparator + "nn";
  }
  if (const char* Am = nl_langinfo_l(AM_STR, L)) {
    S.TimeAMString = Am;
  }
  if (const char* Pm = nl_langinfo_l(PM_STR, L)) {
    S.TimePMString = Pm;
  }
  freelocale(L);
  return S;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings Settings = FormatSettingsFromLocale("");
  return Settings;
}

int32_t FileGetAttr(const std::string& FileName) {
  struct stat St {};
  if (::stat(FileName.c_str(), &St) != 0) {
    return faInvalid;
  }
  uint32_t Attr = 0;
  if (S_ISDIR(St.st_mode)) {
    Attr |= faDirectory;
  } else {
    Attr |= faArchive;
  }
  if ((St.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    Attr |= faReadOnly;
  }
  return static_cast<int32_t>(Attr);
}

bool FileSetAttr(const std::string& FileName, uint32_t Attr) {
  struct stat St {};
  if (::stat(FileName.c_str(), &St) != 0) {
    return false;
  }
  mode_t Mode = St.st_mode & 07777;
  if (Attr & faReadOnly) {
    Mode &= ~(S_IWUSR | S_IWGRP | S_IWOTH);
  } else if ((Mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    // Clearing read-only gives the owner write access back.
    Mode |= S_IWUSR;
  }
  return ::chmod(FileName.c_str(), Mode) == 0;
}

bool FileExists(const std::string& FileName) {
  struct stat St {};
  return ::stat(FileName.c_str(), &St) == 0 && !S_ISDIR(St.st_mode);
}

bool DirectoryExists(const std::string& Name) {
  struct stat St {};
  return ::stat(Name.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

bool DeleteFile(const std::string& FileName) {
  return ::unlink(FileName.c_str()) == 0;
}

bool RenameFile(const std::string& OldName, const std::string& NewName) {
  // link + unlink refuses to replace an existing target, as the host's move does.
  if (::link(OldName.c_str(), NewName.c_str()) == 0) {
    ::unlink(OldName.c_str());
    return true;
  }
  if (errno == EEXIST) {
    return false;
  }
  struct stat St {};
  if (::stat(NewName.c_str(), &St) == 0) {
    return false;
  }
  return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

std::string ExtractFilePath(const std::string& FileName) {
  const size_t P = FileName.rfind(PathDelim);
  return P == std::string::npos ? std::string() : FileName.substr(0, P + 1);
}

std::string ExtractFileName(const std::string& FileName) {
  const size_t P = FileName.rfind(PathDelim);
  return P == std::string::npos ? FileName : FileName.substr(P + 1);
}

namespace {
size_t ExtensionStart(const std::string& FileName) {
  const size_t Dot = FileName.rfind('.');
  const size_t Delim = FileName.rfind(PathDelim);
  if (Dot == std::string::npos || (Delim != std::string::npos && Dot < Delim)) {
    return std::string::npos;
  }
  return Dot;
}
} // namespace

std::string ExtractFileExt(const std::string& FileName) {
  const size_t P = ExtensionStart(FileName);
  return P == std::string::npos ? std::string() : FileName.substr(P);
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension) {
  const size_t P = ExtensionStart(FileName);
  return (P == std::string::npos ? FileName : FileName.substr(0, P)) + Extension;
}

std::string GetModuleFileName() {
  char Buffer[4096];
  const ssize_t N = ::readlink("/proc/self/exe", Buffer, sizeof(Buffer) - 1);
  if (N <= 0) {
    return std::string();
  }
  return std::string(Buffer, static_cast<size_t>(N));
}

std::string SysErrorMessage(int ErrorCode) {
  return std::strerror(ErrorCode);
}

namespace {
inline char AsciiLower(char C) {
  return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C;
}
inline char AsciiUpper(char C) {
  return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 32) : C;
}
} // namespace

bool SameText(std::string_view A, std::string_view B) {
  return CompareText(A, B) == 0;
}

int CompareText(std::string_view A, std::string_view B) {
  const size_t N = std::min(A.size(), B.size());
  for (size_t I = 0; I < N; ++I) {
    const auto CA = static_cast<unsigned char>(AsciiUpper(A[I]));
    const auto CB = static_cast<unsigned char>(AsciiUpper(B[I]));
    if (CA != CB) {
      return CA < CB ? -1 : 1;
    }
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

std::string UpperCase(std::string_view S) {
  std::string R(S);
  for (char& C : R) {
    C = AsciiUpper(C);
  }
  return R;
}

std::string LowerCase(std::string_view S) {
  std::string R(S);
  for (char& C : R) {
    C = AsciiLower(C);
  }
  return R;
}

std::string Trim(std::string_view S) {
  size_t B = 0, E = S.size();
  while (B < E && static_cast<unsigned char>(S[B]) <= ' ') {
    ++B;
  }
  while (E > B && static_cast<unsigned char>(S[E - 1]) <= ' ') {
    --E;
  }
  return std::string(S.substr(B, E - B));
}

} // namespace qbt
