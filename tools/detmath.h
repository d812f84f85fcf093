// Sine and cosine from + - * / only, so the model comes out with the same
// bytes whichever C library (glibc, msvcrt) the tool is linked against.
#pragma once

#include <cmath>

constexpr double kPi = 3.14159265358979323846;

inline double DetSin(double x) {
    // Reduce to [-pi, pi]; floor is exact in every library.
    x -= 2.0 * kPi * std::floor(x / (2.0 * kPi) + 0.5);
    double term = x, sum = x, x2 = x * x;
    for (int n = 1; n < 14; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

inline double DetCos(double x) { return DetSin(x + kPi / 2.0); }
