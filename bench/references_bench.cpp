// How long "References Found" takes to take a run's distinct references and list them sorted:
//   build/bench/vantaro_references_bench [references]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "run/ReferenceList.h"

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::atol(argv[1]) : 400000;
    using Clock = std::chrono::steady_clock;
    vantaro::ReferenceList list;
    const auto start = Clock::now();
    std::size_t lookedUp = 0;
    for (long i = 0; i < count; ++i) {
        // Shuffled, mixed-case names under a few folders, as a large generated site has them.
        const long n = (i * 7919) % count;
        const std::string reference = (n % 3 == 0 ? "images/Photo-" : "img/thumb_") +
                                      std::to_string(n) + (n % 2 ? ".JPG" : ".gif");
        if (!list.Contains(reference)) {
            list.Add(reference);
        }
        lookedUp += list.Contains("IMG/THUMB_1.JPG") ? 1 : 0;
    }
    const auto added = Clock::now();
    const std::size_t listed = list.Items().size();
    const auto sorted = Clock::now();
    const auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("references: %zu (%zu look-ups hit)\n", listed, lookedUp);
    std::printf("look up and add: %.1f ms (%.2f us each)\n", ms(added - start),
                ms(added - start) * 1000.0 / static_cast<double>(count));
    std::printf("sort into word order: %.1f ms\n", ms(sorted - added));
    return 0;
}
