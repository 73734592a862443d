#pragma once

#include "textmetrics.h"

#include <map>
#include <string>
#include <tuple>

namespace korvelian {

// Another painter's measures, each asked once and then remembered: a view laid out again in
// every frame of the beam measures the same few texts each time, and a text layout's shaping
// costs more than the frame's own work. What it answers is what the painter answered.
class KeptTextMetrics final : public TextMetrics
{
public:
    explicit KeptTextMetrics(TextMetrics& metrics) : m_metrics(metrics) {}

    SizeF richTextSize(const std::string& html, const Font& font, double width) override;
    double lineHeight(const Font& font) override;
    double advance(const Font& font, const std::string& text) override;
    double capHeight(const Font& font) override;

private:
    // A font with the text measured in it, and the width it was wrapped at.
    using Key = std::tuple<std::string, bool, int, std::string, double>;
    template <typename Value, typename Measure>
    Value kept(std::map<Key, Value>& in, const Key& key, Measure measure);

    TextMetrics& m_metrics;
    std::map<Key, SizeF> m_richTexts;
    std::map<Key, double> m_lineHeights;
    std::map<Key, double> m_advances;
    std::map<Key, double> m_capHeights;
};

} // namespace korvelian
