#pragma once
// Parameterised cases are named after their row's `name`.

#include <gtest/gtest.h>
#include <string>

struct CaseName
{
    template <typename Row> std::string operator()(const testing::TestParamInfo<Row> &info) const
    {
        return info.param.name;
    }
};
