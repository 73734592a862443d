#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace korvelian {

// Just enough JSON for what the core tells the page: numbers, texts, lists and objects, written
// in order. Every text is escaped, so no text reaches the page as anything but a string.
class Json
{
public:
    Json& begin(char bracket)
    {
        separate();
        m_out += bracket;
        m_first = true;
        return *this;
    }
    Json& end(char bracket)
    {
        m_out += bracket;
        m_first = false;
        return *this;
    }
    Json& key(std::string_view name)
    {
        separate();
        text(name);
        m_out += ':';
        m_first = true;
        return *this;
    }
    Json& number(double value)
    {
        separate();
        if (!std::isfinite(value)) {
            m_out += "null";
            return *this;
        }
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", value);
        m_out += buffer;
        return *this;
    }
    Json& boolean(bool value)
    {
        separate();
        m_out += value ? "true" : "false";
        return *this;
    }
    Json& null()
    {
        separate();
        m_out += "null";
        return *this;
    }
    Json& string(std::string_view value)
    {
        separate();
        text(value);
        return *this;
    }
    template <typename T> Json& field(std::string_view name, const T& value)
    {
        key(name);
        if constexpr (std::is_same_v<T, bool>)
            return boolean(value);
        else if constexpr (std::is_arithmetic_v<T>)
            return number(static_cast<double>(value));
        else
            return string(value);
    }

    const std::string& str() const { return m_out; }
    void clear()
    {
        m_out.clear();
        m_first = true;
    }

private:
    void separate()
    {
        if (!m_first)
            m_out += ',';
        m_first = false;
    }
    void text(std::string_view value)
    {
        m_out += '"';
        for (const char c : value) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                m_out += '\\';
                m_out += c;
            } else if (u < 0x20 || c == '<' || c == '>' || c == '&') {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
                m_out += buffer;
            } else {
                m_out += c;
            }
        }
        m_out += '"';
    }

    std::string m_out;
    bool m_first = true;
};

} // namespace korvelian
