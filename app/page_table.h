#pragma once
// The eleven pages of the main window: for each page its index, the dialog
// template by which the pages and WM_SHOW_PAGE know it, its navigation button
// and its title, in three blocks (English, Portuguese, Spanish) that differ
// only in the titles.

#include <array>
#include <cstdint>
#include <string_view>

struct PageTableEntry
{
    int32_t nPageIndex;
    int32_t nTemplateId;
    int32_t nNavButtonId;
    std::string_view title;
};

inline constexpr int kPageTableRows = 11;
// What the two look-ups return when no row matches.
inline constexpr int kNoPage = kPageTableRows;

// Three blocks of eleven rows, English first.
extern const std::array<PageTableEntry, 3 * kPageTableRows> g_pageTable;

// The page index of the first English row with this template id; kNoPage when
// none. Any value a message carries may be looked up.
int PageIndexByTemplate(long long templateId);
// The same by navigation button id.
int PageIndexByNavButton(int buttonId);

// The row of a page index in the English block; nullptr outside 0..10.
const PageTableEntry *PageEntry(int pageIndex);
// The title of a page in the given language; the English title for a code
// outside 1..3, so that a button never goes without a label. "" for an
// index outside 0..10.
std::string_view PageTitle(int pageIndex, int languageCode);
// ... in the current language.
std::string_view PageTitle(int pageIndex);
