#include "sim/program_options.h"

#include "sim/at_text.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>

namespace sim {

namespace {

using Apply = std::function<bool(ProgramOptions &, const std::string &)>;

struct OptionSpec
{
    std::string_view name;
    std::string_view valueName; // empty: a switch without a value
    std::string_view help;
    Apply apply;
};

std::optional<std::size_t> Count(const std::string &text)
{
    const auto number = ParseNumber(text);
    return number ? std::optional<std::size_t>(static_cast<std::size_t>(*number)) : std::nullopt;
}

// "5,35,3001-3020" into the set.
bool NumberList(const std::string &text, std::set<int> &numbers)
{
    const auto fields = SplitArguments(text);
    if (!fields)
        return false;
    for (const Argument &field : *fields) {
        const std::size_t dash = field.text.find('-');
        const auto first = ParseNumber(field.text.substr(0, dash));
        const auto last =
            dash == std::string::npos ? first : ParseNumber(field.text.substr(dash + 1));
        if (!first || !last || *last < *first || *last - *first > 100000)
            return false;
        for (int number = *first; number <= *last; ++number)
            numbers.insert(number);
    }
    return true;
}

bool Set(std::size_t &target, const std::string &text)
{
    const auto value = Count(text);
    if (value)
        target = *value;
    return value.has_value();
}

bool SetOptional(std::optional<std::size_t> &target, const std::string &text)
{
    const auto value = Count(text);
    if (value)
        target = *value;
    return value.has_value();
}

const std::vector<OptionSpec> &Options()
{
    using P = ProgramOptions;
    using S = const std::string &;
    static const std::vector<OptionSpec> options = {
        {"--help", "", "show this text", [](P &o, S) { return o.help = true; }},
        {"--version", "", "show the version", [](P &o, S) { return o.version = true; }},
        {"--name", "NAME", "advertise the port under NAME (default SIM0)",
         [](P &o, S v) {
             o.portName = v;
             return !v.empty();
         }},
        {"--no-advertise", "", "do not advertise the port",
         [](P &o, S) {
             o.advertise = false;
             return true;
         }},
        {"--password", "TEXT", "software password (default 1234)",
         [](P &o, S v) {
             o.sim.password = v;
             return true;
         }},
        {"--pin", "DIGITS", "SIM PIN (default 4711)",
         [](P &o, S v) {
             o.sim.simPin = v;
             return true;
         }},
        {"--state", "FILE", "load the state from FILE; AT&W and lasting changes save it",
         [](P &o, S v) {
             o.sim.stateFile = v;
             return !v.empty();
         }},
        {"--echo-off", "", "start with the echo off (as after ATE0)",
         [](P &o, S) {
             o.sim.echo = false;
             return true;
         }},
        {"--blank-record", "TEXT", "answer of an empty list entry (default empty)",
         [](P &o, S v) {
             o.sim.blankListRecord = v;
             return true;
         }},
        {"--refuse-read", "LIST", "AT+RPAR of these numbers (e.g. 5,3001-3020) answers an error",
         [](P &o, S v) { return NumberList(v, o.sim.faults.refuseReads); }},
        {"--refuse-write", "LIST", "AT+WPAR of these numbers answers an error",
         [](P &o, S v) { return NumberList(v, o.sim.faults.refuseWrites); }},
        {"--refuse-command", "PREFIX", "lines beginning with PREFIX answer an error (repeatable)",
         [](P &o, S v) {
             o.sim.faults.refuseCommands.push_back(v);
             return !v.empty();
         }},
        {"--cme-error", "N", "answer \"+CME ERROR: N\" instead of ERROR",
         [](P &o, S v) {
             const auto n = ParseNumber(v);
             o.sim.faults.cmeError = n;
             return n.has_value();
         }},
        {"--line-noise", "TEXT", "stray bytes in the input line at start, before the first command",
         [](P &o, S v) {
             o.sim.faults.lineNoise = v;
             return v.find('\r') == std::string::npos;
         }},
        {"--silent-after", "N", "answer nothing after N command lines",
         [](P &o, S v) { return SetOptional(o.sim.faults.silentAfter, v); }},
        {"--hang-up-after", "N",
         "close the pty instead of answering the line after N (a pulled cable)",
         [](P &o, S v) { return SetOptional(o.sim.faults.hangUpAfter, v); }},
        {"--latency", "MS", "thinking time: pause before each reply",
         [](P &o, S v) {
             const auto n = ParseNumber(v);
             o.sim.faults.latency = platform::Millis(n.value_or(0));
             return n.has_value();
         }},
        {"--wire-baud", "RATE", "send no faster than a line at RATE baud (10 bits a byte)",
         [](P &o, S v) {
             const auto n = ParseNumber(v);
             o.sim.faults.wireBaud = static_cast<uint32_t>(n.value_or(0));
             return n.has_value() && *n > 0;
         }},
        {"--unsolicited", "LINE", "unsolicited line, e.g. RING (repeatable, sent in turn)",
         [](P &o, S v) {
             o.sim.faults.unsolicited.push_back(v);
             if (o.sim.faults.unsolicitedEvery == 0)
                 o.sim.faults.unsolicitedEvery = 1;
             return true;
         }},
        {"--unsolicited-every", "N", "send an unsolicited line after every N-th reply (default 1)",
         [](P &o, S v) { return Set(o.sim.faults.unsolicitedEvery, v); }},
        {"--overlong-at", "N", "send a line longer than 1024 bytes before the N-th reply",
         [](P &o, S v) { return SetOptional(o.sim.faults.overlongAt, v); }},
        {"--overlong-length", "N", "length of that line (default 1100)",
         [](P &o, S v) { return Set(o.sim.faults.overlongLength, v); }},
        {"--garbled", "", "garble every byte sent but the line ends (a terminal at another rate)",
         [](P &o, S) { return o.sim.faults.garbled = true; }},
        {"--chunked", "", "send the output in random pieces",
         [](P &o, S) { return o.sim.faults.chunked = true; }},
        {"--seed", "N", "seed of the random pieces (default 1)",
         [](P &o, S v) {
             const auto n = ParseNumber(v);
             o.sim.faults.seed = static_cast<uint32_t>(n.value_or(1));
             return n.has_value();
         }},
        {"--max-chunk", "N", "largest piece in bytes (default 16)",
         [](P &o, S v) { return Set(o.sim.faults.maxChunk, v) && o.sim.faults.maxChunk > 0; }},
        {"--ccfc-classes", "LIST", "inactive classes listed after the voice line (default 2,4)",
         [](P &o, S v) {
             std::set<int> classes;
             if (!NumberList(v, classes))
                 return false;
             o.sim.forwardStyle.otherClasses.assign(classes.begin(), classes.end());
             return true;
         }},
        {"--ccfc-none-class", "N", "class of the line when nothing is forwarded (default 7)",
         [](P &o, S v) {
             const auto n = ParseNumber(v);
             o.sim.forwardStyle.noneClass = n.value_or(7);
             return n.has_value();
         }},
        {"--ccfc-subaddress", "FORM", "omitted (,,,20), quoted (\"\",,20) or typed (\"\",128,20)",
         [](P &o, S v) {
             using Form = ForwardReplyStyle::Subaddress;
             auto &form = o.sim.forwardStyle.subaddress;
             if (v == "omitted")
                 form = Form::Omitted;
             else if (v == "quoted")
                 form = Form::QuotedEmpty;
             else if (v == "typed")
                 form = Form::QuotedWithType;
             else
                 return false;
             return true;
         }},
        {"--ccfc-blanks", "", "a blank after every comma of +CCFC lines",
         [](P &o, S) { return o.sim.forwardStyle.blanks = true; }},
        {"--ccfc-voice-last", "", "the voice line after the inactive lines",
         [](P &o, S) { return o.sim.forwardStyle.voiceLast = true; }},
    };
    return options;
}

} // namespace

bool ParseProgramOptions(const std::vector<std::string> &args, ProgramOptions &options,
                         std::string &error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        const std::size_t equals = name.find('=');
        const bool inlineValue = equals != std::string::npos;
        if (inlineValue) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const auto &knownOptions = Options();
        const auto known = std::find_if(knownOptions.begin(), knownOptions.end(),
                                        [&](const OptionSpec &s) { return s.name == name; });
        if (known == knownOptions.end()) {
            error = "unknown option '" + args[i] + "'";
            return false;
        }
        if (known->valueName.empty() && inlineValue) {
            error = "option " + name + " takes no value";
            return false;
        }
        if (!known->valueName.empty() && !inlineValue) {
            if (i + 1 >= args.size()) {
                error = "option " + name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        if (!known->apply(options, value)) {
            error = "bad value '";
            error.append(value).append("' for ").append(name);
            return false;
        }
    }
    return true;
}

std::string ProgramUsage()
{
    std::string text = "Usage: kestrel-sim [options]\n"
                       "Simulates the desk terminal on a pty. Prints the pty's path as the\n"
                       "first line, then serves until interrupted.\n\n"
                       "Options:\n";
    for (const OptionSpec &known : Options()) {
        std::string left = "  " + std::string(known.name);
        if (!known.valueName.empty())
            left += " " + std::string(known.valueName);
        left.resize(std::max<std::size_t>(left.size() + 1, 28), ' ');
        text += left + std::string(known.help) + "\n";
    }
    return text;
}

} // namespace sim
