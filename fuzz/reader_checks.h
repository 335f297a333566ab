// What the online reply readers must leave behind whatever a server sends, checked by their fuzz
// targets: a broken rule prints what broke and aborts, which libFuzzer reports as a finding (and
// the replay of `make test` as a crash). One process, main OS thread.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

void Require(bool condition, const char* what);

// Every entry of the list is valid UTF-8; with `words`, every entry is a non-empty word that
// passes PMC::CheckWord; with `once`, no two entries are equal ignoring case.
void RequireList(const std::vector<std::string>& list, const char* name, bool words, bool once);
// The lists are the columns of one table: equally long, valid UTF-8, and no two rows with the same
// key (the row's entries joined by `separator`, ignoring case).
void RequireRows(const char* name, std::initializer_list<const std::vector<std::string>*> columns,
                 std::string_view separator);

// Reads a large input made from this one and a one eight times its size, and requires the larger
// to cost at most about eight times as much processor time: a reader whose cost grows faster
// than its input is a finding. The input "prefix \1\2 unit \1\2 suffix" makes the prefix, the
// unit repeated and the suffix (so that many headings can share one end marker far off); an
// input without two separators is repeated whole. `read` must start from empty lists itself.
void RequireLinearTime(std::string_view input, const std::function<void(const std::string&)>& read);

}  // namespace fuzz
