#pragma once
// The page object for a dialog template id: one of the eleven pages, or
// nullptr for any other id.

#include "pages/parameter_page.h"

#include <memory>

std::unique_ptr<CParameterPage> CreateParameterPage(int templateId);
