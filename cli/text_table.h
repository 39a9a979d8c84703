#pragma once
// Rows of text in columns, as the command line prints its lists.

#include <ostream>
#include <string>
#include <vector>

// Each column as wide as its widest entry (in characters, not bytes), two
// blanks apart, no blanks at the end of a line.
void PrintColumns(const std::vector<std::vector<std::string>> &rows, std::ostream &out);
