#include "convert/ConversionReport.h"

#include "platform/core/TextCodec.h"

#include <cstdio>

namespace ktv {

namespace {

std::string jsonString(const std::string& raw)
{
    // JSON is UTF-8: other bytes (a folder name written in code page 1254) are read as
    // Windows-1254, as the conversion reads source text.
    const std::string s = text::toUtf8(raw);
    std::string out = "\"";
    for (const char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

} // namespace

std::string FailedRunToJson(int number, const std::string& description)
{
    return "{\n  \"error\": {\"number\": " + std::to_string(number) +
           ", \"description\": " + jsonString(description) + "}\n}\n";
}

std::string ReportToJson(const ConversionReport& report)
{
    std::string out = "{\n  \"dryRun\": ";
    out += report.dryRun ? "true" : "false";
    out += ",\n  \"target\": " + jsonString(report.target);
    out += ",\n  \"numberFormat\": {\"locale\": " + jsonString(report.numberFormat) +
           ", \"decimal\": " + jsonString(std::string(1, report.decimalSeparator)) +
           ", \"group\": " + jsonString(std::string(1, report.groupSeparator)) + "}";
    out += ",\n  \"tables\": [";
    for (std::size_t i = 0; i < report.tables.size(); ++i) {
        const TableReport& t = report.tables[i];
        out += (i ? ",\n" : "\n");
        out += "    {\"table\": " + jsonString(t.table) + ", \"read\": " + std::to_string(t.read) +
               ", \"added\": " + std::to_string(t.added) + ", \"present\": " + std::to_string(t.present) +
               ", \"skipped\": " + std::to_string(t.skipped) + ", \"cut\": " + std::to_string(t.cut) + "}";
    }
    out += "\n  ]\n}\n";
    return out;
}

} // namespace ktv
