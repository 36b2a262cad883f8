// The host editor's file services: existence, file-name splitting, the in-use test, temporary
// files beside their target, replacing a file in one step, and the host's templates folder.
#pragma once

#include <string>
#include <string_view>

namespace qbt {

bool HostFileExists(const std::string& FileName);

// Splits FileName into its folder (with the trailing delimiter) and its name.
void HostSplitFileName(const std::string& FileName, std::string& Folder, std::string& Name);

// True when another process holds an advisory lock (a record lock or a whole-file lock) on
// FileName. A missing file, or one that cannot be opened to look, is not in use.
bool HostIsFileInUse(const std::string& FileName);

// Shows the host's notice that FileName is in use and was left as it is.
void ShowFileInUseNotice(const std::string& FileName);

// Creates a new, empty file named Prefix plus a unique suffix in Folder (the current folder
// when empty), readable and writable as a new file of the user is, and returns its name.
// Raises Exception when the folder does not take it.
std::string HostCreateTempFile(const std::string& Folder, std::string_view Prefix);

// Moves Source over Target in one step, so that Target is at every moment either the old or
// the new file. Both must lie on the same file system. False when the move failed.
bool HostReplaceFile(const std::string& Source, const std::string& Target);

// The folder of the host program followed by "Templates/", in the case it has on disk.
std::string HostTemplatesFolder();

} // namespace qbt
