// A small pseudo-random generator of our own (xoshiro256**, seeded through splitmix64), so
// that the generated files are the same with every standard library.
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane::data_set {

class Random {
public:
    Random(std::uint64_t seed, std::string_view stream) {
        std::uint64_t x = seed;
        for (char c : stream) x = x * 1099511628211u + static_cast<unsigned char>(c);
        for (auto& s : state_) s = splitmix(x);
    }
    std::uint64_t next() {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }  // [0, 1)
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    bool chance(double p) { return uniform() < p; }
    int between(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }
    double gauss(double mean, double sd) {
        const double u = 1.0 - uniform();
        return mean + sd * std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * uniform());
    }
    double gamma2(double mean) { return -mean / 2.0 * (std::log(1.0 - uniform()) + std::log(1.0 - uniform())); }
    template <class T>
    const T& pick(const std::vector<T>& v) { return v[next() % v.size()]; }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static std::uint64_t splitmix(std::uint64_t& x) {
        std::uint64_t z = (x += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    std::uint64_t state_[4]{};
};

}  // namespace corvane::data_set
