#pragma once

// What every part of the core's face to the page shares: the page's imports, the one core the
// exports act on, and how an answer is handed to the page.
#include "drawingpixels.h"
#include "form/screenviews.h"
#include "handlers/soundoutput.h"
#include "json.h"
#include "model/stereotone.h"
#include "scene/scene.h"
#include "scene/textmetrics.h"
#include "webwindow.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#define KORV_IMPORT(name) __attribute__((import_module("korvelian"), import_name(#name)))
#define KORV_EXPORT(name) extern "C" __attribute__((export_name("korv_" #name)))

extern "C" {
KORV_IMPORT(changed) void hostChanged(int what);
KORV_IMPORT(doEvents) void hostDoEvents();
KORV_IMPORT(sleep) void hostSleep(double seconds);
KORV_IMPORT(msgBox)
void hostMsgBox(const char* prompt, int promptLength, const char* title, int titleLength);
KORV_IMPORT(clock) double hostClock();
KORV_IMPORT(ended) void hostEnded();
// Text measured by the page's canvas; a font is its family, whether it is sans serif and its
// pixel size. richTextSize writes width and height to size.
KORV_IMPORT(richTextSize)
void hostRichTextSize(const char* html, int htmlLength, const char* family, int familyLength,
                      int sansSerif, int pixelSize, double width, double* size);
KORV_IMPORT(lineHeight)
double hostLineHeight(const char* family, int familyLength, int sansSerif, int pixelSize);
KORV_IMPORT(advance)
double hostAdvance(const char* family, int familyLength, int sansSerif, int pixelSize,
                   const char* text, int textLength);
KORV_IMPORT(capHeight)
double hostCapHeight(const char* family, int familyLength, int sansSerif, int pixelSize);
// The sine kernel with the browser's multiply-add, where the page could build it.
KORV_IMPORT(fusedSines) void hostFusedSines(const double* in, double* out, std::size_t n);
}

namespace korvelian {

inline int length(const std::string& text)
{
    return static_cast<int>(text.size());
}

class Host final : public PageHost
{
public:
    void changed(int what) override { hostChanged(what); }
    void doEvents() override { hostDoEvents(); }
    void sleep(double seconds) override { hostSleep(seconds); }
    void msgBox(const std::string& prompt, const std::string& title) override
    {
        hostMsgBox(prompt.data(), length(prompt), title.data(), length(title));
    }
    double clock() override { return hostClock(); }
    void ended() override { hostEnded(); }
};

class PageTextMetrics final : public TextMetrics
{
public:
    SizeF richTextSize(const std::string& html, const Font& font, double width) override
    {
        double size[2] = {0, 0};
        hostRichTextSize(html.data(), length(html), font.family.data(), length(font.family),
                         font.sansSerif, font.pixelSize, width, size);
        return {size[0], size[1]};
    }
    double lineHeight(const Font& font) override
    {
        return hostLineHeight(font.family.data(), length(font.family), font.sansSerif,
                              font.pixelSize);
    }
    double advance(const Font& font, const std::string& text) override
    {
        return hostAdvance(font.family.data(), length(font.family), font.sansSerif, font.pixelSize,
                           text.data(), length(text));
    }
    double capHeight(const Font& font) override
    {
        return hostCapHeight(font.family.data(), length(font.family), font.sansSerif,
                             font.pixelSize);
    }
};

// The tone for the page's audio: rendered from the same stereo oscillators as the desktop's,
// whenever the page's audio asks for frames. A fade is the settings at silence, ramped.
class WebSound final : public SoundOutput
{
public:
    void start(double sampleRate) { m_tone.emplace(sampleRate); }
    bool started() const { return m_tone.has_value(); }
    void play(const ToneSettings& settings) override
    {
        if (m_tone)
            m_tone->set(settings);
    }
    void fadeOut() override
    {
        if (!m_tone)
            return;
        ToneSettings silent = m_tone->settings();
        silent.gainX = 0;
        silent.gainY = 0;
        m_tone->set(silent);
    }
    void endNow() override { fadeOut(); }
    // count interleaved stereo frames, left first.
    const std::int16_t* render(std::size_t count)
    {
        m_frames.assign(2 * count, 0);
        if (m_tone)
            m_tone->render(m_frames.data(), count);
        return m_frames.data();
    }

private:
    std::optional<StereoTone> m_tone;
    std::vector<std::int16_t> m_frames;
};

struct Core
{
    Host host;
    PageTextMetrics metrics;
    WebWindow window{host};
    DrawingPixels pixels;
    std::vector<std::uint32_t> screenPixels;
    std::vector<std::uint32_t> drawingPixels;
    // The drawings of the scene written last, which the page asks pixels of.
    std::vector<item::Drawing> drawings;
    Json json;
    WebSound sound;
    // The page shows the time signals beside the window.
    bool timeSignals = false;
    // "y-Achse nach oben" ticked; the screen shows y upward with "Wie im Lehrbuch" too.
    bool yUpTicked = false;
    // "Werte verbergen" or the quiz: the time signals' formulas are not shown either.
    bool valuesHidden = false;
    // Where a bar's drag began: its release reports the change from there.
    std::int16_t dragFrom[4] = {};
};

Core& core();

// Whether the view at index of the page's view list is on (screenbinding.cpp).
bool viewOn(int index);
// "Wie im Lehrbuch" and "Feine Kurve" (lessonbinding.cpp): whether on, and switched.
bool figureViewOn(FigureView view);
void setFigureView(FigureView view, bool on);
// The lesson's step on show, as the presentation's heading; empty before one is shown
// (lessonbinding.cpp).
std::string lessonHeading();
// The series the quiz asks from while it asks (quizbinding.cpp): its range and seed, as a link
// opens it again.
struct QuizLink;
const QuizLink* askedQuiz();
// The screen's orientation after its tick or "Wie im Lehrbuch" changed.
void showYUp();

// Hands the text of json to the page; it stays valid until json is written again.
const char* written(Json& json);
// A scene for the page, its drawings kept for korv_drawingPixels.
const char* sceneJson(const Scene& scene);

} // namespace korvelian
