#pragma once

#include <algorithm>
#include <vector>

// The middle figure of a run: one slow outlier (a busy machine) moves it little.
inline double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
