#pragma once

#include "geometry.h"
#include "scene.h"

#include <string>

namespace korvelian {

// What a painter knows of its fonts and a description must ask: how large a text comes out.
// The desktop answers with its own text layout, the browser with its canvas; a description
// places its texts from these answers alone, so each edition puts them where its own letters
// need them.
class TextMetrics
{
public:
    virtual ~TextMetrics() = default;

    // Rich text (see item::RichText) in font, wrapped at width where width is above 0.
    virtual SizeF richTextSize(const std::string& html, const Font& font, double width) = 0;
    // A line's height and a plain text's advance in font.
    virtual double lineHeight(const Font& font) = 0;
    virtual double advance(const Font& font, const std::string& text) = 0;
    // The height of a capital letter above the base line.
    virtual double capHeight(const Font& font) = 0;
};

} // namespace korvelian
