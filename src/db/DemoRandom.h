#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <vector>

namespace fat::db {

// The demo generator's only source of chance. The engine's output is fixed by the standard
// for a seed; the mapping to ranges is our own (the standard distributions differ between
// libraries), so a seed gives the same data with any compiler.
class DemoRandom {
public:
    explicit DemoRandom(std::uint32_t seed) : engine_(seed) {}

    std::uint32_t next() { return static_cast<std::uint32_t>(engine_()); }

    // A whole number from lo to hi, both included (lo <= hi).
    int between(int lo, int hi) {
        const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
        return lo + static_cast<int>((static_cast<std::uint64_t>(next()) * span) >> 32);
    }

    // True with the given chance in percent (0 never, 100 always).
    bool percent(int chance) { return between(0, 99) < chance; }

    // An index into a list of weights, each index as likely as its weight.
    std::size_t weighted(std::initializer_list<int> weights) {
        int total = 0;
        for (int w : weights) total += w;
        int roll = between(0, total - 1);
        std::size_t index = 0;
        for (int w : weights) {
            if (roll < w) return index;
            roll -= w;
            ++index;
        }
        return weights.size() - 1;
    }

    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(items.size()) - 1))];
    }

private:
    std::mt19937 engine_;
};

} // namespace fat::db
