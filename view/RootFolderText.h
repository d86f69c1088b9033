// The status pane's view of the root folder. Toolkit-free, so it can be checked byte by byte.
#pragma once

#include <cstddef>
#include <string>

namespace tesslin {

// The path as the status pane shows it after "루트 폴더: ": the whole path when it has at most
// 50 bytes; otherwise its first 20 bytes, " ... " and its last 20 bytes. A cut never splits a
// UTF-8 sequence: each side takes at most 20 bytes that end (or start) on a character
// boundary. Bytes that are not UTF-8 count as characters of one byte.
std::string RootFolderText(const std::string& path);

// The same cut for any text: whole up to `wholeUpTo` bytes, otherwise at most `sideBytes`
// from each end around " ... ", never splitting a UTF-8 sequence.
std::string ShortenMiddle(const std::string& text, std::size_t sideBytes, std::size_t wholeUpTo);

} // namespace tesslin
