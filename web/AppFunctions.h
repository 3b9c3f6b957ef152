#pragma once
#include "web/ProcessMessage.h"
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The functions of the page object `app`: what each takes, and the process message it becomes.

enum class AppParam { Text, Integer };

// Where one argument of a message comes from: a parameter of the call, or a fixed value.
struct AppMessageArg {
    int param = -1; // index into the call's arguments; -1 for the fixed value
    ProcessArgument fixed;
};

struct AppFunction {
    std::string_view function;
    std::string_view message;
    std::vector<AppParam> params;
    std::vector<AppMessageArg> args;
};

const std::vector<AppFunction> &appFunctions();

// One argument as it arrives from script: nothing usable (null, boolean, object), text, or a number.
using AppCallValue = std::variant<std::monostate, std::string, double>;

// The message a call becomes, or nothing when the function is unknown, the argument count differs
// from the parameter count, or an argument is not of its parameter's kind (text: text, the page
// script having already written numbers as text; integer: a whole number in 32-bit range).
std::optional<ProcessMessage> appCallMessage(std::string_view function,
                                             const std::vector<AppCallValue> &args);
