// Axes get ticks at the powers of ten (log) or at round steps (linear); the legend sits
// under each panel so no line is hidden behind it.
#include "Plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ktv::bench {

namespace {

constexpr double kPanelW = 420, kPanelH = 300, kLeft = 70, kTop = 70, kGap = 100, kLegendLine = 18;

std::string num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

std::string escape(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

std::string shortCount(double v)
{
    char buf[32];
    if (v >= 1e6)
        std::snprintf(buf, sizeof buf, "%gM", v / 1e6);
    else if (v >= 1e3)
        std::snprintf(buf, sizeof buf, "%gk", v / 1e3);
    else
        std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// A round step giving about five linear ticks up to hi.
double niceStep(double hi)
{
    const double raw = hi / 5;
    const double p = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (raw <= m * p)
            return m * p;
    return 10 * p;
}

std::string panel(const Panel& p, double x0)
{
    double xMin = 1e300, xMax = 0, yMin = 1e300, yMax = 0;
    for (const auto& s : p.series)
        for (const auto& [x, y] : s.points) {
            xMin = std::min(xMin, x);
            xMax = std::max(xMax, x);
            yMin = std::min(yMin, y);
            yMax = std::max(yMax, y);
        }
    if (xMax <= 0)
        return {};
    const double lx0 = std::floor(std::log10(xMin)), lx1 = std::max(lx0 + 1, std::ceil(std::log10(xMax)));
    double y0 = 0, y1 = yMax * 1.1;
    const double step = niceStep(y1);
    y1 = std::ceil(y1 / step) * step;
    double ly0 = 0, ly1 = 1;
    if (p.logY) {
        ly0 = std::floor(std::log10(std::max(yMin, 1e-9)));
        ly1 = std::max(ly0 + 1, std::ceil(std::log10(yMax)));
    }
    auto sx = [&](double x) { return x0 + (std::log10(x) - lx0) / (lx1 - lx0) * kPanelW; };
    auto sy = [&](double y) {
        const double f = p.logY ? (std::log10(y) - ly0) / (ly1 - ly0) : (y - y0) / (y1 - y0);
        return kTop + kPanelH - f * kPanelH;
    };
    std::string out;
    out += "<text x=\"" + num(x0 + kPanelW / 2) + "\" y=\"" + num(kTop - 12) +
           "\" text-anchor=\"middle\" font-weight=\"bold\">" + escape(p.title) + "</text>\n";
    out += "<rect x=\"" + num(x0) + "\" y=\"" + num(kTop) + "\" width=\"" + num(kPanelW) + "\" height=\"" +
           num(kPanelH) + "\" fill=\"none\" stroke=\"#444\"/>\n";
    for (double e = lx0; e <= lx1; ++e) {
        const double x = sx(std::pow(10, e));
        out += "<line x1=\"" + num(x) + "\" y1=\"" + num(kTop) + "\" x2=\"" + num(x) + "\" y2=\"" +
               num(kTop + kPanelH) + "\" stroke=\"#ddd\"/>\n";
        out += "<text x=\"" + num(x) + "\" y=\"" + num(kTop + kPanelH + 16) + "\" text-anchor=\"middle\">" +
               shortCount(std::pow(10, e)) + "</text>\n";
    }
    std::vector<double> ticks;
    if (p.logY)
        for (double e = ly0; e <= ly1; ++e)
            ticks.push_back(std::pow(10, e));
    else
        for (double v = y0; v <= y1 + step / 2; v += step)
            ticks.push_back(v);
    for (double v : ticks) {
        const double y = sy(v);
        out += "<line x1=\"" + num(x0) + "\" y1=\"" + num(y) + "\" x2=\"" + num(x0 + kPanelW) + "\" y2=\"" +
               num(y) + "\" stroke=\"#ddd\"/>\n";
        out += "<text x=\"" + num(x0 - 6) + "\" y=\"" + num(y + 4) + "\" text-anchor=\"end\">" +
               shortCount(v) + "</text>\n";
    }
    out += "<text x=\"" + num(x0 + kPanelW / 2) + "\" y=\"" + num(kTop + kPanelH + 36) +
           "\" text-anchor=\"middle\">records in all (log scale)</text>\n";
    out += "<text transform=\"translate(" + num(x0 - 52) + "," + num(kTop + kPanelH / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">" + escape(p.yLabel) + "</text>\n";
    double legendY = kTop + kPanelH + 60;
    for (const auto& s : p.series) {
        const std::string dash = s.dashed ? " stroke-dasharray=\"6,4\"" : "";
        std::string pts;
        for (const auto& [x, y] : s.points)
            pts += num(sx(x)) + "," + num(sy(y)) + " ";
        out += "<polyline points=\"" + pts + "\" fill=\"none\" stroke=\"" + s.colour +
               "\" stroke-width=\"2\"" + dash + "/>\n";
        for (const auto& [x, y] : s.points)
            out += "<circle cx=\"" + num(sx(x)) + "\" cy=\"" + num(sy(y)) + "\" r=\"3\" fill=\"" + s.colour +
                   "\"/>\n";
        out += "<line x1=\"" + num(x0) + "\" y1=\"" + num(legendY - 4) + "\" x2=\"" + num(x0 + 30) +
               "\" y2=\"" + num(legendY - 4) + "\" stroke=\"" + s.colour + "\" stroke-width=\"2\"" + dash +
               "/>\n";
        out += "<text x=\"" + num(x0 + 38) + "\" y=\"" + num(legendY) + "\">" + escape(s.name) + "</text>\n";
        legendY += kLegendLine;
    }
    return out;
}

} // namespace

std::string svgChart(const std::string& title, const std::string& subtitle, const std::vector<Panel>& panels)
{
    std::size_t legend = 0;
    for (const auto& p : panels)
        legend = std::max(legend, p.series.size());
    const double width = kLeft + static_cast<double>(panels.size()) * (kPanelW + kGap);
    const double height = kTop + kPanelH + 60 + static_cast<double>(legend) * kLegendLine + 10;
    std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(width) + "\" height=\"" +
                      num(height) + "\" font-family=\"sans-serif\" font-size=\"12\">\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    out += "<text x=\"" + num(width / 2) +
           "\" y=\"20\" text-anchor=\"middle\" font-size=\"15\" font-weight=\"bold\">" + escape(title) +
           "</text>\n";
    out += "<text x=\"" + num(width / 2) + "\" y=\"38\" text-anchor=\"middle\" fill=\"#555\">" +
           escape(subtitle) + "</text>\n";
    double x0 = kLeft;
    for (const auto& p : panels) {
        out += panel(p, x0);
        x0 += kPanelW + kGap;
    }
    return out + "</svg>\n";
}

} // namespace ktv::bench
