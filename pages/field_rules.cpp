#include "pages/field_rules.h"

bool CheckFields(CParameterPage &page, std::initializer_list<FieldCheck> checks,
                 CParameterPage::FailureOrder order)
{
    for (const FieldCheck &check : checks) {
        if (!check.active)
            continue;
        for (const FieldRule &rule : check.rules) {
            if (rule.fails(check.value))
                return page.FailOnField(CParameterPage::InLanguage(rule.message), check.field,
                                        order);
        }
    }
    return true;
}
