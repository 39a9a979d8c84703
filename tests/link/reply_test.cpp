#include "link/reply.h"

#include <gtest/gtest.h>
#include <string>

TEST(ReplyClass, FinalAndErrorResults)
{
    // clang-format off
    const std::string ok[] = {"OK", "ok", "oK"};
    const std::string errors[] = {"ERROR", "error", "+CME ERROR:", "+CME ERROR: 16",
                                  "+cme error: incorrect password"};
    const std::string neither[] = {"OK ", " OK", "OKAY", "O", "ERROR ", "ERRORS", "+CME ERROR",
                                   " +CME ERROR: 3", "+CMS ERROR: 500", "AT+WPAR=9996,\"1234\"",
                                   "+RPAR: 20,\"OK\"", "> ", "", std::string("OK\0", 3)};
    // clang-format on
    for (const std::string &line : ok)
        EXPECT_TRUE(IsFinalReply(line) && !IsErrorReply(line)) << '"' << line << '"';
    for (const std::string &line : errors)
        EXPECT_TRUE(IsFinalReply(line) && IsErrorReply(line)) << '"' << line << '"';
    for (const std::string &line : neither)
        EXPECT_FALSE(IsFinalReply(line) || IsErrorReply(line)) << '"' << line << '"';
}
