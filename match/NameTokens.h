// A file name cut into words: the runs of bytes between separators ('.', '_', '-', blanks
// and the like) and brackets, each in a comparable form (ASCII letters in lower case, Hangul
// composed, Latin accents and signs folded away), with where it lies and which bracket pair
// holds it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tesslin {

// One run of name bytes between separators and brackets.
struct Token {
    std::size_t begin;     // offset in the stem
    std::size_t end;       // one past the last byte
    std::size_t gap_begin; // where the separators before the token start
    int group;             // the bracket pair it lies in, -1 outside any
    std::string lower;     // the bytes in the comparable form of FoldText, letters lowered
};

struct Group {
    std::size_t first; // its first token
    std::size_t count; // how many tokens it holds
};

// The words of `stem`, in order; `groups` receives the bracket pairs, in the order they open.
std::vector<Token> Tokenize(std::string_view stem, std::vector<Group>& groups);

// `text` with Hangul jamo composed into syllables and Latin accents and signs folded away, so
// that names stored or typed differently compare equal ("Amélie" and "Amelie").
std::string FoldText(std::string text);

// The byte with an ASCII capital letter lowered; any other byte as it is.
char LowerAscii(char c);
// '0' to '9'.
bool IsDigit(char c);

} // namespace tesslin
