#pragma once
// The AT reply store of the read job and the command lines of the write
// job for the supplementary-service settings (call waiting, forwarding,
// clock). The value forms themselves live with the parameter data.

#include <string>
#include <string_view>

class CIniFile;

// Stores what one data line of an AT query says under its ATCMD key, or
// nothing when the line is not the one to keep. false when the file could
// not be written (the file's LastError says why).
bool StoreAtReply(CIniFile &file, std::string_view command, std::string_view argument,
                  std::string_view value);

// The command line (without its CR) that writes one ATCMD entry.
std::string AtCommandText(std::string_view key, std::string_view value);
