#pragma once
// What `kestrel-cli write` checks in a file before anything goes to the
// terminal: it sends only what the program itself writes (the entries of
// its own export), no control character in a key or a value, and no list
// with an empty position before a filled one (the terminal stops reading a
// list at its first empty position, so the entries behind it would be
// lost, and the next write's "CLEAR" would erase them).

#include "params/ini_document.h"

#include <string>
#include <vector>

// One message per problem found, in the current language; none when the
// file may be sent.
std::vector<std::string> CheckFileToWrite(const params::IniDocument &file);
