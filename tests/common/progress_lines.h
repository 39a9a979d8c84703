#pragma once
// The --progress json stream of kestrel-cli as the tests read it.

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

// Each JSON line of the text; other lines (a table, say) are passed over.
inline std::vector<nlohmann::json> JsonLines(const std::string &text)
{
    std::vector<nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] == '{')
            lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

// The states of one port's run, as "state" or "state done/total", each
// once in a row.
inline std::vector<std::string> StatesOf(const std::vector<nlohmann::json> &lines,
                                         const std::string &port)
{
    std::vector<std::string> states;
    for (const nlohmann::json &line : lines) {
        if (line["event"] != "state" || line["port"] != port)
            continue;
        std::string state = line["state"];
        if (line.contains("total"))
            state += " " + to_string(line["done"]) + "/" + to_string(line["total"]);
        if (states.empty() || states.back() != state)
            states.push_back(state);
    }
    return states;
}
