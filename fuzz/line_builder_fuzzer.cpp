// The line builder fed arbitrary bytes in arbitrary splits. Whatever the
// split, an owner that takes every line gets the same lines as from one
// batch; every line is a well-formed reply line.

#include "fuzz/fuzz_check.h"
#include "link/line_builder.h"
#include "link/serial_port.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

namespace {

class Owner : public IRxLineOwner
{
public:
    explicit Owner(CSerialPort &port, bool takeEveryLine)
        : builder(port, *this), takeAll(takeEveryLine)
    {}

    void OnRxLineReady() override
    {
        ++ready;
        if (takeAll)
            Take();
    }
    void OnRxError(RxError error) override { errors.push_back(error); }

    void Take()
    {
        if (auto line = builder.TakeLine())
            lines.push_back(*line);
    }

    RxLineBuilder builder;
    bool takeAll;
    int ready = 0;
    std::vector<std::string> lines;
    std::vector<RxError> errors;
};

void CheckLine(const std::string &line)
{
    FUZZ_CHECK(!line.empty());
    FUZZ_CHECK(line.size() <= kRxLineSize);
    FUZZ_CHECK(line.find('\r') == std::string::npos);
    FUZZ_CHECK(line.front() != '\n');
    if (line.starts_with("> "))
        FUZZ_CHECK(line.size() == 2); // the prompt ends right after its blank
}

size_t Count(const std::vector<RxError> &errors, RxError kind)
{
    size_t n = 0;
    for (RxError e : errors)
        n += e == kind;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool takeAll = input.ConsumeBool();
    std::vector<std::string> batches;
    std::string whole;
    while (input.remaining_bytes() > 0) {
        const size_t length = input.ConsumeIntegralInRange<size_t>(0, 2 * kRxLineSize);
        batches.push_back(input.ConsumeBytesAsString(length));
        whole += batches.back();
    }

    CSerialPort port;
    Owner owner(port, takeAll);
    bool stopped = false;
    for (const std::string &batch : batches) {
        const bool fed = owner.builder.Feed(batch.data(), batch.size());
        // Only a swap error stops a batch, and only an owner that left a line.
        FUZZ_CHECK(fed || (!takeAll && Count(owner.errors, RxError::SwapFailed) > 0));
        stopped = stopped || !fed;
        if (!takeAll)
            owner.Take(); // a slow owner: at most one line per batch
    }
    for (const std::string &line : owner.lines)
        CheckLine(line);
    if (!takeAll) {
        FUZZ_CHECK(owner.lines.size() <= static_cast<size_t>(owner.ready));
        return 0;
    }

    CSerialPort reference;
    Owner oneBatch(reference, true);
    FUZZ_CHECK(oneBatch.builder.Feed(whole.data(), whole.size()));
    FUZZ_CHECK(!stopped);
    FUZZ_CHECK(owner.lines == oneBatch.lines);
    FUZZ_CHECK(Count(owner.errors, RxError::SwapFailed) == 0);
    FUZZ_CHECK(Count(owner.errors, RxError::NoData) == 0);
    // A dropped line is reported once per batch it ends in, at least once.
    FUZZ_CHECK(owner.errors.empty() == oneBatch.errors.empty());
    FUZZ_CHECK(owner.builder.InLine() == oneBatch.builder.InLine());
    FUZZ_CHECK(owner.builder.DroppingLine() == oneBatch.builder.DroppingLine());
    return 0;
}
