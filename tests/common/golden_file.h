#pragma once
// Transcripts (transcript.h) compared in GoogleTest programs.

#include "tests/common/transcript.h"

#include <gtest/gtest.h>

inline void ExpectGolden(const std::string &path, const std::vector<std::string> &actual)
{
    const std::string difference = GoldenDifference(path, actual);
    if (!difference.empty())
        ADD_FAILURE() << difference;
}

template <class Take, class Finish>
void ExpectTranscript(const std::string &path, Take take, Finish finish)
{
    ExpectGolden(path, Transcript(path, take, finish));
}

inline std::vector<std::string> NoResults()
{
    return {};
}
