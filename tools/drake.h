// Our model: a small drake with spread wings, built from parametric
// surfaces. Axes: x from tail to snout, y up, z to the drake's left.
#pragma once

#include <vector>

#include "writer3ds.h"

// Body (with mapping coordinates), two wings, legs, horns and back spikes,
// about 20,000 triangles in all. Same output on every build.
std::vector<ObjectData> MakeDrake();
