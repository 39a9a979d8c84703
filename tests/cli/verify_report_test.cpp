// How a parameter file is laid beside what a read returned: which entries
// are compared, in which form, and which cannot be verified.

#include "cli/verify_report.h"
#include "params/language.h"
#include "params/read_lists.h"
#include "tests/common/case_name.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using Keys = std::vector<std::string>;

params::IniDocument Document(const std::string &text)
{
    params::IniDocument document;
    document.Parse(text);
    return document;
}

// What `kestrel-cli read` asks for: every page, with or without forwarding.
ReadLists ListsRead(bool forward)
{
    ReadLists lists;
    for (size_t page = 0; page < params::kPageCount; ++page)
        params::AppendPageReadItems(static_cast<params::Page>(page), lists,
                                    {forward, forward, forward});
    return lists;
}

Keys KeysOf(const std::vector<VerifyEntry> &entries)
{
    Keys keys;
    for (const VerifyEntry &entry : entries)
        keys.push_back(entry.key);
    return keys;
}

struct Row
{
    std::string name;
    std::string terminal; // what the read wrote
    std::string file;     // the file verified against
    bool forward;
    Keys differences;
    Keys notVerifiable;
};

class Comparing : public ::testing::TestWithParam<Row>
{
};

TEST_P(Comparing, FindsTheDifferencesAndWhatCannotBeVerified)
{
    const Row &row = GetParam();
    lang::SetCode(lang::kEnglish);
    const VerifyResult result =
        CompareWithFile(Document(row.terminal), ListsRead(row.forward), Document(row.file));
    EXPECT_EQ(KeysOf(result.differences), row.differences);
    EXPECT_EQ(KeysOf(result.notVerifiable), row.notVerifiable);
}

// clang-format off
const Row kRows[] = {
    {"SameValuesUnderLeadingZeroKeys", "[PARA]\n05=\"01\"\n16543=\"6\"\n", "[PARA]\n5=\"01\"\n16543=\"6\"\n",
     false, {}, {}},
    {"ValuesComparedExactly", "[PARA]\n05=\"01\"\n16543=\"6\"\n", "[PARA]\n5=\"1\"\n16543=\"7\"\n", false,
     {"5", "16543"}, {}},
    {"WhatTheReadNeverAsksFor", "[PARA]\n1001=\"01\"\n",
     "[PARA]\n32=\"123456\"\n1001=\"01\"\n33=\"01\"\n16547=\"CLEAR\"\n9999=\"1\"\nabc=\"1\"\n", false, {},
     {"32", "33", "16547", "9999", "abc"}},
    {"BlankRecordsAndSkippedEntriesOfAListAreEmpty",
     "[PARA]\n3001=\"12\"\n3002=\"0*0*0*0\"\n16212=\"***\"\n",
     "[PARA]\n3001=\"12\"\n3002=\"\"\n3003=\"\"\n16212=\"\"\n16213=\"\"\n", false, {}, {}},
    {"ANumberWhereTheListEnded", "[PARA]\n16212=\"0*0*0*0\"\n", "[PARA]\n16212=\"5550100\"\n16213=\"77\"\n",
     false, {"16212", "16213"}, {}},
    {"ABlankRecordOutsideAListIsAValue", "[PARA]\n16210=\"0.0\"\n", "[PARA]\n16210=\"\"\n", false,
     {"16210"}, {}},
    {"PinEntriesAreNotVerifiable", "[PARA]\n16550=\"00\"\n",
     "[PARA]\n16550=\"\"4711\"\"\n16551=\"\"4711\"\"\n", false, {}, {"16550", "16551"}},
    {"TheStartUpFlagAloneIsCompared", "[PARA]\n16550=\"00\"\n", "[PARA]\n16550=\"01\"\n", false, {"16550"},
     {}},
    {"CallWaitingByItsStatus", "[ATCMD]\nAT+CCWA=1,2\n", "[ATCMD]\nAT+CCWA=\"1,1\"\n", true, {}, {}},
    {"CallWaitingOffOnTheTerminal", "[ATCMD]\nAT+CCWA=0,2\n", "[ATCMD]\nAT+CCWA=\"1,1\"\n", true,
     {"AT+CCWA"}, {}},
    {"ForwardingInTheReplyAndTheExportForms",
     "[ATCMD]\nAT+CCFC1=\"1,3,\"+5550100\",145\"\nAT+CCFC2=\"2,3,\"5550123\",129,\"\",,20\"\n",
     "[ATCMD]\nAT+CCFC0=\"0,4\"\nAT+CCFC1=\"1,3,\"+5550100\",145\"\nAT+CCFC2=\"2,3,\"5550123\",129,7,,,20\"\n"
     "AT+CCFC3=\"3,4\"\n",
     true, {}, {}},
    {"ForwardingNumberTimeAndStateDiffer",
     "[ATCMD]\nAT+CCFC0=\"0,3,\"111\",129\"\nAT+CCFC1=\"1,3,\"222\",129\"\nAT+CCFC2=\"2,3,\"333\",129,\"\",,30\"\n",
     "[ATCMD]\nAT+CCFC0=\"0,4\"\nAT+CCFC1=\"1,3,\"229\",129\"\nAT+CCFC2=\"2,3,\"333\",129,7,,,20\"\n"
     "AT+CCFC3=\"3,3,\"444\",129\"\n",
     true, {"AT+CCFC0", "AT+CCFC1", "AT+CCFC2", "AT+CCFC3"}, {}},
    {"EraseAllNeedsEveryForwardingOff", "[ATCMD]\nAT+CCFC3=\"3,3,\"444\",129\"\n",
     "[ATCMD]\nAT+CCFC4=\"4,4\"\n", true, {"AT+CCFC4"}, {}},
    {"EraseAllOnAQuietTerminal", "[ATCMD]\nAT+CCWA=0,2\n", "[ATCMD]\nAT+CCFC4=\"4,4\"\n", true, {}, {}},
    {"ForwardingNotReadAndTheClock", "[ATCMD]\nAT+CCLK=\"11/04/25,10:30:00+00\"\n",
     "[ATCMD]\nAT+CCWA=\"1,1\"\nAT+CCFC4=\"4,4\"\nAT+CCLK=\"11/04/25,09:00:00+00\"\nAT+BOGUS=\"1\"\n", false, {},
     {"AT+CCWA", "AT+CCFC4", "AT+CCLK", "AT+BOGUS"}},
};

INSTANTIATE_TEST_SUITE_P(VerifyReport, Comparing, ::testing::ValuesIn(kRows), CaseName());

// The report as printed, in each language: the hint to read forwarding only
// when it was not read, and the active forwardings an erase-all would remove.
struct Printed
{
    const char *name;
    int language;
    std::string terminal;
    bool forward;
    std::string file;
    std::string report;
};

class Printing : public ::testing::TestWithParam<Printed>
{};

TEST_P(Printing, DifferencesThenWhatWasNotVerifiedThenTheSummary)
{
    const Printed &row = GetParam();
    lang::SetCode(row.language);
    const VerifyResult result =
        CompareWithFile(Document(row.terminal), ListsRead(row.forward), Document(row.file));
    std::ostringstream out;
    PrintVerifyReport(result, out);
    lang::SetCode(lang::kEnglish);
    EXPECT_EQ(out.str(), row.report);
}

const std::string kDiffering = "[PARA]\n16543=\"2\"\n16544=\"11\"\n";
const std::string kExpected = "[PARA]\n32=\"1\"\n16543=\"6\"\n16544=\"11\"\n[ATCMD]\nAT+CCWA=\"1,1\"\n";

// clang-format off
const Printed kPrinted[] = {
    {"ForwardingNotRead", lang::kEnglish, kDiffering, false, kExpected,
     "Change RX Volume (16543): terminal \"2\", file \"6\"\n"
     "Not verifiable, a read does not return them:\n"
     "  General Password: (32)\n"
     "  Call Waiting 0495 (AT+CCWA)\n"
     "Call waiting and forwarding are read with --forward.\n"
     "Verified: 1 of 2 verifiable settings differ.\n"},
    {"ForwardingNotReadPt", lang::kPortuguese, kDiffering, false, kExpected,
     "Volume de recepção (16543): terminal \"2\", arquivo \"6\"\n"
     "Não verificáveis, a leitura não os retorna:\n"
     "  Senha geral: (32)\n"
     "  Habilitar chamada em espera 0495 (AT+CCWA)\n"
     "Chamada em espera e desvios são lidos com --forward.\n"
     "Verificado: 1 de 2 configurações verificáveis diferem.\n"},
    {"ForwardingNotReadEs", lang::kSpanish, kDiffering, false, kExpected,
     "Recepción (16543): terminal \"2\", archivo \"6\"\n"
     "No verificables, la lectura no los devuelve:\n"
     "  General contraseña: (32)\n"
     "  Habilitar llamada em espera,0495 (AT+CCWA)\n"
     "Llamada en espera y desvíos se leen con --forward.\n"
     "Verificado: 1 de 2 configuraciones verificables difieren.\n"},
    {"ForwardingReadNoHint", lang::kEnglish,
     "[PARA]\n16543=\"6\"\n[ATCMD]\nAT+CCFC0=\"0,3,\"111\",129\"\nAT+CCFC2=\"2,3,\"333\",129,\"\",,30\"\n",
     true, "[PARA]\n32=\"1\"\n16543=\"6\"\n[ATCMD]\nAT+CCFC4=\"4,4\"\n",
     "Forward all calls (AT+CCFC4): terminal \"0,3,\"111\",129; 2,3,\"333\",129,\"\",,30\", file \"4,4\"\n"
     "Not verifiable, a read does not return them:\n"
     "  General Password: (32)\n"
     "Verified: 1 of 2 verifiable settings differ.\n"},
    {"AllMatchPt", lang::kPortuguese, kDiffering, false, "[PARA]\n16543=\"2\"\n",
     "Verificado: as 1 configurações verificáveis conferem.\n"},
    {"NothingVerifiableEs", lang::kSpanish, kDiffering, false, "[PARA]\n16547=\"CLEAR\"\n",
     "No verificables, la lectura no los devuelve:\n"
     "  Borrar lista del call back (16547)\n"
     "No verificado: nada en el archivo pudo comprobarse con el terminal.\n"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(VerifyReport, Printing, ::testing::ValuesIn(kPrinted), CaseName());

} // namespace
