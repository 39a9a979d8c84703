#pragma once
// A page's checks on its edit fields, written as data: each rule looks at
// one value and carries its message in the three languages. The rules run
// in the page's order; the first that fails is reported on its field
// through the page's first-failure report, and the rest are not looked at.
//
//     const FieldRule kNumberRules[] = {
//         {[](std::string_view v) { return !params::IsAllDigits(v); }, kMustBeNumber},
//         {[](std::string_view v) { return v.size() != 2; }, kMustBeTwo},
//     };
//     return CheckFields(*this, {{m_number, ValueOf(m_number), kNumberRules}});

#include "pages/parameter_page.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

struct FieldRule
{
    bool (*fails)(std::string_view value);
    lang::Tr3 message;
};

// The rules that apply to one field's value, skipped while inactive (the
// field's gating box is unchecked).
struct FieldCheck
{
    QLineEdit *field;
    std::string value;
    std::span<const FieldRule> rules;
    bool active = true;
};

// True when no rule fails; otherwise the first failure is reported in the
// given order and false is returned.
bool CheckFields(
    CParameterPage &page, std::initializer_list<FieldCheck> checks,
    CParameterPage::FailureOrder order = CParameterPage::FailureOrder::MessageThenPage);
