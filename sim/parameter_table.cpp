#include "sim/parameter_table.h"

#include <algorithm>

namespace sim {

namespace {

constexpr auto RW = Access::ReadWrite;
constexpr auto RO = Access::ReadOnly;
constexpr auto D = ValueForm::Digits;
constexpr auto T = ValueForm::Text;

} // namespace

const std::vector<ParameterSpec> &ParameterTable()
{
    static const std::vector<ParameterSpec> table = {
        {32, 32, "000000", RW, T, 6},                    // general password
        {5, 5, "00", RW, D, 2},                          // long distance block
        {35, 35, "00", RW, D, 2},                        // international block
        {5000, 5000, "00", RW, D, 2},                    // incoming block
        {3000, 3000, "00", RW, D, 2},                    // prefix and number block
        {3001, 3020, "", RW, D, 20},                     // forbidden prefixes and numbers
        {1001, 1001, "00", RW, D, 2},                    // add-prefix switch
        {33, 33, "00", RW, D, 2},                        // add-prefix switch, second home
        {34, 34, "", RW, D, 10},                         // pre-numbers
        {1000, 1000, "", RW, D, 16},                     // prefix
        {16541, 16541, "0", RW, D, 1},                   // CSP mode
        {16542, 16542, "11", RW, D, 2},                  // CSP number
        {16546, 16546, "0", RW, D, 2},                   // restricted ID
        {16207, 16207, "00", RW, D, 2},                  // change-PIN switch
        {6000, 6000, "00", RO, D, 2},                    // auto-lock PIN
        {6001, 6001, "4", RO, D, 2},                     // random PIN length
        {6002, 6002, "4711", RO, D, 8},                  // terminal PIN code
        {6003, 6003, "8352", RO, D, 8},                  // random PIN
        {6004, 6004, "1234", RO, D, 8},                  // fixed PIN code
        {6005, 6005, "00", RO, D, 2},                    // use random PIN code
        {7000, 7000, "00", RO, D, 2},                    // bind SIM
        {7001, 7001, "89550311000012345678", RO, D, 20}, // bound SIM serial
        {16001, 16001, "00", RW, D, 2},                  // polarity inversion
        {2, 2, "5", RW, D, 1},                           // dial timeout
        {16208, 16208, "0", RW, D, 2},                   // restrict outgoing
        {16209, 16209, "60", RW, D, 3},                  // outgoing limit
        {16210, 16210, "100", RW, D, 4},                 // flash time
        {16515, 16515, "0", RW, D, 2},                   // restrict incoming
        {16516, 16516, "60", RW, D, 3},                  // incoming limit
        {16543, 16543, "4", RW, D, 1},                   // RX volume
        {16544, 16544, "08", RW, D, 2},                  // TX volume
        {16517, 16517, "00", RW, D, 2},                  // call back
        {16539, 16539, "10", RW, D, 2},                  // call back time
        {16540, 16540, "3", RW, D, 2},                   // call back attempts
        {16545, 16545, "05", RW, D, 2},                  // time to answer call back
        {16512, 16512, "00", RO, D, 2},                  // number header switch
        {16513, 16513, "", RO, D, 20},                   // number header
        {reserved::kCallBackFirst, reserved::kCallBackLast, "", RW, D, 20}, // call back numbers
    };
    return table;
}

const ParameterSpec *FindParameter(int number)
{
    const auto &table = ParameterTable();
    const auto it = std::find_if(table.begin(), table.end(), [number](const ParameterSpec &row) {
        return number >= row.first && number <= row.last;
    });
    return it == table.end() ? nullptr : &*it;
}

bool IsListEntry(int number)
{
    return (number >= 3001 && number <= 3020) ||
           (number >= reserved::kCallBackFirst && number <= reserved::kCallBackLast);
}

bool ValueFits(const ParameterSpec &row, std::string_view value)
{
    if (value.size() > row.maxLength)
        return false;
    return std::all_of(value.begin(), value.end(), [&row](char c) {
        if (row.form == ValueForm::Digits)
            return c >= '0' && c <= '9';
        return static_cast<unsigned char>(c) >= 0x20 && c != '"' && c != 0x7f;
    });
}

} // namespace sim
