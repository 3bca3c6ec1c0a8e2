// Which degrees of a map's edge carry a label: the finest of the usual steps whose labels
// stand apart on the length the edge has, so that a small window, a bitmap or a page never
// shows labels run together. Plain C++; the desktop frame measures the labels and draws them.
#pragma once

#include <vector>

namespace corvane::app {

// The step in degrees between labels on an edge of `length` units showing `span` degrees,
// for labels of `label_extent` units along the edge (width on a horizontal edge, height on a
// vertical one): the smallest of 1, 2, 5, 10, 15, 20, 30, 45, 60, 90, 180 and 360 that leaves
// at least a fifth of a label between neighbours; 0, no labels, when none does.
int label_step(double span, double length, double label_extent);

// The multiples of `step` from `first` to `last` degrees, both included where they fall on one.
std::vector<int> label_degrees(double first, double last, int step);

}  // namespace corvane::app
