#pragma once
// The program's pseudo-random generator: seeded once, then uniform draws from
// [0, 1). Tests install one that answers prepared values.

namespace platform {

class RandomDraw {
public:
    virtual ~RandomDraw() = default;
    virtual void seed(int value) = 0;
    // A uniform draw from the half-open range [0, 1).
    virtual double next() = 0;
};

RandomDraw& randomDraw();
// Replaces the real generator (tests); nullptr puts it back.
void setRandomDraw(RandomDraw* replacement);

} // namespace platform
