#include "app/page_table.h"

#include "params/language.h"

// clang-format off
const std::array<PageTableEntry, 3 * kPageTableRows> g_pageTable = {{
    {0, 193, 1369, "Passwords"},
    {1, 133, 1370, "Forbids"},
    {2, 186, 1371, "Prefix"},
    {3, 187, 1372, "CSP"},
    {4, 188, 1373, "Call Waiting and Forward"},
    {5, 189, 1374, "Restricted ID"},
    {6, 137, 1375, "Security Code"},
    {7, 191, 1376, "Polarity Inversion"},
    {8, 192, 1377, "Times"},
    {9, 184, 1378, "Volume"},
    {10, 185, 1379, "Call Back"},

    {0, 193, 1369, "Senhas"},
    {1, 133, 1370, "Bloqueios"},
    {2, 186, 1371, "Prefixo"},
    {3, 187, 1372, "CSP"},
    {4, 188, 1373, "Chamada em espera e Desvios"},
    {5, 189, 1374, "Ocultar ID"},
    {6, 137, 1375, "Código de segurança"},
    {7, 191, 1376, "Inversão de polaridade"},
    {8, 192, 1377, "Tempos"},
    {9, 184, 1378, "Volume"},
    {10, 185, 1379, "Call Back"},

    {0, 193, 1369, "Contraseñas"},
    {1, 133, 1370, "Bloqueo"},
    {2, 186, 1371, "Prefijo"},
    {3, 187, 1372, "CSP"},
    {4, 188, 1373, "Llamada em espera y Desvíos"},
    {5, 189, 1374, "Ocultar ID"},
    {6, 137, 1375, "Código de seguridad"},
    {7, 191, 1376, "Inversión de polaridad"},
    {8, 192, 1377, "Tiempos"},
    {9, 184, 1378, "Volumen"},
    {10, 185, 1379, "Call Back"},
}};
// clang-format on

namespace {

template <typename Field> int FindInEnglishBlock(Field field, long long value)
{
    for (int row = 0; row < kPageTableRows; ++row) {
        if (g_pageTable[size_t(row)].*field == value)
            return g_pageTable[size_t(row)].nPageIndex;
    }
    return kNoPage;
}

} // namespace

int PageIndexByTemplate(long long templateId)
{
    return FindInEnglishBlock(&PageTableEntry::nTemplateId, templateId);
}

int PageIndexByNavButton(int buttonId)
{
    return FindInEnglishBlock(&PageTableEntry::nNavButtonId, buttonId);
}

const PageTableEntry *PageEntry(int pageIndex)
{
    if (pageIndex < 0 || pageIndex >= kPageTableRows)
        return nullptr;
    return &g_pageTable[size_t(pageIndex)];
}

std::string_view PageTitle(int pageIndex, int languageCode)
{
    if (!PageEntry(pageIndex))
        return {};
    const int block = (languageCode >= lang::kEnglish && languageCode <= lang::kSpanish)
                          ? languageCode - lang::kEnglish
                          : 0;
    return g_pageTable[size_t(block * kPageTableRows + pageIndex)].title;
}

std::string_view PageTitle(int pageIndex)
{
    return PageTitle(pageIndex, lang::Code());
}
