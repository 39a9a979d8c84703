#pragma once
// The transcripts of golden_file.h in this QtTest program: what would fail
// a GoogleTest there fails the running QtTest function here.

#include <QTest>
#include <gtest/gtest.h>
#include <sstream>

class QtGoldenFailure
{
public:
    QtGoldenFailure() = default;
    QtGoldenFailure(const QtGoldenFailure &) = delete;
    QtGoldenFailure &operator=(const QtGoldenFailure &) = delete;
    ~QtGoldenFailure() { QTest::qFail(m_text.str().c_str(), __FILE__, __LINE__); }
    template <class Value> QtGoldenFailure &operator<<(const Value &value)
    {
        m_text << value;
        return *this;
    }

private:
    std::ostringstream m_text;
};

#undef ADD_FAILURE
#undef EXPECT_TRUE
#define ADD_FAILURE() QtGoldenFailure()
#define EXPECT_TRUE(condition)                                                                     \
    if (condition) {                                                                               \
    } else                                                                                         \
        QtGoldenFailure()

#include "tests/common/golden_file.h"
