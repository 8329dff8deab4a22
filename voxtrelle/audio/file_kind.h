// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace voxtrelle {

// The kind of an audio file, decided by its extension alone.
enum class FileKind : int {
  kOther = -1,
  kWav = 1,  // ".wav"
  kWma = 2,  // ".wma"
};

// Leading and trailing white space removed, and a trailing "/" added when the path names an
// existing directory. "/" is the only separator.
std::string normalize_path(std::string_view path);

// The extension of the normalised path's file-name part, lower-cased, without the dot; empty
// when the name has no dot.
std::string path_extension(std::string_view path);

// The folder part of path as written: "." when it has no "/", "/" for a name in the root.
std::string path_folder(std::string_view path);

// kWav for "wav", kWma for "wma" (any letter case), kOther for anything else.
FileKind file_kind(std::string_view path);

}  // namespace voxtrelle
