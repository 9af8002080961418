#include "platform/desktop/randomdraw.h"

#include <random>

namespace platform {
namespace {

class RealRandomDraw final : public RandomDraw {
public:
    void seed(int value) override { engine_.seed(static_cast<std::mt19937::result_type>(value)); }
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

private:
    std::mt19937 engine_;
};

} // namespace

template <> RandomDraw& real<RandomDraw>() { return made<RealRandomDraw>(); }

} // namespace platform
