#pragma once
// Classification of the terminal's reply lines. A command is finished by its
// final result: "OK", "ERROR" (whole line, any letter case) or a line that
// begins with "+CME ERROR:" (any letter case). The echo and information
// lines are not final.

#include <string_view>

bool IsFinalReply(std::string_view line);
// "ERROR" or "+CME ERROR:...": a final result that reports a failure.
bool IsErrorReply(std::string_view line);
