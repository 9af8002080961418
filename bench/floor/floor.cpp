// The floor of the command-line job: plain C++ without Qt that reads a plain
// list (latitude,longitude a line), pairs every point with the next, and
// writes the very csv bytes of `meridane -f csv` on the sphere: the texts as
// read, std::from_chars, the same formula, the distance rounded half to even
// at the unit's places as a whole number of the last place, the running total
// as the sum of those, 1 MiB writes. No checks: the list is the benchmark's.
//
//   bench_floor UNIT LIST > results.csv     (UNIT: mi ft km m nmi)

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

struct Unit {
    const char* symbol;
    int places;
    double perMile;
};

constexpr Unit kUnits[] = {{"mi", 4, 1},          {"ft", 2, 5280},      {"km", 3, 1.609344},
                           {"m", 2, 1609.344},    {"nmi", 4, 1 / 1.15078}};

// The window's sphere, as the engine computes it.
double sphereMiles(double lat1, double lat2, double lon1, double lon2)
{
    constexpr double kPiDegrees = 3.14159265, kHalfPi = 1.5707963267949;
    const auto radians = [](double degrees) { return (kPiDegrees / 180) * degrees; };
    const double p = std::sin(radians(lat1)) * std::sin(radians(lat2));
    const double x = std::clamp(
        std::cos(radians(lat2)) * std::cos(radians(lat1)) * std::cos(radians(lon1 - lon2)) + p,
        -1.0, 1.0);
    double arc = 0;
    if (x == -1)
        arc = 3.14159265358979;
    else if (x != 1)
        arc = kHalfPi - std::atan(x / std::sqrt(1 - x * x));
    return (180 / kPiDegrees) * arc * 60 * 1.15078;
}

// libm's VEX code after a 256-bit instruction waits on the processor: the
// floor clears the state as the program does.
const bool hasAvx = __builtin_cpu_supports("avx");
inline void clearUpperState()
{
    if (hasAvx)
        asm volatile("vzeroupper");
}

class Output {
public:
    ~Output() { flush(); }
    void add(std::string_view bytes)
    {
        block_.append(bytes);
        if (block_.size() >= (1 << 20))
            flush();
    }
    std::string& block() { return block_; }
    void flush()
    {
        for (size_t at = 0; at < block_.size();) {
            const ssize_t written = ::write(1, block_.data() + at, block_.size() - at);
            if (written <= 0)
                return;
            at += size_t(written);
        }
        block_.clear();
    }

private:
    std::string block_;
};

// 123450 at two places: "1234.5".
void appendUnits(std::string& out, std::int64_t units, int places)
{
    while (places > 0 && units % 10 == 0) {
        units /= 10;
        --places;
    }
    char buffer[32];
    char* begin = buffer + sizeof buffer;
    for (int i = 0; i < places; ++i, units /= 10)
        *--begin = char('0' + units % 10);
    if (places > 0)
        *--begin = '.';
    do
        *--begin = char('0' + units % 10);
    while ((units /= 10) != 0);
    out.append(begin, buffer + sizeof buffer);
}

double number(std::string_view text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

int main(int argc, char* argv[])
{
    const Unit* unit = nullptr;
    for (const Unit& u : kUnits)
        if (argc == 3 && std::strcmp(argv[1], u.symbol) == 0)
            unit = &u;
    const int in = argc == 3 ? ::open(argv[2], O_RDONLY) : -1;
    if (!unit || in < 0) {
        std::fprintf(stderr, "usage: bench_floor mi|ft|km|m|nmi LIST\n");
        return 2;
    }
    const double scale = std::pow(10.0, unit->places);
    Output out;
    out.add(std::string("lat1,lon1,lat2,lon2,distance_") + unit->symbol + ",cumulative_" +
            unit->symbol + "\n");
    std::string block, before; // before: the last point's line
    double lat1 = 0, lon1 = 0;
    std::int64_t total = 0;
    const auto line = [&](std::string_view text) {
        const size_t comma = text.find(',');
        const double lat2 = number(text.substr(0, comma)), lon2 = number(text.substr(comma + 1));
        if (!before.empty()) {
            clearUpperState();
            const std::string_view first(before);
            const bool same = first == text;
            const double distance = same ? 0 : sphereMiles(lat1, lat2, lon1, lon2) * unit->perMile;
            const auto units = std::int64_t(std::nearbyint(distance * scale));
            total += units;
            std::string& row = out.block();
            row.append(first).append(",").append(text).append(",");
            appendUnits(row, units, unit->places);
            row += ',';
            appendUnits(row, total, unit->places);
            row += '\n';
            out.add({});
        }
        before.assign(text);
        lat1 = lat2;
        lon1 = lon2;
    };
    block.resize(1 << 20);
    size_t kept = 0;
    for (;;) {
        const ssize_t read = ::read(in, block.data() + kept, block.size() - kept);
        if (read <= 0)
            break;
        const std::string_view bytes(block.data(), kept + size_t(read));
        size_t start = 0;
        for (size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1)
            line(bytes.substr(start, end - start));
        kept = bytes.size() - start;
        std::memmove(block.data(), block.data() + start, kept);
        if (kept == block.size())
            block.resize(2 * block.size());
    }
    if (kept > 0)
        line(std::string_view(block.data(), kept));
    return 0;
}
