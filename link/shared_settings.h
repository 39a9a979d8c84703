#pragma once
// Process-wide settings of the link: set by the start-up and the login on the
// UI thread before any port thread or job reads them.

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Port name as the user picked it: a bare name ("ttyUSB0", "SIM0") or a path.
extern std::string g_strPortName;
// Baud rate as decimal text, kUsualBaudRate by default.
extern std::string g_strBaudRate;
// The rates the login offers, slowest first, and the terminal's own unless
// it was set otherwise.
inline constexpr std::string_view kLoginBaudRates[] = {"2400",  "4800",  "9600",  "19200",
                                                       "38400", "57600", "115200"};
inline constexpr std::string_view kUsualBaudRate = "115200";
// The login's rates in the order a search for the terminal tries them: the
// usual one first, then the others from the fastest down.
std::vector<std::string> SearchBaudRates();
// Folder for the per-port files (temporary parameter file, AT log), with a
// trailing separator.
extern std::string g_strAppDir;
// 1 on systems that wait for overlapped completions (every system we run on).
extern int g_bIsNT;

// The device gap: a command goes to the terminal no sooner than this many
// milliseconds after the terminal's final reply to the previous command.
// 20 by default, which terminals have always had at least; 0 to 1000.
inline constexpr int kDefaultDeviceGap = 20;
inline constexpr int kMaxDeviceGap = 1000;
extern std::atomic<int> g_nDeviceGap;
// A gap given as text (the stored setting, a command-line value): whole
// milliseconds from 0 to 1000 and nothing else; nothing for anything else.
std::optional<int> ParseDeviceGap(std::string_view text);

// Whether the terminal echoes the command lines it takes: unknown until the
// login or a job has seen an echo, or a final reply without one.
enum class EchoMode { Unknown, Echoes, Silent };
extern std::atomic<EchoMode> g_terminalEcho;
