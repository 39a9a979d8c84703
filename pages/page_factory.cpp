#include "pages/page_factory.h"

#include "pages/call_back_page.h"
#include "pages/csp_page.h"
#include "pages/forbids_page.h"
#include "pages/forward_page.h"
#include "pages/interim_page.h"
#include "pages/passwords_page.h"
#include "pages/polarity_page.h"
#include "pages/prefix_page.h"
#include "pages/restricted_id_page.h"
#include "pages/security_code_page.h"
#include "pages/times_page.h"
#include "pages/volume_page.h"

using params::Page;

std::unique_ptr<CParameterPage> CreateParameterPage(int templateId)
{
    for (size_t index = 0; index < params::kPageCount; ++index) {
        const auto page = static_cast<Page>(index);
        if (params::PageTemplate(page) != templateId)
            continue;
        switch (page) {
        case Page::Passwords:
            return std::make_unique<CPasswordsPage>();
        case Page::Forbids:
            return std::make_unique<CForbidsPage>();
        case Page::Prefix:
            return std::make_unique<CPrefixPage>();
        case Page::Csp:
            return std::make_unique<CCspPage>();
        case Page::Forward:
            return std::make_unique<CForwardPage>();
        case Page::RestrictedId:
            return std::make_unique<CRestrictedIdPage>();
        case Page::SecurityCode:
            return std::make_unique<CSecurityCodePage>();
        case Page::Polarity:
            return std::make_unique<CPolarityPage>();
        case Page::Times:
            return std::make_unique<CTimesPage>();
        case Page::Volume:
            return std::make_unique<CVolumePage>();
        case Page::CallBack:
            return std::make_unique<CCallBackPage>();
        default:
            // Served by the interim page until it has a class of its own.
            return std::make_unique<CInterimPage>(page);
        }
    }
    return nullptr;
}
