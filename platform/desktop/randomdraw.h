#pragma once
// The program's pseudo-random generator: seeded once, then uniform draws from
// [0, 1). Tests install one that answers prepared values.

#include "platform/seam.h"

namespace platform {

class RandomDraw {
public:
    virtual ~RandomDraw() = default;
    virtual void seed(int value) = 0;
    // A uniform draw from the half-open range [0, 1).
    virtual double next() = 0;
};

template <> RandomDraw& real<RandomDraw>();

} // namespace platform
