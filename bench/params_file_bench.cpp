// Time to export and to import a parameter file of a store with every list
// entry filled (20 forbidden entries, 300 call back numbers), the largest
// file the tool writes. Prints the median of 100 runs of each.

#include "params/ini_file.h"
#include "params/param_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using params::Slot;

namespace {

ParameterStore FullStore()
{
    ParameterStore store;
    store.ResetToDefaults();
    store[Slot::GeneralPassword] = "123456";
    store[Slot::PrefixNumberBlock] = "01";
    store[Slot::AddPrefix] = "01";
    store[Slot::PreNumbers] = "0123456789";
    store[Slot::Prefix] = "0021";
    store[Slot::CspNone] = "0";
    store[Slot::CspAllCalls] = "0";
    store[Slot::CspCallBack] = "1";
    store[Slot::CspNumber] = "21";
    store.waitingForwardEnabled = store.callWaitingIncluded = store.forwardingIncluded = 1;
    store[Slot::ForwardNoAnswer] = "01";
    store[Slot::ForwardNumber] = "+5511999990000";
    store.pinWriteMode = 1;
    store[Slot::PinCode] = "4711";
    store[Slot::Date] = "250411";
    store[Slot::Time] = "0930";
    store[Slot::TimeZone] = "-03";
    store[Slot::RestrictOutgoing] = "0";
    store[Slot::RestrictIncoming] = "0";
    for (size_t i = 0; i < store.forbidden.size(); ++i)
        store.forbidden[i] = std::to_string(90000000000000000ull + i);
    for (size_t i = 0; i < store.callBack.size(); ++i)
        store.callBack[i] = std::to_string(55119000000000ull + i);
    store[Slot::CallBack] = "01";
    return store;
}

template <typename Step> double MedianMicroseconds(int runs, Step step)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!step()) {
            std::fprintf(stderr, "a run failed\n");
            std::exit(1);
        }
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    // A folder on the disk the tool would use; the temporary folder by default.
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    const std::string path = (folder / "kestrel-params-bench.ini").string();
    const ParameterStore store = FullStore();
    constexpr int kRuns = 100;

    const double exportTime = MedianMicroseconds(kRuns, [&] {
        std::filesystem::remove(path); // the caller deletes the file before an export
        return params::Export(path, store).ok;
    });
    ParameterStore loaded = store;
    const double importTime =
        MedianMicroseconds(kRuns, [&] { return params::Import(path, loaded).ok; });
    const auto size = std::filesystem::file_size(path);
    std::filesystem::remove(path);

    // How a read fills the temporary file: one write per reply.
    std::vector<std::pair<std::string, std::string>> entries;
    for (unsigned number = 16212; number < 16512; ++number)
        entries.emplace_back(std::to_string(number), "\"" + store.callBack[number - 16212] + "\"");
    const double perReplyTime = MedianMicroseconds(kRuns / 10, [&] {
        std::filesystem::remove(path);
        CIniFile file(path);
        for (const auto &[key, value] : entries) {
            if (!file.WriteString(params::kParaSection, key, value))
                return false;
        }
        return true;
    });
    std::filesystem::remove(path);
    if (!(loaded == store)) {
        std::fprintf(stderr, "the imported store differs from the exported one\n");
        return 1;
    }
    std::printf("parameter file of %ju bytes in %s, median of %d runs:\n", std::uintmax_t(size),
                folder.string().c_str(), kRuns);
    std::printf("  export %8.1f us\n  import %8.1f us\n", exportTime, importTime);
    std::printf("%zu single writes as a read makes them, median of %d runs: %.1f us\n",
                entries.size(), kRuns / 10, perReplyTime);
    return 0;
}
