#pragma once
// How the simulated phone sends one answer (the echo of one command line and
// its reply): when it starts and in which pieces.
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace qb {

struct AnswerShape {
    int delayMs = 0;               // from the phone's turn to the first byte
    std::vector<std::size_t> cuts; // offsets in the answer where a chunk ends
    std::vector<int> gapsMs;       // before chunk 2, 3, ...; the last one repeats
};

// answer counts from 0 in the order the phone answers; bytes is the answer.
using AnswerShaper = std::function<AnswerShape(std::size_t answer, std::string_view bytes)>;

} // namespace qb
