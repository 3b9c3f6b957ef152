#pragma once
#include <QMetaType>
#include <cstddef>
#include <string>
#include <variant>
#include <vector>

// A message from page script to the client: a name and an ordered list of text and integer arguments.
using ProcessArgument = std::variant<std::string, int>;

struct ProcessMessage {
    std::string name;
    std::vector<ProcessArgument> args;

    // Argument at index as text; empty when missing or an integer.
    std::string text(std::size_t index) const {
        if (index < args.size())
            if (const auto *value = std::get_if<std::string>(&args[index]))
                return *value;
        return {};
    }
    // Argument at index as an integer; 0 when missing or text.
    int integer(std::size_t index) const {
        if (index < args.size())
            if (const auto *value = std::get_if<int>(&args[index]))
                return *value;
        return 0;
    }

    bool operator==(const ProcessMessage &) const = default;
};

Q_DECLARE_METATYPE(ProcessMessage)
