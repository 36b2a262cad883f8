// Stand-ins for the runtime library services the system relies on: the base exception, the
// process-wide format settings, message formatting and the file services of the operating system.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qbt {

// The base exception class: every error of the system is one of these, carrying its text.
class Exception : public std::exception {
public:
  explicit Exception(std::string Message) : FMessage(std::move(Message)) {}
  const std::string& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

// Substitutes the arguments, in order, for the "%s", "%S" and "%d" markers of Pattern; "%%" is a
// single "%". Markers beyond the last argument are kept as they stand.
std::string Format(std::string_view Pattern, std::initializer_list<std::string_view> Args);

// The process-wide number, date and time settings that the system's formatting reads.
struct TFormatSettings {
  char DecimalSeparator = '.';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "mm/dd/yy";
  std::string LongDateFormat = "mm/dd/yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
};

// The one settings record of the process, initialised on first use from the C library's locale
// of the environment (LC_ALL, LC_NUMERIC, LC_TIME, LANG), without changing the process locale.
TFormatSettings& FormatSettings();

// Reads the settings the C library's locale named Locale gives ("" for the environment's).
TFormatSettings FormatSettingsFromLocale(const char* Locale);

// File attributes. Only read-only is kept by this platform: it is the absence of write bits.
constexpr uint32_t faReadOnly = 0x01;
constexpr uint32_t faDirectory = 0x10;
constexpr uint32_t faArchive = 0x20;
constexpr int32_t faInvalid = -1;

int32_t FileGetAttr(const std::string& FileName);
bool FileSetAttr(const std::string& FileName, uint32_t Attr);

bool FileExists(const std::string& FileName);
bool DirectoryExists(const std::string& Name);
bool DeleteFile(const std::string& FileName);
// Moves OldName to NewName; an existing NewName is not replaced.
bool RenameFile(const std::string& OldName, const std::string& NewName);

// The file system's path delimiter on this platform.
constexpr char PathDelim = '/';

std::string ExtractFilePath(const std::string& FileName); // directory with its trailing delimiter
std::string ExtractFileName(const std::string& FileName);
std::string ExtractFileExt(const std::string& FileName); // extension with its dot, or empty
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);

// The full path of the running program (the host executable).
std::string GetModuleFileName();

// The text of the operating system's last error (errno), for file error messages.
std::string SysErrorMessage(int ErrorCode);

// ASCII case-insensitive comparisons of byte strings.
bool SameText(std::string_view A, std::string_view B);
int CompareText(std::string_view A, std::string_view B);
std::string UpperCase(std::string_view S);
std::string LowerCase(std::string_view S);
std::string Trim(std::string_view S); // without leading and trailing blanks and control chars

} // namespace qbt
