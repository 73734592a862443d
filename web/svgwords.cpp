#include "svgwords.h"

#include <cmath>
#include <cstdio>

namespace korvelian::svg {

std::string num(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", std::abs(value) < 1e-9 ? 0.0 : value);
    return text;
}

std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string colour(Colour rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0xffffff));
    return text;
}

std::string paint(const char* what, Rgba c)
{
    std::string out = std::string(" ") + what + "=\"" + colour(c.rgb) + '"';
    if (c.alpha < 0xffff)
        out += std::string(" ") + what + "-opacity=\"" + num(c.alpha / 65535.0) + '"';
    return out;
}

std::vector<std::vector<Run>> richLines(const std::string& html)
{
    std::vector<std::vector<Run>> lines(1);
    int italic = 0, sub = 0;
    std::size_t at = 0;
    while (at < html.size()) {
        if (html[at] == '<') {
            const std::size_t end = html.find('>', at);
            std::string tag = html.substr(at + 1, end == std::string::npos ? 0 : end - at - 1);
            at = end == std::string::npos ? html.size() : end + 1;
            const bool closing = !tag.empty() && tag[0] == '/';
            tag = tag.substr(closing ? 1 : 0,
                             tag.find_first_of(" />", closing ? 1 : 0) - (closing ? 1 : 0));
            if (tag == "i")
                italic += closing ? -1 : 1;
            else if (tag == "sub")
                sub += closing ? -1 : 1;
            else if ((tag == "br" || tag == "div") && !(tag == "div" && lines.back().empty()))
                lines.emplace_back();
            continue;
        }
        std::string text;
        if (html[at] == '&') {
            const std::size_t end = html.find(';', at);
            const std::string entity = html.substr(at, end - at + 1);
            text = entity == "&nbsp;"   ? "\u00a0"
                   : entity == "&lt;"   ? "&lt;"
                   : entity == "&gt;"   ? "&gt;"
                   : entity == "&quot;" ? "&quot;"
                                        : "&amp;";
            at = end == std::string::npos ? html.size() : end + 1;
        } else {
            const std::size_t end = html.find_first_of("<&", at);
            text = escaped(html.substr(at, end - at));
            at = end == std::string::npos ? html.size() : end;
        }
        if (lines.back().empty() || lines.back().back().italic != (italic > 0) ||
            lines.back().back().sub != (sub > 0))
            lines.back().push_back({"", italic > 0, sub > 0});
        lines.back().back().text += text;
    }
    return lines;
}

std::string fontAttributes(const Font& font, double size)
{
    const std::string family =
        font.sansSerif || font.family.empty() ? "sans-serif" : escaped(font.family) + ", serif";
    return " font-family=\"" + family + "\" font-size=\"" + num(size) + '"';
}

} // namespace korvelian::svg
