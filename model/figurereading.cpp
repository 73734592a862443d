#include "figurereading.h"

#include "constants.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <numeric>
#include <optional>

namespace korvelian {

namespace {

constexpr double kPi = std::numbers::pi;

// Bar positions are hundredths, so no setting is ever exactly an open figure. One counts as
// open when shifting one oscillation's own phase by at most half a bar step makes it exactly
// open: each run of the beam then lies within 0.005 amplitudes of the open path, the two within
// about a pixel of each other, and the bar position nearest an open figure shows one.
constexpr double kPhaseSlack = 0.5 / kScrollScale;

constexpr const char* kNotAccepted =
    "Eingabe nicht übernommen: abgelesen wird erst wieder nach einer gültigen Eingabe.";
constexpr const char* kNotWhole =
    "Zähler und Nenner müssen ganze Zahlen von 1 bis 32767 sein, sonst ist nichts abzulesen.";
constexpr const char* kAmplitudeZero =
    "Eine Amplitude ist 0: die Figur liegt auf einer Achse, es ist nichts abzulesen.";
// Symbols as a textbook prints them: variables in italics, indices below the line.
constexpr const char* kPhi = "<i>φ</i>";
constexpr const char* kDeltaPhi = "Δ<i>φ</i>";
constexpr const char* kY0 = "<i>y</i><sub>0</sub>";
constexpr const char* kYMax = "<i>y</i><sub>max</sub>";
constexpr const char* kFrequencies = "<i>f</i><sub>y</sub> : <i>f</i><sub>x</sub>";

constexpr const char* kOpenNote = "Die Figur läuft in sich zurück (offene Kurve): Endpunkte "
                                  "zählen halb, so halbieren sich beide Zahlen.";

struct Ratio
{
    std::int64_t numerator = 0;
    std::int64_t denominator = 0;
};

bool isWhole(double v)
{
    return v >= 1 && v <= kLargestWhole && std::floor(v) == v;
}

std::optional<Ratio> lowestTerms(const Parameter& p)
{
    if (!isWhole(p.numerator) || !isWhole(p.denominator))
        return std::nullopt;
    const auto z = static_cast<std::int64_t>(p.numerator);
    const auto n = static_cast<std::int64_t>(p.denominator);
    const std::int64_t g = std::gcd(z, n);
    return Ratio{z / g, n / g};
}

std::string ratioText(Ratio r)
{
    return std::to_string(r.numerator) + " : " + std::to_string(r.denominator);
}

// The ratio in lowest terms, or nothing and why nothing can be read.
std::optional<Ratio> readable(const Parameter& p, bool entryAccepted, std::string& refusal)
{
    const std::optional<Ratio> ratio = lowestTerms(p);
    if (!entryAccepted)
        refusal = kNotAccepted;
    else if (!ratio)
        refusal = kNotWhole;
    else if (!(p.amplitudeX > 0 && p.amplitudeY > 0))
        refusal = kAmplitudeZero;
    return refusal.empty() ? ratio : std::nullopt;
}

// Fixed decimals with a decimal comma and a typographic minus, whatever the locale. A value
// that rounds to zero gets no sign.
std::string decimal(double value, int decimals)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::abs(value),
                                      std::chars_format::fixed, decimals);
    std::string text(buffer.data(), result.ptr);
    std::replace(text.begin(), text.end(), '.', ',');
    const bool zero = text.find_first_not_of("0,") == std::string::npos;
    return value < 0 && !zero ? "−" + text : text;
}

// A count in halves as the legend writes it: 3, ½, 1½.
std::string halves(std::int64_t twice)
{
    const std::string whole = twice >= 2 ? std::to_string(twice / 2) : "";
    return twice % 2 != 0 ? whole + "½" : whole;
}

std::int64_t wrap(std::int64_t value, std::int64_t modulus)
{
    return ((value % modulus) + modulus) % modulus;
}

// Points along an edge, sorted by position where they come as a few runs that each rise or
// fall. A run that falls is turned round, and each run merged into those before it: a few passes
// over the points instead of sorting 32767 of them afresh at every step of a drifting phase.
// Should rounding ever break the runs into many, they are sorted whole.
void sortRuns(std::vector<TouchPoint>& points)
{
    constexpr int kMostRuns = 8;
    const auto before = [](const TouchPoint& a, const TouchPoint& b) {
        return a.position < b.position;
    };
    int runs = 0;
    for (auto begin = points.begin(); begin != points.end(); ++runs) {
        if (runs == kMostRuns) {
            std::sort(points.begin(), points.end(), before);
            return;
        }
        auto end = begin + 1;
        if (end != points.end() && before(*end, *begin)) {
            while (end != points.end() && !before(*(end - 1), *end))
                ++end;
            std::reverse(begin, end);
        } else {
            while (end != points.end() && !before(*end, *(end - 1)))
                ++end;
        }
        std::inplace_merge(points.begin(), begin, end, before);
        begin = end;
    }
}

// The touch points of one edge. With t + P1 = N' s the figure is x = A1 sin(N' s) and
// y = A2 sin(Z' s + d / N'), d = Z' (P2 - P1), closed for s in 0 ... 2 pi.
// An edge met `count` times per figure (Z' on top, N' on the right) is met at the angles
// (pi / 2) key / count + shift of the other oscillation, key = stride (4 j + offset) mod
// 4 count: whole numbers, distinct for the `count` values of j because the ratio is in lowest
// terms, and so every one of the `count` numbers below 4 count that leave stride offset's
// remainder by 4. Taken in that order, the angles grow by less than a turn, and their sines rise
// and fall in at most three runs. Two keys give the same point when their angles add up to pi.
// For an open figure that happens pairwise, key + partner = mirror (mod 4 count); a key that is
// its own partner is an end of the figure, in a corner.
std::vector<TouchPoint> edge(std::int64_t count, std::int64_t stride, std::int64_t offset,
                             double shift, double amplitude, std::optional<std::int64_t> mirror)
{
    std::vector<TouchPoint> points;
    points.reserve(static_cast<std::size_t>(count));
    const std::int64_t modulus = 4 * count;
    for (std::int64_t key = wrap(stride * offset, 4); key < modulus; key += 4) {
        bool end = false;
        if (mirror) {
            const std::int64_t partner = wrap(*mirror - key, modulus);
            if (partner < key)
                continue; // the same point, met on the way back
            end = partner == key;
        }
        const double angle = kPi / 2 * static_cast<double>(key) / static_cast<double>(count);
        points.push_back({amplitude * std::sin(angle + shift), end});
    }
    sortRuns(points);
    return points;
}

std::int64_t twiceCount(const std::vector<TouchPoint>& points)
{
    return std::accumulate(
        points.begin(), points.end(), std::int64_t{0},
        [](std::int64_t sum, const TouchPoint& p) { return sum + (p.end ? 1 : 2); });
}

double degrees(double radians)
{
    return radians * 180 / kPi;
}

// P2 - P1 from -180° to 180°. A whole turn more changes neither figure: it only moves the start
// of the beam along it.
double phaseDifference(const Parameter& p)
{
    const double delta = std::remainder(p.phaseY - p.phaseX, 2 * kPi);
    return delta == -kPi ? kPi : delta;
}

TouchReading readTopEdge(const Parameter& p, bool entryAccepted)
{
    TouchReading reading;
    const std::optional<Ratio> ratio = readable(p, entryAccepted, reading.refusal);
    if (!ratio)
        return reading;
    const Ratio r = *ratio;
    const double delta = phaseDifference(p);
    const auto z = static_cast<double>(r.numerator);
    const auto n = static_cast<double>(r.denominator);

    // The figure is run back on itself when s -> c - s maps it onto itself: N' c = pi and
    // Z' c = pi - 2 d / N' (mod 2 pi) for one c, which exists exactly when
    // 2 d = (N' - Z') pi (mod 2 pi). q counts the whole turns in that congruence.
    const double turns = (2 * z * delta - (n - z) * kPi) / (2 * kPi);
    const double q = std::round(turns);
    reading.open = std::abs(turns - q) * 2 * kPi <= 2 * kPhaseSlack * std::max(z, n);

    std::optional<std::int64_t> topMirror;
    std::optional<std::int64_t> rightMirror;
    if (reading.open) {
        const auto whole = static_cast<std::int64_t>(q);
        topMirror = 2 * r.denominator + 4 * whole;
        rightMirror = 2 * r.numerator - 4 * whole;
    }
    // Top: Z' s + d / N' = -pi / 2, x from N' s. Right: N' s = pi / 2, y from Z' s + d / N'.
    reading.top = edge(r.numerator, r.denominator, -1, -delta, p.amplitudeX, topMirror);
    reading.right = edge(r.denominator, r.numerator, 1, delta * z / n, p.amplitudeY, rightMirror);

    const std::int64_t top = twiceCount(reading.top);
    const std::int64_t right = twiceCount(reading.right);
    reading.topCount = static_cast<double>(top) / 2;
    reading.rightCount = static_cast<double>(right) / 2;
    reading.legend = halves(top) + (top > 2 ? " Berührpunkte oben, " : " Berührpunkt oben, ") +
                     halves(right) + " rechts: " + kFrequencies + " = " + ratioText(r);
    if (reading.open)
        reading.note = kOpenNote;
    return reading;
}

} // namespace

TouchReading readTouchPoints(const Parameter& p, bool entryAccepted, bool yUp)
{
    if (!yUp)
        return readTopEdge(p, entryAccepted);
    // Half a turn more of the y oscillation's own phase gives the figure mirrored top to
    // bottom: its top edge, y = -A2, holds the points of this one at y = +A2.
    Parameter mirrored = p;
    mirrored.phaseY += kPi * p.denominator / p.numerator;
    TouchReading reading = readTopEdge(mirrored, entryAccepted);
    for (TouchPoint& point : reading.right)
        point.position = -point.position;
    std::reverse(reading.right.begin(), reading.right.end());
    return reading;
}

PhaseReading readPhase(const Parameter& p, bool entryAccepted, bool yUp)
{
    PhaseReading reading;
    const std::optional<Ratio> ratio = readable(p, entryAccepted, reading.refusal);
    if (!ratio)
        return reading;
    if (ratio->numerator != ratio->denominator) {
        reading.refusal =
            "Die Phase lässt sich nur bei 1 : 1 ablesen (hier " + ratioText(*ratio) + ").";
        return reading;
    }

    // x = 0 at t = -P1 and t = pi - P1, where y = +-A2 sin(P2 - P1).
    const double delta = phaseDifference(p);
    const double y0 = p.amplitudeY * std::sin(delta);
    reading.crossings = {Point{0, y0}, Point{0, -y0}};
    // y = A2 at t = pi / 2 - P2, y = -A2 half a turn later.
    const double top = yUp ? 1 : -1;
    reading.highest = {top * p.amplitudeX * std::cos(delta), top * p.amplitudeY};

    const double sine = std::abs(std::sin(delta));
    // The mean of x y is A1 A2 cos(P2 - P1) / 2: x and y growing together is the acute angle.
    // With y growing downward that leans the figure like "\", mirrored like "/".
    const bool acuteAngle = std::cos(delta) >= 0;
    const bool falling = acuteAngle != yUp;
    const double acute = degrees(std::asin(sine));
    reading.degrees = acuteAngle ? acute : 180 - acute;
    const std::string phi = decimal(reading.degrees, 1);
    const std::string other = decimal(acuteAngle ? 180 - acute : acute, 1);
    // The set difference as the bars show their phases, 0° to below 360°. The figure is the
    // same for P2 - P1 and its negative: above 180° the reading is 360° minus it.
    const double set = degrees(delta < 0 ? delta + 2 * kPi : delta);
    const std::string shownSet = decimal(set, 1);
    // Read as the textbook reads the bars, the difference has the textbook's symbol,
    // Δφ = φ_y − φ_x, as the values and the help write it.
    const std::string symbol = p.textbook ? kDeltaPhi : kPhi;
    reading.legend = "sin " + symbol + " = " + kY0 + " / " + kYMax + " = " + decimal(sine, 3) +
                     " → " + symbol + " = " + phi + "° (eingestellt: " + shownSet + "°)";
    if (phi != other) {
        reading.note = std::string(falling ? "Die Figur fällt nach rechts ab (\\)"
                                           : "Die Figur steigt nach rechts an (/)") +
                       ": also " + symbol + " = " + phi + "°, nicht " + other + "°.";
    }
    // Appended piece by piece: one expression of it trips GCC 12's -Wrestrict on 64-bit ARM.
    if (shownSet != phi && shownSet != "360,0") {
        if (!reading.note.empty())
            reading.note += ' ';
        reading.note += "360° − ";
        reading.note += shownSet;
        reading.note += "° = ";
        reading.note += decimal(360 - set, 1);
        reading.note += "°: dieselbe Figur, nur läuft der Strahl andersherum.";
    }
    return reading;
}

} // namespace korvelian
