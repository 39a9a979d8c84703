#pragma once
// What `kestrel-cli verify` finds when it lays a parameter file beside what
// a read of the terminal returned, and the report it prints.

#include "params/ini_document.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

struct ReadLists;

struct VerifyEntry
{
    std::string name; // from the naming table, in the current language
    std::string key;  // the parameter number or the ATCMD key, as in the file
    std::string terminalValue;
    std::string fileValue;
};

struct VerifyResult
{
    std::vector<VerifyEntry> differences;
    // Entries of the file that a read cannot return, or returns in a form
    // that says nothing about what was written: the general password, the
    // PIN entries, the call back list reset, the clock; call waiting and
    // forwarding when they were not read.
    std::vector<VerifyEntry> notVerifiable;
    std::size_t compared = 0;
    // Call waiting or forwarding entries were left out because the read did
    // not ask for them.
    bool forwardingNotRead = false;
};

// `terminal` is what the read wrote (sections PARA and ATCMD as the read
// job stores them), `lists` what it asked for, `file` the file to verify.
VerifyResult CompareWithFile(const params::IniDocument &terminal, const ReadLists &lists,
                             const params::IniDocument &file);

// Everything verifiable matches, and there was something to verify: a file
// of which a read returns nothing proves nothing about the terminal.
bool VerifyPassed(const VerifyResult &result);

// One line per difference, then the entries not verifiable, then the summary.
void PrintVerifyReport(const VerifyResult &result, std::ostream &out);
// The report's last line: how many settings were compared, how many differ.
std::string VerifySummary(const VerifyResult &result);
// The same as a JSON object: compared, differences (name, key, terminal,
// file), notVerifiable (name, key), forwardingNotRead.
std::string VerifyJson(const VerifyResult &result);
