// A small SVG line chart for the scaling figures: two panels side by side, each with a
// logarithmic x axis (records) and its own y axis, one polyline per series.
#pragma once

#include <string>
#include <vector>

namespace ktv::bench {

struct Series {
    std::string name;
    std::string colour;                            // SVG colour
    bool dashed = false;                           // reruns are dashed, first runs solid
    std::vector<std::pair<double, double>> points; // (records, value)
};

struct Panel {
    std::string title;
    std::string yLabel;
    bool logY = false;
    std::vector<Series> series;
};

// The whole picture: a title, a line naming the machine, and the panels left to right.
std::string svgChart(const std::string& title, const std::string& subtitle, const std::vector<Panel>& panels);

} // namespace ktv::bench
