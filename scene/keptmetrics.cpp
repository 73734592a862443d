#include "keptmetrics.h"

namespace korvelian {

namespace {

// Texts that change in every frame would otherwise be kept for ever.
constexpr std::size_t kMostKept = 256;

} // namespace

template <typename Value, typename Measure>
Value KeptTextMetrics::kept(std::map<Key, Value>& in, const Key& key, Measure measure)
{
    if (const auto it = in.find(key); it != in.end())
        return it->second;
    if (in.size() >= kMostKept)
        in.clear();
    const Value value = measure();
    in.emplace(key, value);
    return value;
}

SizeF KeptTextMetrics::richTextSize(const std::string& html, const Font& font, double width)
{
    return kept(m_richTexts, {font.family, font.sansSerif, font.pixelSize, html, width},
                [&] { return m_metrics.richTextSize(html, font, width); });
}

double KeptTextMetrics::lineHeight(const Font& font)
{
    return kept(m_lineHeights, {font.family, font.sansSerif, font.pixelSize, {}, 0},
                [&] { return m_metrics.lineHeight(font); });
}

double KeptTextMetrics::advance(const Font& font, const std::string& text)
{
    return kept(m_advances, {font.family, font.sansSerif, font.pixelSize, text, 0},
                [&] { return m_metrics.advance(font, text); });
}

double KeptTextMetrics::capHeight(const Font& font)
{
    return kept(m_capHeights, {font.family, font.sansSerif, font.pixelSize, {}, 0},
                [&] { return m_metrics.capHeight(font); });
}

} // namespace korvelian
