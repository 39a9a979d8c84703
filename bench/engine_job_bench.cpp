// A full read (every page's numbers with the forwarding queries) and a full
// write of a complete configuration, through the engine, the driver and a
// pty to the simulated terminal, whose output crosses a paced 115200 baud
// wire. Each job runs at the terminal latencies 0 and 30 ms and the device
// gaps 20 and 0 ms, each in a fresh engine as one kestrel-cli run has it,
// and the figures come out as a Markdown table:
//
//   wall      the job from start to end
//   wire      the bytes of both directions at 10 bits a byte
//   pauses    the pauses the jobs make for the terminal, and the device gap
//   terminal  the terminal's thinking time (latency x commands)
//   own       wall less the pauses and less, for every command, the time from
//             its arrival to its final reply on the wire: the echo (the
//             command's own bytes cross at the same time) or the thinking
//             time, whichever is longer, then the reply. What remains is the
//             tool's own share, with the pty's and the simulator's scheduling
//             in it.
//
// "write" carries the PIN start-up entries, after which the write job waits
// 5 s for the terminal; "write, no PIN" is the same configuration without them.
//
//   engine_job_bench [read|write|nopin ...]   (all three when none is named)

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

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>

using params::Slot;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

constexpr uint32_t kBaud = 115200;
constexpr double kBitsPerByte = 10.0;

ParameterStore CompleteConfiguration(bool withPin)
{
    ParameterStore store;
    store.ResetToDefaults();
    const std::pair<Slot, const char *> texts[] = {
        {Slot::GeneralPassword, "123456"},
        {Slot::LongDistanceBlock, "01"},
        {Slot::PrefixNumberBlock, "01"},
        {Slot::AddPrefix, "01"},
        {Slot::PreNumbers, "0123456789"},
        {Slot::Prefix, "0021"},
        {Slot::CspNone, "0"},
        {Slot::CspAllCalls, "0"},
        {Slot::CspCallBack, "1"},
        {Slot::CspNumber, "21"},
        {Slot::CallWaiting, "01"},
        {Slot::ForwardNoAnswer, "01"},
        {Slot::ForwardNumber, "+5511999990000"},
        {Slot::NoAnswerTime, "20"},
        {Slot::RestrictedId, "1"},
        {Slot::PinStartUp, "0"},
        {Slot::PinCode, "4711"},
        {Slot::PolarityInversion, "01"},
        {Slot::DialTimeout, "5"},
        {Slot::Date, "250411"},
        {Slot::Time, "0930"},
        {Slot::RestrictOutgoing, "1"},
        {Slot::OutgoingLimit, "60"},
        {Slot::RestrictIncoming, "1"},
        {Slot::IncomingLimit, "90"},
        {Slot::FlashTime, "100"},
        {Slot::RxVolume, "4"},
        {Slot::TxVolume, "08"},
        {Slot::CallBack, "01"},
        {Slot::CallBackTime, "10"},
        {Slot::CallBackAttempts, "3"},
        {Slot::AnswerCallBackTime, "5"},
    };
    for (const auto &[slot, text] : texts)
        store[slot] = text;
    store.waitingForwardEnabled = store.callWaitingIncluded = store.forwardingIncluded = 1;
    store.pinWriteMode = withPin ? 1 : 0;
    for (size_t i = 0; i < store.forbidden.size(); ++i)
        store.forbidden[i] = std::to_string(900000 + i);
    for (size_t i = 0; i < store.callBack.size(); ++i)
        store.callBack[i] = std::to_string(5511900000000ull + i);
    return store;
}

// The bytes of one command's exchange on the line: the command with its
// CR, its echo with its CR, the reply lines framed CR LF before and after.
struct Exchange
{
    size_t command = 0;
    size_t echo = 0;
    size_t reply = 0;
};

// Every exchange, from the AT log.
std::vector<Exchange> Exchanges(const std::string &log)
{
    std::vector<Exchange> exchanges;
    std::istringstream in(log);
    std::string record, lastCommand;
    while (std::getline(in, record)) {
        while (!record.empty() && (record.back() == '\r' || record.back() == '\n'))
            record.pop_back();
        if (record.size() < 20)
            continue;
        const std::string body = record.substr(20);
        if (body.rfind("Send: ", 0) == 0) {
            lastCommand = body.substr(6);
            exchanges.push_back({lastCommand.size() + 1});
        } else if (body.rfind("Recv: ", 0) == 0 && !exchanges.empty()) {
            const std::string line = body.substr(6);
            if (line == lastCommand)
                exchanges.back().echo += line.size() + 1;
            else
                exchanges.back().reply += line.size() + 4;
        }
    }
    return exchanges;
}

enum class Job { Read, Write, WriteWithoutPin };

const char *JobName(Job job)
{
    switch (job) {
    case Job::Read:
        return "read";
    case Job::Write:
        return "write";
    case Job::WriteWithoutPin:
        return "write, no PIN";
    }
    return "";
}

struct Row
{
    Job job;
    int latencyMs = 0;
    int gapMs = 0;
    size_t commands = 0;
    double wall = 0, wire = 0, pauses = 0, terminal = 0;
    double arrivalToReply = 0; // summed over the commands
    bool ok = false;
};

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// One job in a fresh engine on a fresh simulated terminal.
Row RunJob(Job job, int latencyMs, int gapMs, const std::string &dir)
{
    Row row{job, latencyMs, gapMs};
    sim::TerminalSimulator terminal([&] {
        sim::SimOptions options;
        options.faults.latency = platform::Millis(latencyMs);
        options.faults.wireBaud = kBaud;
        return options;
    }());
    std::string error;
    if (!terminal.Start(error)) {
        std::fprintf(stderr, "simulator: %s\n", error.c_str());
        return row;
    }
    g_strPortName = terminal.SlavePath();
    g_nDeviceGap = gapMs;

    CSerialPort port;
    bool ended = false;
    HeadlessWindow window(port, [](const std::string &text, bool failure) {
        if (failure)
            std::fprintf(stderr, "%s\n", text.c_str());
    });
    ReadLists lists;
    CommEngine engine(port, lists);
    Operations operations(port, engine, lists, window);
    window.RouteLinesToEngine(engine, operations, nullptr,
                              [&](const JobReport &report) { ended = ended || report.jobEnded; });
    window.OnWatchdog([&] { ended = true; });
    engine.Start();

    const std::string configuration = dir + "/config.ini";
    platform::ForceDeleteFile(configuration);
    if (job != Job::Read)
        params::Export(configuration, CompleteConfiguration(job == Job::Write));
    platform::ForceDeleteFile(AtLogPath());

    const auto start = Clock::now();
    const auto everyPage = [](ReadLists &l) {
        for (size_t page = 0; page < params::kPageCount; ++page)
            params::AppendPageReadItems(static_cast<params::Page>(page), l, {true, true, true});
    };
    const auto copyConfiguration = [&](const std::string &path) {
        return platform::CopyWholeFile(configuration, path, 1 << 20).error;
    };
    const bool started = job == Job::Read
                             ? operations.Receive(everyPage)
                             : operations.Transmit(nullptr, nullptr, copyConfiguration);
    if (!started || !window.Queue().RunUntil([&] { return ended; }, std::chrono::minutes(10))) {
        std::fprintf(stderr, "the %s did not end\n", JobName(job));
        return row;
    }
    row.wall = Seconds(Clock::now() - start);
    engine.Stop();

    std::string log;
    platform::ReadWholeFile(AtLogPath(), 64 << 20, log);
    const double byteTime = kBitsPerByte / kBaud;
    for (const Exchange &exchange : Exchanges(log)) {
        row.wire += (exchange.command + exchange.echo + exchange.reply) * byteTime;
        row.arrivalToReply +=
            std::max(exchange.echo * byteTime, latencyMs / 1000.0) + exchange.reply * byteTime;
    }
    row.commands = terminal.CommandCount();
    row.pauses = Seconds(engine.Comm().PausedTime() + engine.Comm().GapTime());
    row.terminal = row.commands * latencyMs / 1000.0;
    row.ok = true;
    return row;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<Job> jobs;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "read")
            jobs.push_back(Job::Read);
        else if (name == "write")
            jobs.push_back(Job::Write);
        else if (name == "nopin")
            jobs.push_back(Job::WriteWithoutPin);
        else {
            std::fprintf(stderr, "usage: engine_job_bench [read|write|nopin ...]\n");
            return 2;
        }
    }
    if (jobs.empty())
        jobs = {Job::Read, Job::Write, Job::WriteWithoutPin};

    char pattern[] = "/tmp/kestrel-bench-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    g_strAppDir = dir + "/";
    g_strBaudRate = std::to_string(kBaud);
    g_strSoftwarePassword = "1234";

    std::printf("| job | latency ms | gap ms | commands | wall s | wire s | pauses s | terminal s "
                "| own s | own ms/command | wall/wire |\n");
    std::printf("|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|\n");
    int status = 0;
    for (const Job job : jobs) {
        for (const int latency : {0, 30}) {
            for (const int gap : {20, 0}) {
                const Row r = RunJob(job, latency, gap, dir);
                if (!r.ok) {
                    status = 1;
                    continue;
                }
                const double own = r.wall - r.pauses - r.arrivalToReply;
                std::printf(
                    "| %s | %d | %d | %zu | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.1f |\n",
                    JobName(r.job), r.latencyMs, r.gapMs, r.commands, r.wall, r.wire, r.pauses,
                    r.terminal, own, 1000.0 * own / r.commands, r.wall / r.wire);
                std::fflush(stdout);
            }
        }
    }
    std::filesystem::remove_all(dir);
    return status;
}
