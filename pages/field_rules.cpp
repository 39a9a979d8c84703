#include "pages/field_rules.h"

namespace field_tests {

bool Empty(std::string_view value, const params::ValueForm &)
{
    return value.empty();
}

} // namespace field_tests

bool CheckFields(CParameterPage &page, std::initializer_list<FieldCheck> checks,
                 CParameterPage::FailureOrder order)
{
    for (const FieldCheck &check : checks) {
        if (!check.active)
            continue;
        for (const FieldRule &rule : check.rules) {
            if (rule.fails(check.value, check.form))
                return page.FailOnField(lang::QtText(rule.message), *check.field, order);
        }
    }
    return true;
}
