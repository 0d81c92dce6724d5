// Files as the Windows file calls see them: a handle, dispositions and access
// flags with their Windows values, and exclusive opening.
//
// FileOpen takes a CP1250 name whose separators may be '\' or '/'; the file
// system sees it through FileSystemName. Dispositions: 1 create new (fails on
// an existing file), 2 create always, 3 open existing, 4 open always, 5
// truncate existing (fails on a missing file, needs write access); any other
// value fails and creates nothing. Share mode 0 keeps every other opener out,
// in this process too; a non-zero share mode admits other sharing openers
// only. An open that is refused truncates nothing and leaves no file behind.
// Directories are not files here: opening one fails, as does a name that
// holds a zero byte. Handles without read or write access open the file but
// fail every read and write.
//
// A Windows build puts the real calls behind this header (File_win32.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

using FileHandle = std::intptr_t;
// All bits set, like the Windows invalid handle value.
inline constexpr FileHandle InvalidFileHandle = -1;

// Access flags (Windows values).
inline constexpr unsigned FileGenericRead = 0x80000000u;
inline constexpr unsigned FileGenericWrite = 0x40000000u;
inline constexpr unsigned FileGenericAll = 0x10000000u;
inline constexpr unsigned FileReadData = 0x1u;
inline constexpr unsigned FileWriteData = 0x2u;
inline constexpr unsigned FileAppendData = 0x4u;

// Creation dispositions (Windows values).
inline constexpr unsigned FileCreateNew = 1;
inline constexpr unsigned FileCreateAlways = 2;
inline constexpr unsigned FileOpenExisting = 3;
inline constexpr unsigned FileOpenAlways = 4;
inline constexpr unsigned FileTruncateExisting = 5;

// Seek origins.
inline constexpr int FileBegin = 0;
inline constexpr int FileCurrent = 1;
inline constexpr int FileEnd = 2;

// The name the file system uses for a CP1250 name ('\' and '/' both
// separate; the result is UTF-8 with '/').
DRUVO_API std::string FileSystemName(const AnsiString& name);

// InvalidFileHandle when the file cannot be opened as asked.
DRUVO_API FileHandle FileOpen(const AnsiString& name, unsigned access,
                              unsigned shareMode, unsigned disposition);
// Reads until `size` bytes or the end of the file; `done` tells how many
// arrived (also on failure).
DRUVO_API bool FileRead(FileHandle handle, void* buffer, std::size_t size,
                        std::size_t& done);
// Writes all `size` bytes; `done` tells how many were written.
DRUVO_API bool FileWrite(FileHandle handle, const void* buffer,
                         std::size_t size, std::size_t& done);
// Moves by `offset` from FileBegin, FileCurrent or FileEnd. A position before
// the start fails and leaves the pointer where it was.
DRUVO_API bool FileSeek(FileHandle handle, std::int64_t offset, int origin,
                        std::int64_t& position);
DRUVO_API bool FileClose(FileHandle handle);

}  // namespace druvo
