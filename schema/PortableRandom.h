#pragma once

// Random numbers that are the same on every machine and with every compiler and library: the
// SplitMix64 generator and draws made from it with integer arithmetic only (the standard
// library's distributions may differ between versions, floating point between machines).

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace md::schema {

class PortableRandom {
  public:
    explicit PortableRandom(std::uint64_t seed) : state_(seed) {}

    // A stream of its own for item `index` of the run seeded `seed`, so that one item's draws
    // never depend on how many the items before it made.
    static PortableRandom forItem(std::uint64_t seed, std::uint64_t index) {
        PortableRandom mix(seed ^ (index * 0xD1B54A32D192ED03ULL));
        return PortableRandom(mix.next() ^ index);
    }

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, bound), without the bias of a plain remainder (Lemire's method).
    std::uint64_t below(std::uint64_t bound) {
        if (bound == 0)
            throw std::invalid_argument("PortableRandom::below(0)");
        unsigned __int128 m = static_cast<unsigned __int128>(next()) * bound;
        auto low = static_cast<std::uint64_t>(m);
        if (low < bound) {
            const std::uint64_t threshold = (0 - bound) % bound;
            while (low < threshold) {
                m = static_cast<unsigned __int128>(next()) * bound;
                low = static_cast<std::uint64_t>(m);
            }
        }
        return static_cast<std::uint64_t>(m >> 64);
    }

    // Uniform in [low, high].
    std::int64_t between(std::int64_t low, std::int64_t high) {
        return low + static_cast<std::int64_t>(below(static_cast<std::uint64_t>(high - low) + 1));
    }

    // True in `perMille` of 1000 draws.
    bool chance(int perMille) { return below(1000) < static_cast<std::uint64_t>(perMille); }

  private:
    std::uint64_t state_;
};

// Draws ranks 0 .. n-1 with the weights 1 / (rank + 1 + offset)^power, computed in integers.
class ZipfTable {
  public:
    ZipfTable(int n, int offset, int power) {
        if (n <= 0 || offset < 0 || power < 1 || power > 3)
            throw std::invalid_argument("ZipfTable: bad shape");
        std::uint64_t total = 0;
        cumulative_.reserve(static_cast<size_t>(n));
        for (int k = 1; k <= n; ++k) {
            std::uint64_t denominator = 1;
            for (int p = 0; p < power; ++p)
                denominator *= static_cast<std::uint64_t>(k + offset);
            total += kScale / denominator;
            cumulative_.push_back(total);
        }
    }

    int size() const { return static_cast<int>(cumulative_.size()); }
    std::uint64_t total() const { return cumulative_.back(); }
    // The weight of one rank, out of total().
    std::uint64_t weight(int rank) const {
        return cumulative_[static_cast<size_t>(rank)] -
               (rank == 0 ? 0 : cumulative_[static_cast<size_t>(rank) - 1]);
    }

    int draw(PortableRandom& random) const {
        const std::uint64_t x = random.below(total());
        size_t low = 0;
        size_t high = cumulative_.size() - 1;
        while (low < high) {  // the first rank whose cumulative weight exceeds x
            const size_t mid = (low + high) / 2;
            if (cumulative_[mid] > x)
                high = mid;
            else
                low = mid + 1;
        }
        return static_cast<int>(low);
    }

  private:
    static constexpr std::uint64_t kScale = std::uint64_t(1) << 40;
    std::vector<std::uint64_t> cumulative_;
};

}  // namespace md::schema
