#include "link/reply.h"

#include <gtest/gtest.h>
#include <string>

TEST(ReplyClass, FinalAndErrorResults)
{
    struct Case
    {
        std::string line;
        bool final;
        bool error;
    };
    const Case cases[] = {
        {"OK", true, false},
        {"ok", true, false},
        {"oK", true, false},
        {"OK ", false, false},
        {" OK", false, false},
        {"OKAY", false, false},
        {"O", false, false},
        {"ERROR", true, true},
        {"error", true, true},
        {"ERROR ", false, false},
        {"ERRORS", false, false},
        {"+CME ERROR:", true, true},
        {"+CME ERROR: 16", true, true},
        {"+cme error: incorrect password", true, true},
        {"+CME ERROR", false, false},
        {" +CME ERROR: 3", false, false},
        {"+CMS ERROR: 500", false, false},
        {"AT+WPAR=9996,\"1234\"", false, false},
        {"+RPAR: 20,\"OK\"", false, false},
        {"> ", false, false},
        {"", false, false},
        {std::string("OK\0", 3), false, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(IsFinalReply(c.line), c.final) << '"' << c.line << '"';
        EXPECT_EQ(IsErrorReply(c.line), c.error) << '"' << c.line << '"';
    }
}
