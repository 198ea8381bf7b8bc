#include "graphics/LauncherArt.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>

namespace kelvo {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Samples per pixel along each axis; the edge gets 36 levels of coverage.
constexpr int kSamplesPerAxis = 6;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb operator*(Rgb a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}
Rgb mix(Rgb a, Rgb b, double t) {
    return a * (1 - t) + b * t;
}

const Rgb kWhite{1, 1, 1};

double smoothstep(double edge0, double edge1, double x) {
    double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// The colour of a point in pixel coordinates, or nothing outside the shape.
using Shader = std::function<std::optional<Rgb>(double x, double y)>;

std::uint32_t channelByte(double value) {
    // Inside the shape a channel never reaches 0, so no pixel there can be
    // the transparent black.
    return static_cast<std::uint32_t>(std::clamp(std::lround(value * 255.0), 1L, 255L));
}

// Supersamples every pixel; the samples outside the shape count as black, so
// the edge is smoothed against the black that becomes transparent.
Picture renderShape(int width, int height, const Shader& shade) {
    Picture picture;
    if (width <= 0 || height <= 0)
        return picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    constexpr double step = 1.0 / kSamplesPerAxis;
    constexpr double samples = kSamplesPerAxis * kSamplesPerAxis;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            bool covered = false;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                    std::optional<Rgb> c = shade(x + (sx + 0.5) * step, y + (sy + 0.5) * step);
                    if (c) {
                        sum = sum + *c;
                        covered = true;
                    }
                }
            }
            if (!covered)
                continue;
            const Rgb average = sum * (1.0 / samples);
            picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) +
                           static_cast<size_t>(x)] =
                channelByte(average.r) << 16 | channelByte(average.g) << 8 | channelByte(average.b);
        }
    }
    return picture;
}

// ---- The launcher buttons -------------------------------------------------

const std::array<Rgb, 5> kButtonColors{{
    {0.56, 0.24, 0.82}, // 1 purple
    {0.16, 0.68, 0.20}, // 2 green
    {0.86, 0.13, 0.13}, // 3 red
    {0.96, 0.80, 0.08}, // 4 yellow
    {0.28, 0.70, 0.96}, // 5 light blue
}};

// Intensity of a soft elliptic spot: 1 at its centre, 0 at its rim.
double ellipseSpot(double u, double v, double cu, double cv, double ru, double rv, double angle) {
    const double du = u - cu, dv = v - cv;
    const double c = std::cos(angle), s = std::sin(angle);
    const double a = (du * c + dv * s) / ru;
    const double b = (-du * s + dv * c) / rv;
    return 1.0 - std::min(1.0, a * a + b * b);
}

// u and v run from -1 to 1 across the disc, v downwards.
Rgb shadeButton(Rgb base, double u, double v) {
    const double r = std::sqrt(u * u + v * v);
    // A shallow dome, so the shading stays gentle towards the rim.
    const double nz = std::sqrt(std::max(0.0, 1.0 - 0.85 * r * r));
    const double lu = -0.45, lv = -0.55, lz = 0.70;
    const double norm = std::sqrt(u * u + v * v + nz * nz);
    const double diffuse = std::max(0.0, (u * lu + v * lv + nz * lz) / norm);
    // Lit from the top left; the darker rim gives the disc its edge.
    const double light = (0.45 + 0.62 * diffuse) * (1.0 - 0.42 * smoothstep(0.78, 1.0, r));
    // Shadows deepen the colour as well as darkening it, so yellow turns
    // amber rather than olive.
    const double deepen = 1.0 + 1.2 * (1.0 - std::min(light, 1.0));
    Rgb color =
        Rgb{std::pow(base.r, deepen), std::pow(base.g, deepen), std::pow(base.b, deepen)} * light;

    // Light passing through the body gathers at the bottom.
    const double glow = smoothstep(0.15, 0.85, v) * (1.0 - smoothstep(0.80, 0.97, r));
    color = mix(color, mix(base, kWhite, 0.30), 0.60 * glow);

    // Soft glossy reflection in the top left, fading downwards.
    const double gloss = ellipseSpot(u, v, -0.22, -0.42, 0.62, 0.36, -0.55);
    const double fade = 1.0 - smoothstep(-0.75, -0.05, v);
    color = mix(color, kWhite, 0.78 * smoothstep(0.0, 0.55, gloss) * (0.35 + 0.65 * fade));

    // A small sharp glint.
    const double glint = ellipseSpot(u, v, -0.42, -0.50, 0.16, 0.10, -0.6);
    color = mix(color, kWhite, 0.9 * smoothstep(0.0, 0.5, glint));
    return color;
}

// ---- The bubble -------------------------------------------------------------

struct Ellipse {
    double cx, cy, rx, ry; // in 96-dpi design units
};

// One large bubble with two small ones trailing down towards the button.
const std::array<Ellipse, 3> kBubbles{{
    {45.5, 41.0, 43.5, 39.5},
    {56.0, 89.5, 8.5, 8.5},
    {43.5, 101.5, 5.0, 5.0},
}};

Rgb hueColor(double hue) { // hue in turns
    auto channel = [hue](double offset) { return 0.5 + 0.5 * std::cos(2 * kPi * (hue - offset)); };
    return {channel(0.0), channel(1.0 / 3), channel(2.0 / 3)};
}

// u and v run from -1 to 1 across one bubble, v downwards.
Rgb shadeBubble(double u, double v) {
    const double r = std::sqrt(u * u + v * v);
    const double angle = std::atan2(v, u);

    // A pale, cool interior that lightens towards the lower right, where
    // light leaves a real bubble.
    Rgb color = mix(Rgb{0.74, 0.86, 0.98}, Rgb{0.92, 0.97, 1.0}, smoothstep(-0.9, 0.9, u + v));

    // The soap film shows its rainbow colours where it is seen edge-on.
    const double film = std::pow(smoothstep(0.45, 1.0, r), 1.4);
    const Rgb rainbow = mix(hueColor(angle / (2 * kPi) + 0.8 * r), kWhite, 0.35);
    color = mix(color, rainbow, 0.75 * film);

    // A thin bright outline.
    color = mix(color, Rgb{0.97, 0.99, 1.0}, 0.7 * smoothstep(0.90, 0.99, r));

    // The window reflection at the top left, a crescent along the rim, and
    // a small spot of light opposite.
    const double window = ellipseSpot(u, v, -0.42, -0.48, 0.30, 0.15, -0.75);
    color = mix(color, kWhite, 0.95 * smoothstep(0.0, 0.35, window));
    const double crescent = smoothstep(0.70, 0.80, r) * (1.0 - smoothstep(0.86, 0.93, r)) *
                            smoothstep(0.55, 0.9, -std::sin(angle + kPi / 4));
    color = mix(color, kWhite, 0.55 * crescent);
    const double spot = ellipseSpot(u, v, 0.52, 0.50, 0.10, 0.07, -0.75);
    color = mix(color, kWhite, 0.8 * smoothstep(0.0, 0.4, spot));
    return color;
}

} // namespace

int scaleToDpi(int length96, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(length96) * dpi / 96.0));
}

Picture renderLauncherButton(int launcherNo, int size) {
    const Rgb base = kButtonColors[static_cast<size_t>(std::clamp(launcherNo, 1, 5) - 1)];
    const double centre = size / 2.0;
    // Keep half a 96-dpi pixel clear so the rim is smoothed on every side.
    const double radius = centre - 0.5 * size / kButtonPictureSize;
    return renderShape(size, size, [&](double x, double y) -> std::optional<Rgb> {
        const double u = (x - centre) / radius, v = (y - centre) / radius;
        if (u * u + v * v > 1.0)
            return std::nullopt;
        return shadeButton(base, u, v);
    });
}

Picture renderBubble(int width, int height) {
    const double scaleX = static_cast<double>(width) / kBubblePictureWidth;
    const double scaleY = static_cast<double>(height) / kBubblePictureHeight;
    return renderShape(width, height, [&](double x, double y) -> std::optional<Rgb> {
        const double dx = x / scaleX, dy = y / scaleY;
        for (const Ellipse& e : kBubbles) {
            const double u = (dx - e.cx) / e.rx, v = (dy - e.cy) / e.ry;
            if (u * u + v * v <= 1.0)
                return shadeBubble(u, v);
        }
        return std::nullopt;
    });
}

} // namespace kelvo
