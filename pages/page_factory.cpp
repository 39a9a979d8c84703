#include "pages/page_factory.h"

#include "pages/interim_page.h"

std::unique_ptr<CParameterPage> CreateParameterPage(int templateId)
{
    // Every page is served by the interim page until it has a class of its own.
    for (size_t index = 0; index < params::kPageCount; ++index) {
        const auto page = static_cast<params::Page>(index);
        if (params::PageTemplate(page) == templateId)
            return std::make_unique<CInterimPage>(page);
    }
    return nullptr;
}
