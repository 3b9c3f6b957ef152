#include "bench/ProcessTreePss.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

// The parent of `pid` from /proc/PID/stat, or 0 when it cannot be read. The command name stands in
// parentheses and may hold spaces or parentheses itself, so the fields are read after the last ')'.
pid_t parentOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return 0;
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string state;
    pid_t parent = 0;
    fields >> state >> parent;
    return parent;
}

// Every live process by its parent.
std::multimap<pid_t, pid_t> childrenByParent() {
    std::multimap<pid_t, pid_t> children;
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        children.emplace(parentOf(pid), pid);
    }
    return children;
}

} // namespace

long long processPssKiB(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/smaps_rollup");
    for (std::string line; std::getline(file, line);)
        if (line.rfind("Pss:", 0) == 0)
            return std::stoll(line.substr(4));
    return 0;
}

std::vector<pid_t> processTree(pid_t root) {
    const std::multimap<pid_t, pid_t> children = childrenByParent();
    std::vector<pid_t> tree{root};
    for (std::size_t next = 0; next < tree.size(); ++next) {
        const auto [first, last] = children.equal_range(tree[next]);
        for (auto child = first; child != last; ++child)
            tree.push_back(child->second);
    }
    return tree;
}

long long processTreePssKiB(pid_t root) {
    long long total = 0;
    for (pid_t pid : processTree(root))
        total += processPssKiB(pid);
    return total;
}
