#pragma once
#include <random>
#include <string>
#include <vector>

namespace devserver {

// Varied Indonesian sentences for the sample books' pages, reproducible from a seed.
class Prose {
public:
    explicit Prose(unsigned seed, std::string topic);
    std::string sentence();
    std::string paragraph(int sentences);

private:
    const std::string &pick(const std::vector<std::string> &words);

    std::mt19937 random;
    std::string topic;
};

} // namespace devserver
