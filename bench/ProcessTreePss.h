#pragma once
// The proportional set size of a whole process tree: a process and all its descendants (for the
// client, the Qt WebEngine helper processes), read from /proc.
#include <sys/types.h>

#include <vector>

// The "Pss" of /proc/PID/smaps_rollup in KiB; 0 for a process that is gone.
long long processPssKiB(pid_t pid);
// `root` and every live process whose chain of parents leads to it.
std::vector<pid_t> processTree(pid_t root);
// The sum of "Pss" in /proc/PID/smaps_rollup over processTree(root), in KiB. A process that ends
// while it is read counts 0.
long long processTreePssKiB(pid_t root);
