#pragma once
// Transcripts (transcript.h) compared in QtTest programs: a difference
// fails the running test function.

#include "tests/common/transcript.h"

#include <QTest>

inline void ExpectGolden(const std::string &path, const std::vector<std::string> &actual)
{
    const std::string difference = GoldenDifference(path, actual);
    QVERIFY2(difference.empty(), difference.c_str());
}

template <class Take, class Finish>
void ExpectTranscript(const std::string &path, Take take, Finish finish)
{
    ExpectGolden(path, Transcript(path, take, finish));
}
