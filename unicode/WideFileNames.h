// Parsing and building UTF-16 file names (1-based positions). "/" and "\" both separate
// folders, and routines that add a separator add "/"; ":" separates a drive only as the second
// unit after a letter; a name that starts with two separators begins with a server and a share.
#pragma once

#include "platform/rtl/WideString.h"

using TWideFileName = WideString;

int WideLastDelimiter(const WideString& delimiters, const WideString& s);
bool WideIsDelimiter(const WideString& delimiters, const WideString& s, int index);
bool WideIsPathDelimiter(const WideString& s, int index);
WideString WideIncludeTrailingPathDelimiter(const WideString& s);
WideString WideIncludeTrailingBackslash(const WideString& s);
WideString WideExcludeTrailingPathDelimiter(const WideString& s);
WideString WideExcludeTrailingBackslash(const WideString& s);

WideString WideExtractFilePath(const WideString& fileName);
WideString WideExtractFileDir(const WideString& fileName);
WideString WideExtractFileName(const WideString& fileName);
WideString WideExtractFileExt(const WideString& fileName);
WideString WideChangeFileExt(const WideString& fileName, const WideString& extension);
WideString WideExtractFileDrive(const WideString& fileName);
// `destName` relative to the folder of `baseName`; `destName` itself on another drive.
WideString WideExtractRelativePath(const WideString& baseName, const WideString& destName);
// The full path, however long.
WideString WideExpandFileName(const WideString& fileName);
// The short form; empty when the file system has none.
WideString WideExtractShortPathName(const WideString& fileName);
