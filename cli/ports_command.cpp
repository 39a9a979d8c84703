#include "cli/ports_command.h"

#include "cli/run_output.h"
#include "cli/text_table.h"
#include "engine/login.h"
#include "platform/serial_ports.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr lang::Tr3 kAnswered = {"answers \"OK\" at %s baud", "responde \"OK\" a %s baud",
                                 "responde \"OK\" a %s baudios"};
constexpr lang::Tr3 kNotOk = {"answers, but never \"OK\"", "responde, mas nunca \"OK\"",
                              "responde, pero nunca \"OK\""};
constexpr lang::Tr3 kSilent = {"no answer", "sem resposta", "sin respuesta"};
constexpr lang::Tr3 kInUse = {"in use by another program", "em uso por outro programa",
                              "en uso por otro programa"};
constexpr lang::Tr3 kCannotOpen = {"cannot be opened: %s", "não pode ser aberta: %s",
                                   "no se puede abrir: %s"};
constexpr lang::Tr3 kStopped = {"search stopped", "busca interrompida", "búsqueda detenida"};
constexpr lang::Tr3 kNoneAnswered = {"No port answered \"OK\".", "Nenhuma porta respondeu \"OK\".",
                                     "Ningún puerto respondió \"OK\"."};

using Result = ProbeResult::Outcome;

std::string_view ResultName(const ProbeResult &result)
{
    switch (result.outcome) {
    case Result::Answered:
        return "answered";
    case Result::NoAnswer:
        return "no-answer";
    case Result::InUse:
        return "in-use";
    case Result::CannotOpen:
        return "cannot-open";
    case Result::Stopped:
        return "stopped";
    }
    return {};
}

std::string ResultText(const ProbeResult &result)
{
    switch (result.outcome) {
    case Result::Answered:
        return kAnswered.Text({result.rate});
    case Result::NoAnswer:
        return (result.heard ? kNotOk : kSilent).Text();
    case Result::InUse:
        return kInUse.Text();
    case Result::CannotOpen:
        return kCannotOpen.Text({platform::PortErrorText(result.error)});
    case Result::Stopped:
        return kStopped.Text();
    }
    return {};
}

// The ports named, with what the listing knows of each; every port offered
// when none is named.
std::vector<platform::OfferedPort> PortsToList(const std::vector<std::string> &named)
{
    std::vector<platform::OfferedPort> offered = platform::ListOfferedPorts();
    if (named.empty())
        return offered;
    std::vector<platform::OfferedPort> ports;
    for (const std::string &name : named) {
        const auto found = std::find_if(offered.begin(), offered.end(),
                                        [&](const auto &port) { return port.name == name; });
        if (found != offered.end()) {
            ports.push_back(*found);
        } else {
            ports.emplace_back();
            ports.back().name = name;
        }
    }
    return ports;
}

std::string PortJson(const platform::OfferedPort &port, const std::optional<ProbeResult> &probe)
{
    json::Object object;
    object.Text("name", port.name).Text("description", port.description);
    object.Flag("virtual", port.isVirtual);
    object.Text("manufacturer", port.system.manufacturer).Text("product", port.system.product);
    object.Text("serialNumber", port.system.serialNumber);
    if (probe) {
        json::Object result;
        result.Text("result", ResultName(*probe))
            .Text("rate", probe->rate)
            .Flag("heard", probe->heard);
        result.Text("error", probe->error.code ? platform::PortErrorText(probe->error) : "");
        object.Raw("probe", result.Str());
    }
    return object.Str();
}

} // namespace

PortsCommand::PortsCommand(const CliOptions &options, std::ostream &err, std::ostream &out)
    : m_options(options), m_err(err), m_out(out)
{}

int PortsCommand::Run()
{
    lang::SetCode(m_options.language);
    RunOutput output(m_options, m_err, {});
    const std::vector<platform::OfferedPort> ports = PortsToList(m_options.ports);
    std::vector<ProbeResult> results;
    if (m_options.probe) {
        std::vector<std::string> names;
        for (const platform::OfferedPort &port : ports) {
            names.push_back(port.name);
            output.StateOf(port.name, RunState::Probing);
        }
        results =
            m_probe.ProbeAll(names, m_options.baudGiven ? std::vector<std::string>{m_options.baud}
                                                        : SearchBaudRates());
        for (const ProbeResult &result : results) {
            if (const std::string advice = login::PortOpenAdvice(result.port, result.error.kind);
                result.outcome == Result::CannotOpen && !advice.empty())
                output.Tell(advice, true);
        }
    }
    const bool answered = std::any_of(results.begin(), results.end(), [](const ProbeResult &r) {
        return r.outcome == Result::Answered;
    });
    const int status = m_options.probe && !answered ? 1 : 0;
    if (status != 0 && !m_probe.Stopped())
        output.Tell(kNoneAnswered.Text(), true);
    const Outcome outcome = status == 0         ? Outcome::Succeeded
                            : m_probe.Stopped() ? Outcome::Stopped
                                                : Outcome::Failed;
    output.End(outcome, status);

    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> objects;
    for (size_t i = 0; i < ports.size(); ++i) {
        const std::optional<ProbeResult> probe =
            i < results.size() ? std::optional(results[i]) : std::nullopt;
        rows.push_back({ports[i].name, ports[i].description});
        if (probe)
            rows.back().push_back(ResultText(*probe));
        objects.push_back(PortJson(ports[i], probe));
    }
    if (m_options.json)
        m_out << output.Summary("ports", outcome, status).Raw("ports", json::Array(objects)).Str()
              << '\n'
              << std::flush;
    else
        PrintColumns(rows, m_out);
    return status;
}
