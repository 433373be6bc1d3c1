#pragma once

#include <gtest/gtest.h>

#include <string>

// Names a table-driven test case after its `name` field.
struct CaseName {
    template <typename Case>
    std::string operator()(const testing::TestParamInfo<Case>& param) const {
        return param.param.name;
    }
};
