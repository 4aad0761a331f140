// Paths of files inside a folder, joined with the platform's separator.
//
// The system's folders (the image-set data folder, the own-images folder) are kept without a
// trailing separator; a file's path is the folder, one separator and the file's name. On Windows
// the separator is the backslash, natively the slash, so that the same code runs in both builds.
#pragma once
#include "framework/String.h"

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// folder + separator + name; a folder that already ends in a separator (a drive root such as
// "D:\") gets no second one.
CString JoinFolderPath(const char* folder, const char* name);
