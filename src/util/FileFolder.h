#pragma once

#include <QString>

// Folder creation, the free local file name and the optical-drive test.
namespace FileFolder {

// Creates every missing level of an absolute folder path. True for a root alone;
// false for a path without a root or when a level cannot be created (levels made
// before the failure stay).
bool CreateFolderPath(const QString &path);

// A path at which a new download can be written without destroying a file that
// holds data: movie.avi -> movie_1.avi -> movie_2.avi, part_7.rar -> part_8.rar,
// my_file.zip -> my_file_1.zip, readme -> readme_1. An existing empty file is
// reused. `path` is changed in place and returned.
QString GetUniqueFileName(QString &path);
// The name GetUniqueFileName tries after `path`: movie.avi -> movie_1.avi.
QString NextFileName(const QString &path);

// True when the folder lies on a read-only optical file system (CD or DVD).
bool IsOpticalFolder(const QString &path);

// The bytes a safe name may take: a 255-byte name less room for "_<n>" and ".part".
inline constexpr qsizetype MaxFileNameBytes = 240;

// The file name reduced to one safe component inside a folder: separators,
// control characters, reserved characters and leading dots are replaced, and a
// long name is cut to MaxFileNameBytes; `fallback` is used when nothing usable
// is left.
QString SafeFileName(const QString &name, const QString &fallback);

} // namespace FileFolder
