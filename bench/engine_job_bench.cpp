// A full read (every page's numbers with the forwarding queries) and a full
// write of a complete configuration, through the engine, the driver and a
// pty to the simulated terminal answering at once. Prints, per job, the wall
// time, the commands per second, the ratio to the time the bytes take on a
// 115200 baud line (both directions, 10 bits a byte), and the ratio to the
// pauses the jobs are specified to make; wall time less those pauses is the
// tool's own share.

#include "engine/comm_engine.h"
#include "engine/engine_globals.h"
#include "engine/headless_window.h"
#include "engine/operations.h"
#include "link/at_log.h"
#include "link/serial_port.h"
#include "link/shared_settings.h"
#include "params/param_file.h"
#include "params/read_lists.h"
#include "platform/file_io.h"
#include "sim/terminal_simulator.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

using params::Slot;
using Clock = std::chrono::steady_clock;

namespace {

ParameterStore CompleteConfiguration()
{
    ParameterStore store;
    store.ResetToDefaults();
    const std::pair<Slot, const char *> texts[] = {
        {Slot::GeneralPassword, "123456"}, {Slot::LongDistanceBlock, "01"}, {Slot::PrefixNumberBlock, "01"},
        {Slot::AddPrefix, "01"}, {Slot::PreNumbers, "0123456789"}, {Slot::Prefix, "0021"},
        {Slot::CspNone, "0"}, {Slot::CspAllCalls, "0"}, {Slot::CspCallBack, "1"}, {Slot::CspNumber, "21"},
        {Slot::CallWaiting, "01"}, {Slot::ForwardNoAnswer, "01"}, {Slot::ForwardNumber, "+5511999990000"},
        {Slot::NoAnswerTime, "20"}, {Slot::RestrictedId, "1"}, {Slot::PinStartUp, "0"}, {Slot::PinCode, "4711"},
        {Slot::PolarityInversion, "01"}, {Slot::DialTimeout, "5"}, {Slot::Date, "250411"}, {Slot::Time, "0930"},
        {Slot::RestrictOutgoing, "1"}, {Slot::OutgoingLimit, "60"}, {Slot::RestrictIncoming, "1"},
        {Slot::IncomingLimit, "90"}, {Slot::FlashTime, "100"}, {Slot::RxVolume, "4"}, {Slot::TxVolume, "08"},
        {Slot::CallBack, "01"}, {Slot::CallBackTime, "10"}, {Slot::CallBackAttempts, "3"},
        {Slot::AnswerCallBackTime, "5"},
    };
    for (const auto &[slot, text] : texts)
        store[slot] = text;
    store.waitingForwardEnabled = store.callWaitingIncluded = store.forwardingIncluded = 1;
    store.pinWriteMode = 1;
    for (size_t i = 0; i < store.forbidden.size(); ++i)
        store.forbidden[i] = std::to_string(900000 + i);
    for (size_t i = 0; i < store.callBack.size(); ++i)
        store.callBack[i] = std::to_string(5511900000000ull + i);
    return store;
}

// Bytes on the line, from the AT log: commands with their CR; received
// lines framed CR LF before and after, the echo with its CR only.
void CountLineBytes(const std::string &log, size_t &sent, size_t &received)
{
    std::istringstream in(log);
    std::string record;
    std::set<std::string> commands;
    while (std::getline(in, record)) {
        while (!record.empty() && (record.back() == '\r' || record.back() == '\n'))
            record.pop_back();
        if (record.size() < 20)
            continue;
        const std::string body = record.substr(20);
        if (body.rfind("Send: ", 0) == 0) {
            sent += body.size() - 6 + 1;
            commands.insert(body.substr(6));
        } else if (body.rfind("Recv: ", 0) == 0) {
            const std::string line = body.substr(6);
            received += line.size() + (commands.count(line) ? 1 : 4);
        }
    }
}

struct Row
{
    const char *job;
    double wall;
    size_t commands;
    double wire;
    double pauses;
};

} // namespace

int main()
{
    char pattern[] = "/tmp/kestrel-bench-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    g_strAppDir = dir + "/";
    g_strBaudRate = "115200";
    g_strSoftwarePassword = "1234";

    sim::TerminalSimulator terminal;
    std::string error;
    if (!terminal.Start(error)) {
        std::fprintf(stderr, "simulator: %s\n", error.c_str());
        return 1;
    }
    g_strPortName = terminal.SlavePath();

    CSerialPort port;
    bool ended = false;
    CHeadlessWindow window(port, [](const std::string &text, bool failure) {
        if (failure)
            std::fprintf(stderr, "%s\n", text.c_str());
    });
    ReadLists lists;
    CommEngine engine(port, lists);
    COperations operations(port, engine, lists, window);
    window.RouteLinesToEngine(engine, operations, nullptr,
                              [&](const JobReport &report) { ended = ended || report.jobEnded; });
    window.OnWatchdog([&] { ended = true; });
    engine.Start();

    const std::string configuration = dir + "/config.ini";
    params::Export(configuration, CompleteConfiguration());

    std::vector<Row> rows;
    for (const char *job : {"read", "write"}) {
        const bool read = std::string(job) == "read";
        platform::ForceDeleteFile(AtLogPath());
        ended = false;
        const size_t commandsBefore = terminal.CommandCount();
        const auto pausedBefore = engine.Comm().PausedTime();
        const auto start = Clock::now();
        const bool started = read ? operations.Receive([](ReadLists &l) {
            for (size_t page = 0; page < params::kPageCount; ++page)
                params::AppendPageReadItems(static_cast<params::Page>(page), l, {true, true, true});
        })
                                  : operations.Transmit(nullptr, nullptr, [&](const std::string &path) {
                                        return platform::CopyWholeFile(configuration, path, 1 << 20).error;
                                    });
        if (!started || !window.Queue().RunUntil([&] { return ended; }, std::chrono::minutes(10))) {
            std::fprintf(stderr, "the %s did not end\n", job);
            return 1;
        }
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        std::string log;
        platform::ReadWholeFile(AtLogPath(), 64 << 20, log);
        size_t sent = 0, received = 0;
        CountLineBytes(log, sent, received);
        const double pauses =
            std::chrono::duration<double>(engine.Comm().PausedTime() - pausedBefore).count();
        rows.push_back({job, wall, terminal.CommandCount() - commandsBefore, (sent + received) * 10.0 / 115200,
                        pauses});
    }
    engine.Stop();

    std::printf("%-6s %8s %9s %8s %8s %10s %9s %11s %8s\n", "job", "wall s", "commands", "cmd/s", "wire s",
                "wall/wire", "pauses s", "wall/pauses", "own s");
    for (const Row &r : rows)
        std::printf("%-6s %8.2f %9zu %8.1f %8.3f %10.1f %9.2f %11.3f %8.3f\n", r.job, r.wall, r.commands,
                    r.commands / r.wall, r.wire, r.wall / r.wire, r.pauses, r.wall / r.pauses, r.wall - r.pauses);
    std::filesystem::remove_all(dir);
    return 0;
}
