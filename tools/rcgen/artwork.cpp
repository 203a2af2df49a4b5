#include "artwork.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>

namespace corvane::rcgen {

namespace {

// ---- A small vector rasteriser ----------------------------------------------
//
// Shapes are given in integer design units on a square canvas and rendered
// with 4 x 4 samples per pixel. Everything is integer arithmetic, so the
// bytes do not depend on the compiler, its flags or the C library.

constexpr int kSamplesPerAxis = 4;

struct Point {
    int x = 0;
    int y = 0;
};

struct Paint {
    Rgba top;
    Rgba bottom;
    // Gradient from top at y0 to bottom at y1 (design units); solid when
    // y1 <= y0.
    int y0 = 0;
    int y1 = 0;
    // Cuts a hole: the covered samples become transparent again.
    bool clear = false;
};

enum class Kind { Polygon, Ellipse, Box };

struct Shape {
    Kind kind = Kind::Polygon;
    std::vector<Point> points; // convex polygon, either winding
    // Ellipse: centre (x0, y0), radii (x1, y1). Box: corners (x0, y0) and
    // (x1, y1), corner radius `radius`.
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    int radius = 0;
    Paint paint;
};

struct Drawing {
    int designSize = 64; // the canvas spans 0..designSize on both axes
    std::vector<Shape> shapes;
};

Paint Solid(Rgba color) {
    return Paint{color, color, 0, 0, false};
}
Paint Gradient(Rgba top, Rgba bottom, int y0, int y1) {
    return Paint{top, bottom, y0, y1, false};
}
Paint Clear() {
    return Paint{{}, {}, 0, 0, true};
}

Shape Polygon(std::initializer_list<Point> points, Paint paint) {
    Shape shape;
    shape.kind = Kind::Polygon;
    shape.points = points;
    shape.paint = paint;
    return shape;
}

Shape Ellipse(int cx, int cy, int rx, int ry, Paint paint) {
    Shape shape;
    shape.kind = Kind::Ellipse;
    shape.x0 = cx;
    shape.y0 = cy;
    shape.x1 = rx;
    shape.y1 = ry;
    shape.paint = paint;
    return shape;
}

Shape Box(int x0, int y0, int x1, int y1, int radius, Paint paint) {
    Shape shape;
    shape.kind = Kind::Box;
    shape.x0 = x0;
    shape.y0 = y0;
    shape.x1 = x1;
    shape.y1 = y1;
    shape.radius = radius;
    shape.paint = paint;
    return shape;
}

using Wide = long long;

Wide RoundDiv(Wide numerator, Wide denominator) {
    return (numerator + denominator / 2) / denominator;
}

// Sample coordinates are design units times `scale`; shape coordinates are
// multiplied by the same scale before comparing.
bool Contains(const Shape& shape, Wide x, Wide y, Wide scale) {
    switch (shape.kind) {
    case Kind::Polygon: {
        bool anyPositive = false;
        bool anyNegative = false;
        const std::size_t count = shape.points.size();
        for (std::size_t i = 0; i < count; ++i) {
            const Point& a = shape.points[i];
            const Point& b = shape.points[(i + 1) % count];
            const Wide ax = a.x * scale;
            const Wide ay = a.y * scale;
            const Wide cross = (b.x * scale - ax) * (y - ay) - (b.y * scale - ay) * (x - ax);
            anyPositive = anyPositive || cross > 0;
            anyNegative = anyNegative || cross < 0;
        }
        return count >= 3 && !(anyPositive && anyNegative);
    }
    case Kind::Ellipse: {
        const Wide dx = x - shape.x0 * scale;
        const Wide dy = y - shape.y0 * scale;
        const Wide rx = shape.x1 * scale;
        const Wide ry = shape.y1 * scale;
        return dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
    }
    case Kind::Box: {
        const Wide left = shape.x0 * scale;
        const Wide top = shape.y0 * scale;
        const Wide right = shape.x1 * scale;
        const Wide bottom = shape.y1 * scale;
        if (x < left || x > right || y < top || y > bottom) {
            return false;
        }
        const Wide r = shape.radius * scale;
        const Wide dx = x - std::clamp(x, left + r, right - r);
        const Wide dy = y - std::clamp(y, top + r, bottom - r);
        return dx * dx + dy * dy <= r * r;
    }
    }
    return false;
}

// A colour channel of the paint at sample row y.
Wide Channel(std::uint8_t top, std::uint8_t bottom, const Paint& paint, Wide y, Wide scale) {
    if (paint.y1 <= paint.y0) {
        return top;
    }
    const Wide from = paint.y0 * scale;
    const Wide span = (paint.y1 - paint.y0) * scale;
    const Wide t = std::clamp<Wide>(y - from, 0, span);
    return top + RoundDiv((static_cast<Wide>(bottom) - top) * t + span * 255, span) - 255;
}

// Premultiplied colour of one sample, channels scaled by 255.
struct Sample {
    Wide r = 0;
    Wide g = 0;
    Wide b = 0;
    Wide a = 0;
};

Image Render(const Drawing& drawing, int width, int height) {
    const int pixels = std::max(width, height);
    const Wide scale = 2LL * kSamplesPerAxis * pixels;
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            Sample sum;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                    const Wide x =
                        (static_cast<Wide>(px * kSamplesPerAxis + sx) * 2 + 1) * drawing.designSize;
                    const Wide y =
                        (static_cast<Wide>(py * kSamplesPerAxis + sy) * 2 + 1) * drawing.designSize;
                    Sample sample;
                    for (const Shape& shape : drawing.shapes) {
                        if (!Contains(shape, x, y, scale)) {
                            continue;
                        }
                        if (shape.paint.clear) {
                            sample = Sample{};
                            continue;
                        }
                        const Paint& paint = shape.paint;
                        const Wide alpha = Channel(paint.top.a, paint.bottom.a, paint, y, scale);
                        const Wide keep = 255 - alpha;
                        sample.r = Channel(paint.top.r, paint.bottom.r, paint, y, scale) * alpha +
                                   RoundDiv(sample.r * keep, 255);
                        sample.g = Channel(paint.top.g, paint.bottom.g, paint, y, scale) * alpha +
                                   RoundDiv(sample.g * keep, 255);
                        sample.b = Channel(paint.top.b, paint.bottom.b, paint, y, scale) * alpha +
                                   RoundDiv(sample.b * keep, 255);
                        sample.a = alpha * 255 + RoundDiv(sample.a * keep, 255);
                    }
                    sum.r += sample.r;
                    sum.g += sample.g;
                    sum.b += sample.b;
                    sum.a += sample.a;
                }
            }
            Rgba& out =
                image.pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(px)];
            constexpr Wide kCount = Wide{kSamplesPerAxis} * kSamplesPerAxis;
            out.a = static_cast<std::uint8_t>(RoundDiv(sum.a, kCount * 255));
            if (sum.a > 0) {
                out.r =
                    static_cast<std::uint8_t>(std::min<Wide>(RoundDiv(sum.r * 255, sum.a), 255));
                out.g =
                    static_cast<std::uint8_t>(std::min<Wide>(RoundDiv(sum.g * 255, sum.a), 255));
                out.b =
                    static_cast<std::uint8_t>(std::min<Wide>(RoundDiv(sum.b * 255, sum.a), 255));
            }
            if (out.a == 0) {
                out = Rgba{};
            }
        }
    }
    return image;
}

// ---- File encoders ----------------------------------------------------------

void PutU8(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFFu));
}
void PutU16(std::string& out, unsigned value) {
    PutU8(out, value);
    PutU8(out, value >> 8);
}
void PutU32(std::string& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFFu);
    PutU16(out, value >> 16);
}
void PutI32(std::string& out, int value) {
    PutU32(out, static_cast<std::uint32_t>(value));
}

std::uint32_t RowBytes(int width, int bitsPerPixel) {
    return ((static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel) + 31u) /
            32u) *
           4u;
}

// BITMAPINFOHEADER.
void PutInfoHeader(std::string& out, int width, int height, int bitsPerPixel,
                   std::uint32_t imageBytes, int pixelsPerMetre) {
    PutU32(out, 40);
    PutI32(out, width);
    PutI32(out, height);
    PutU16(out, 1);
    PutU16(out, static_cast<unsigned>(bitsPerPixel));
    PutU32(out, 0); // BI_RGB
    PutU32(out, imageBytes);
    PutI32(out, pixelsPerMetre);
    PutI32(out, pixelsPerMetre);
    PutU32(out, 0);
    PutU32(out, 0);
}

// The 256-colour palette of the 8-bit icon images: the 6 x 6 x 6 colour cube,
// then 40 greys. Index 0 is black, which the transparent pixels use so that
// the AND mask leaves the screen unchanged under them.
std::array<Rgba, 256> Palette() {
    std::array<Rgba, 256> palette{};
    std::size_t index = 0;
    for (unsigned r = 0; r < 6; ++r) {
        for (unsigned g = 0; g < 6; ++g) {
            for (unsigned b = 0; b < 6; ++b) {
                palette[index++] =
                    Rgba{static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                         static_cast<std::uint8_t>(b * 51), 255};
            }
        }
    }
    for (unsigned i = 1; index < palette.size(); ++i) {
        const auto grey = static_cast<std::uint8_t>((i * 255u + 20u) / 41u);
        palette[index++] = Rgba{grey, grey, grey, 255};
    }
    return palette;
}

std::uint8_t NearestPaletteIndex(const std::array<Rgba, 256>& palette, Rgba color) {
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = long{palette[i].r} - color.r;
        const long dg = long{palette[i].g} - color.g;
        const long db = long{palette[i].b} - color.b;
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<std::uint8_t>(best);
}

bool Opaque(Rgba pixel) {
    return pixel.a >= 128;
}

std::string EncodeIconImage(const IconImage& entry) {
    const Image& image = entry.image;
    const int bits = entry.bitsPerPixel;
    const std::uint32_t colourRow = RowBytes(image.width, bits);
    const std::uint32_t maskRow = RowBytes(image.width, 1);
    const auto rows = static_cast<std::uint32_t>(image.height);
    std::string out;
    // The height counts the colour bitmap and the mask together.
    PutInfoHeader(out, image.width, image.height * 2, bits, (colourRow + maskRow) * rows, 0);
    const std::array<Rgba, 256> palette = Palette();
    if (bits == 8) {
        for (const Rgba& colour : palette) {
            PutU8(out, colour.b);
            PutU8(out, colour.g);
            PutU8(out, colour.r);
            PutU8(out, 0);
        }
    }
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < image.width; ++x) {
            const Rgba pixel = image.At(x, y);
            if (bits == 8) {
                PutU8(row, Opaque(pixel) ? NearestPaletteIndex(palette, pixel) : 0u);
            } else {
                PutU8(row, pixel.b);
                PutU8(row, pixel.g);
                PutU8(row, pixel.r);
                PutU8(row, pixel.a);
            }
        }
        row.resize(colourRow, '\0');
        out += row;
    }
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row(maskRow, '\0');
        for (int x = 0; x < image.width; ++x) {
            if (!Opaque(image.At(x, y))) {
                const auto bit = static_cast<std::size_t>(x);
                row[bit / 8] = static_cast<char>(row[bit / 8] | (0x80 >> (bit % 8)));
            }
        }
        out += row;
    }
    return out;
}

// ---- The pictures -------------------------------------------------------------

constexpr Rgba kBezel{0x34, 0x3D, 0x4A, 0xFF};
constexpr Rgba kScreenTop{0x66, 0xC2, 0xF7, 0xFF};
constexpr Rgba kScreenBottom{0x17, 0x5E, 0xC2, 0xFF};
constexpr Rgba kStand{0x7A, 0x84, 0x91, 0xFF};
constexpr Rgba kStandDark{0x55, 0x5E, 0x6A, 0xFF};
constexpr Rgba kCable{0x2F, 0x9B, 0x47, 0xFF};
constexpr Rgba kPlug{0x3C, 0xB4, 0x58, 0xFF};
constexpr Rgba kContact{0xF2, 0xC9, 0x3A, 0xFF};
constexpr Rgba kGlare{0xFF, 0xFF, 0xFF, 0x38};
constexpr Rgba kWhite{0xFF, 0xFF, 0xFF, 0xFF};

// A monitor on its stand; the caller adds the network side.
void AddMonitor(std::vector<Shape>& shapes, int left, int top, int scale) {
    auto at = [&](int x, int y) { return Point{left + x * scale, top + y * scale}; };
    const Point bezelFrom = at(0, 0);
    const Point bezelTo = at(44, 32);
    const Point screenFrom = at(4, 4);
    const Point screenTo = at(40, 28);
    shapes.push_back(Box(bezelFrom.x, bezelFrom.y, bezelTo.x, bezelTo.y, 4 * scale, Solid(kBezel)));
    shapes.push_back(Box(screenFrom.x, screenFrom.y, screenTo.x, screenTo.y, scale,
                         Gradient(kScreenTop, kScreenBottom, screenFrom.y, screenTo.y)));
    shapes.push_back(Polygon({at(4, 4), at(24, 4), at(4, 20)}, Solid(kGlare)));
    shapes.push_back(Polygon({at(17, 32), at(27, 32), at(29, 39), at(15, 39)}, Solid(kStand)));
    const Point baseFrom = at(8, 38);
    const Point baseTo = at(36, 43);
    shapes.push_back(Box(baseFrom.x, baseFrom.y, baseTo.x, baseTo.y, 2 * scale, Solid(kStandDark)));
}

Drawing ApplicationIconDrawing() {
    Drawing drawing;
    drawing.designSize = 64;
    AddMonitor(drawing.shapes, 2, 6, 1);
    std::vector<Shape>& s = drawing.shapes;
    // Cable out of the monitor's right side and down into a network plug.
    s.push_back(Box(44, 19, 54, 24, 0, Solid(kCable)));
    s.push_back(Box(49, 19, 54, 44, 0, Solid(kCable)));
    s.push_back(Box(46, 39, 57, 45, 1, Solid(kCable)));
    s.push_back(Box(42, 44, 61, 62, 3, Solid(kPlug)));
    for (const int x : {45, 50, 55}) {
        s.push_back(Box(x, 51, x + 3, 59, 0, Solid(kContact)));
    }
    return drawing;
}

constexpr Rgba kKeyDark{0x8C, 0x62, 0x0C, 0xFF};
constexpr Rgba kKeyTop{0xFF, 0xDC, 0x5A, 0xFF};
constexpr Rgba kKeyBottom{0xD8, 0x9C, 0x1E, 0xFF};

Drawing CredentialsIconDrawing() {
    Drawing drawing;
    drawing.designSize = 64;
    std::vector<Shape>& s = drawing.shapes;
    const Paint gold = Gradient(kKeyTop, kKeyBottom, 4, 60);
    // Dark outline first, then the key's body on top of it.
    s.push_back(Ellipse(20, 22, 18, 18, Solid(kKeyDark)));
    s.push_back(Polygon({{24, 30}, {32, 22}, {62, 52}, {54, 60}}, Solid(kKeyDark)));
    s.push_back(Polygon({{38, 44}, {46, 52}, {38, 60}, {30, 52}}, Solid(kKeyDark)));
    s.push_back(Polygon({{48, 54}, {54, 60}, {48, 64}, {42, 60}}, Solid(kKeyDark)));
    s.push_back(Ellipse(20, 22, 14, 14, gold));
    s.push_back(Polygon({{27, 30}, {32, 25}, {59, 52}, {54, 57}}, gold));
    s.push_back(Polygon({{38, 47}, {43, 52}, {38, 57}, {33, 52}}, gold));
    s.push_back(Ellipse(15, 17, 5, 5, Clear()));
    return drawing;
}

constexpr Rgba kGlobeTop{0x74, 0xC6, 0xFA, 0xFF};
constexpr Rgba kGlobeBottom{0x12, 0x58, 0xB8, 0xFF};
constexpr Rgba kGrid{0xFF, 0xFF, 0xFF, 0x90};

Drawing HeaderDrawing() {
    Drawing drawing;
    drawing.designSize = 98; // two design units per pixel
    std::vector<Shape>& s = drawing.shapes;
    // The header band is white (COLOR_WINDOW), and so is the picture.
    s.push_back(Box(0, 0, 98, 98, 0, Solid(kWhite)));
    // A globe with meridian and parallels. The grid is translucent white:
    // over the white background it vanishes, so it needs no clipping.
    const Paint globe = Gradient(kGlobeTop, kGlobeBottom, 4, 64);
    s.push_back(Ellipse(64, 34, 30, 30, globe));
    s.push_back(Ellipse(64, 34, 13, 30, Solid(kGrid)));
    s.push_back(Ellipse(64, 34, 10, 29, globe));
    s.push_back(Box(64 - 1, 4, 64 + 1, 64, 0, Solid(kGrid)));
    for (const int y : {19, 33, 47}) {
        s.push_back(Box(30, y, 98, y + 2, 0, Solid(kGrid)));
    }
    // The cable from the monitor to the globe.
    s.push_back(Box(48, 70, 68, 75, 0, Solid(kCable)));
    s.push_back(Box(63, 60, 68, 75, 0, Solid(kCable)));
    AddMonitor(s, 2, 52, 1);
    return drawing;
}

} // namespace

std::string EncodeIcon(const std::vector<IconImage>& images) {
    std::string directory;
    PutU16(directory, 0);
    PutU16(directory, 1); // icon, not cursor
    PutU16(directory, static_cast<unsigned>(images.size()));
    std::string data;
    const std::size_t dataStart = 6 + 16 * images.size();
    for (const IconImage& entry : images) {
        const std::string encoded = EncodeIconImage(entry);
        // Width and height 256 are written as 0; our icons are smaller.
        PutU8(directory, static_cast<unsigned>(entry.image.width));
        PutU8(directory, static_cast<unsigned>(entry.image.height));
        PutU8(directory, 0); // colour count: 0 for 256 colours and more
        PutU8(directory, 0);
        PutU16(directory, 1);
        PutU16(directory, static_cast<unsigned>(entry.bitsPerPixel));
        PutU32(directory, static_cast<std::uint32_t>(encoded.size()));
        PutU32(directory, static_cast<std::uint32_t>(dataStart + data.size()));
        data += encoded;
    }
    return directory + data;
}

std::string EncodeBitmap24(const Image& image) {
    const std::uint32_t rowBytes = RowBytes(image.width, 24);
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(image.height);
    std::string out;
    // BITMAPFILEHEADER.
    out += "BM";
    PutU32(out, 14 + 40 + imageBytes);
    PutU16(out, 0);
    PutU16(out, 0);
    PutU32(out, 14 + 40);
    PutInfoHeader(out, image.width, image.height, 24, imageBytes, 2835); // 72 dpi
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < image.width; ++x) {
            const Rgba pixel = image.At(x, y);
            PutU8(row, pixel.b);
            PutU8(row, pixel.g);
            PutU8(row, pixel.r);
        }
        row.resize(rowBytes, '\0');
        out += row;
    }
    return out;
}

Image DrawApplicationIcon(int size) {
    return Render(ApplicationIconDrawing(), size, size);
}
Image DrawCredentialsIcon(int size) {
    return Render(CredentialsIconDrawing(), size, size);
}
Image DrawHeaderPicture() {
    return Render(HeaderDrawing(), 49, 49);
}

std::string ApplicationIconFile() {
    return EncodeIcon({{DrawApplicationIcon(32), 8},
                       {DrawApplicationIcon(16), 8},
                       {DrawApplicationIcon(32), 32},
                       {DrawApplicationIcon(16), 32}});
}

std::string CredentialsIconFile() {
    return EncodeIcon({{DrawCredentialsIcon(16), 8}, {DrawCredentialsIcon(16), 32}});
}

std::string HeaderBitmapFile() {
    return EncodeBitmap24(DrawHeaderPicture());
}

} // namespace corvane::rcgen
