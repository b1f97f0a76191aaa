#pragma once

#include <chrono>
#include <cstdint>
#include <random>

// The game's one source of random numbers: uniform in [0, 1). Every random
// choice of the game is floor(next() x n) + base.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;
};

// The program's generator, seeded from the clock when it is made (at start-up).
class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom()
        : m_engine(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count())) {}
    explicit ClockSeededRandom(uint64_t seed) : m_engine(seed) {}

    double next() override {
        // 53 random bits give every double of the form k / 2^53: never 1.0.
        return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
    }

private:
    std::mt19937_64 m_engine;
};

// floor(r x n) + base, the form of every random choice in the game.
inline int randomChoice(RandomSource& random, int n, int base) {
    const int k = static_cast<int>(random.next() * n);
    return (k < n ? k : n - 1) + base;  // guards a source that rounds up to 1.0
}
