#pragma once
// The fixed list of numbers of the Forbids and Call back pages: a
// CReportCtrl with the position (never focused) and the number (edited in
// place), one row per entry of the store's list. The list has either no
// rows or all of them. An entry the terminal answered with a blank record
// holds no number: its row shows empty and stores empty.
//
// The terminal's read ends a list at its first empty entry, so a number
// stored behind a hole would be lost at the next Receive (and erased by the
// Transmit after it). The numbers are therefore stored closed up, from the
// first entry on in row order, and the rows then show what was stored.

#include "pages/parameter_page.h"
#include "params/catalogue.h"

#include <QString>
#include <span>
#include <string>
#include <string_view>

class CReportCtrl;

struct NumberListShape
{
    lang::Tr3 numberHeader; // the second column's header; it also names the list
    int positionWidth;
    int numberWidth;
    // The rows (one an entry), the position of row 0 and the numbers' form.
    const params::ListInfo &list;
    // The position as its row shows it ("0811", "  1507").
    QString (*positionText)(int position);
};

// The checks of the rows, each message with the offending row's position.
struct NumberListRules
{
    lang::Tr3 notDigits;   // a row holds more than the digits 0 to 9
    lang::Tr3 tooLong;     // a row holds more characters than the list's form takes
    lang::Tr3 noneEntered; // no row holds anything; reported on row 0
};

class NumberList
{
public:
    NumberList(CParameterPage &page, const NumberListShape &shape);

    CReportCtrl *Control() const { return m_list; }

    // True when the entry is a number to show: not empty, no blank record.
    static bool HoldsNumber(std::string_view entry);

    // The columns, headers and the empty text in the current language; run
    // once at the page's initialisation.
    void SetUp();

    bool HasRows() const;
    void DeleteRows();
    // Deletes any rows and makes all of them, their numbers empty.
    void CreateEmptyRows();
    // Makes all rows and shows in each the number of its entry.
    void Fill(std::span<const std::string> entries);
    // Moves the numbers to the first entries, in their order, and empties
    // the rest (blank records too).
    static void CloseUp(std::span<std::string> entries);

    // The text of a row's number as the store keeps it ("" without rows).
    std::string Number(int row) const;
    // Ends an in-place edit, so that the text being typed counts.
    void FinishEdit();
    // The rows' numbers into the entries, closed up (the list has no rows:
    // all empty); rows there are show what was stored.
    void StoreInto(std::span<std::string> entries);

    // Row by row from row 0, the first row that breaks a rule is reported
    // on that row; then a list without any number is reported on row 0.
    bool CheckRows(const NumberListRules &rules);

private:
    int Position(int row) const { return m_shape.list.firstPosition + row; }
    // Shows the entries in the rows there are.
    void ShowStored(std::span<const std::string> entries);

    CParameterPage &m_page;
    const NumberListShape m_shape;
    CReportCtrl *m_list;
};
