// Draws and synthesises every picture and sound Corvessan shows or plays.
//
// Regenerate with:   make_media <folder>      (normally: make_media Resources)
//
// The generated files are committed to Resources/ so that building and running
// the game needs no image or sound tools; this program only has to be run again
// when the look or sound of the game changes.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace {

constexpr int kTile = 64;
constexpr int kStar = 16;
// The window the pictures sit on; JPEGs carry no alpha, so small ones are
// painted onto this grey to blend in.
const QColor kWindowGrey(0xCC, 0xCC, 0xCC);

// The light tile shared by the blank, number and sad pictures, so a board mixing
// them reads as one set.
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kPaperEdge(0xB4, 0xB4, 0xB4);
const QColor kInk(0x2E, 0x2E, 0x33);

bool save(const QImage &image, const QString &folder, const QString &name,
          const char *format, int quality = -1) {
    const QString path = QDir(folder).filePath(name);
    if (!image.save(path, format, quality)) {
        std::fprintf(stderr, "make_media: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage blankImage(int size, const QColor &fill) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QImage paperTile() {
    QImage image = blankImage(kTile, kPaper);
    QPainter p(&image);
    p.setPen(kPaperEdge);
    p.drawRect(0, 0, kTile - 1, kTile - 1);
    return image;
}

// ---------------------------------------------------------------- colour tiles

enum class Mark { Circle, Diamond, Triangle, Square };

struct ColourTile {
    const char *file;
    QColor colour;
    Mark mark;
    // Dark tiles take a light mark and light tiles a dark one, each faint
    // enough that the colour stays the first thing a player sees.
    QColor markColour;
};

void drawMark(QPainter &p, Mark mark, QPointF centre, double r) {
    switch (mark) {
    case Mark::Circle:
        p.drawEllipse(centre, r, r);
        break;
    case Mark::Diamond: {
        const QPointF pts[] = {{centre.x(), centre.y() - r * 1.15},
                               {centre.x() + r * 1.15, centre.y()},
                               {centre.x(), centre.y() + r * 1.15},
                               {centre.x() - r * 1.15, centre.y()}};
        p.drawPolygon(pts, 4);
        break;
    }
    case Mark::Triangle: {
        // Lowered slightly so the triangle's visual weight matches the others.
        const double h = r * 1.2;
        const QPointF pts[] = {{centre.x(), centre.y() - h},
                               {centre.x() + h * 1.05, centre.y() + h * 0.8},
                               {centre.x() - h * 1.05, centre.y() + h * 0.8}};
        p.drawPolygon(pts, 3);
        break;
    }
    case Mark::Square:
        p.drawRect(QRectF(centre.x() - r * 0.9, centre.y() - r * 0.9, r * 1.8, r * 1.8));
        break;
    }
}

QImage colourTile(const ColourTile &tile) {
    QImage image = blankImage(kTile, tile.colour);
    QPainter p(&image);

    // A gentle top-to-bottom shade and a one-pixel bevel give the flat colour
    // some body without changing how bright it reads.
    QLinearGradient shade(0, 0, 0, kTile);
    shade.setColorAt(0, tile.colour.lighter(108));
    shade.setColorAt(1, tile.colour.darker(108));
    p.fillRect(image.rect(), shade);

    p.setPen(QColor(255, 255, 255, 70));
    p.drawLine(1, 1, kTile - 2, 1);
    p.drawLine(1, 2, 1, kTile - 2);
    p.setPen(QColor(0, 0, 0, 40));
    p.drawLine(2, kTile - 2, kTile - 2, kTile - 2);
    p.drawLine(kTile - 2, 2, kTile - 2, kTile - 3);

    p.setPen(tile.colour.darker(160));
    p.drawRect(0, 0, kTile - 1, kTile - 1);

    // The shape in the corner tells the four apart for players who cannot
    // rely on hue.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(tile.markColour);
    drawMark(p, tile.mark, QPointF(kTile - 14.0, kTile - 14.0), 5.5);
    return image;
}

// ---------------------------------------------------------------- number tiles

QFont digitFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(46);
    font.setHintingPreference(QFont::PreferNoHinting);
    if (QFontInfo(font).family() != QStringLiteral("DejaVu Sans"))
        std::fprintf(stderr, "make_media: DejaVu Sans not found, digits use %s\n",
                     qPrintable(QFontInfo(font).family()));
    return font;
}

QImage numberTile(int number, const QFont &font) {
    QImage image = paperTile();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Centre the glyph's ink rather than its text box, which carries the
    // font's ascent and descent and would sit the digit visibly high.
    QPainterPath glyph;
    glyph.addText(0, 0, font, QString::number(number));
    const QPointF offset = QRectF(image.rect()).center() - glyph.boundingRect().center();
    p.translate(offset);
    p.fillPath(glyph, kInk);
    return image;
}

// ------------------------------------------------------------------ sad face

QImage sadTile() {
    QImage image = paperTile();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(32, 32);
    const double radius = 24;
    QRadialGradient face(centre - QPointF(7, 8), radius * 1.5);
    face.setColorAt(0, QColor(0xFF, 0xE9, 0x8C));
    face.setColorAt(1, QColor(0xF2, 0xBE, 0x2C));
    p.setBrush(face);
    p.setPen(QPen(QColor(0xB3, 0x86, 0x14), 1.5));
    p.drawEllipse(centre, radius, radius);

    const QColor feature(0x4A, 0x36, 0x12);
    p.setPen(Qt::NoPen);
    p.setBrush(feature);
    p.drawEllipse(QPointF(24, 27), 2.8, 3.8);
    p.drawEllipse(QPointF(40, 27), 2.8, 3.8);

    QPen stroke(feature, 2.4, Qt::SolidLine, Qt::RoundCap);
    p.setPen(stroke);
    p.setBrush(Qt::NoBrush);
    // Brows rising towards the middle make the face read as sad, not cross.
    p.drawLine(QPointF(19.5, 20.5), QPointF(26.5, 18));
    p.drawLine(QPointF(44.5, 20.5), QPointF(37.5, 18));

    QPainterPath mouth;
    mouth.moveTo(22, 46);
    mouth.cubicTo(25, 38.5, 39, 38.5, 42, 46);
    p.drawPath(mouth);
    return image;
}

// --------------------------------------------------------------------- stars

QPainterPath starPath(QPointF centre, double outer) {
    // Inner radius of a regular pentagram, so the edges line up point to point.
    const double inner = outer * 0.382;
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const QPointF pt(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

// A point-up star hangs lower than its circle's centre; this centres its ink.
QPainterPath slotStar() {
    const double outer = 7.6;
    const double drop = outer * (1 - std::cos(std::numbers::pi / 5)) / 2;
    return starPath(QPointF(kStar / 2.0, kStar / 2.0 + drop), outer);
}

QImage goldStar() {
    QImage image = blankImage(kStar, kWindowGrey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gold(0, 1, 0, kStar - 1);
    gold.setColorAt(0, QColor(0xFF, 0xDD, 0x4F));
    gold.setColorAt(1, QColor(0xEC, 0xA3, 0x00));
    p.setBrush(gold);
    p.setPen(QPen(QColor(0xA6, 0x6E, 0x00), 0.9, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(slotStar());
    return image;
}

QImage emptyStar() {
    QImage image = blankImage(kStar, kWindowGrey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0xC2, 0xC2, 0xC2));
    p.setPen(QPen(QColor(0x94, 0x94, 0x94), 0.9, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(slotStar());
    return image;
}

// -------------------------------------------------------------------- sounds

constexpr int kRate = 44100;
constexpr double kTwoPi = 2 * std::numbers::pi;

std::vector<double> render(double seconds, const std::function<double(double)> &wave) {
    std::vector<double> out(static_cast<std::size_t>(std::lround(seconds * kRate)));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = wave(static_cast<double>(i) / kRate);
    return out;
}

// Raised-cosine ramps at both ends: a sound that starts or stops away from
// zero clicks, however quiet it is by then.
void fade(std::vector<double> &s, double inSeconds, double outSeconds) {
    const auto ramp = [](double x) { return 0.5 - 0.5 * std::cos(std::numbers::pi * x); };
    const auto in = static_cast<std::size_t>(inSeconds * kRate);
    const auto out = static_cast<std::size_t>(outSeconds * kRate);
    for (std::size_t i = 0; i < in && i < s.size(); ++i)
        s[i] *= ramp(static_cast<double>(i) / in);
    for (std::size_t i = 0; i < out && i < s.size(); ++i)
        s[s.size() - 1 - i] *= ramp(static_cast<double>(i) / out);
}

// All three play at the same peak (-6 dBFS) so none startles next to the others.
void normalise(std::vector<double> &s) {
    double peak = 0;
    for (double v : s)
        peak = std::max(peak, std::abs(v));
    const double target = std::pow(10.0, -6.0 / 20.0);
    for (double &v : s)
        v *= target / peak;
}

// Your turn: a soft two-partial chime, the upper partial dying first as a
// struck bell's does.
std::vector<double> purr() {
    auto s = render(0.5, [](double t) {
        return std::sin(kTwoPi * 587.33 * t) * std::exp(-t / 0.20)
             + 0.45 * std::sin(kTwoPi * 880.0 * t) * std::exp(-t / 0.11);
    });
    fade(s, 0.010, 0.060);
    return s;
}

// Correct: one bright, quick blip.
std::vector<double> ping() {
    auto s = render(0.25, [](double t) {
        return std::sin(kTwoPi * 1568.0 * t) * std::exp(-t / 0.075)
             + 0.12 * std::sin(kTwoPi * 3136.0 * t) * std::exp(-t / 0.030);
    });
    fade(s, 0.006, 0.040);
    return s;
}

// Wrong: a low buzz. A sawtooth cut to its first harmonics keeps the
// rasp but loses the harshness of a full one.
std::vector<double> basso() {
    auto s = render(0.5, [](double t) {
        double v = 0;
        for (int n = 1; n <= 6; ++n)
            v += std::sin(kTwoPi * 130.81 * n * t) / std::pow(n, 1.3);
        return v * std::exp(-t / 0.8);
    });
    fade(s, 0.012, 0.150);
    return s;
}

bool writeAiff(std::vector<double> samples, const QString &folder, const QString &name) {
    normalise(samples);
    const QString path = QDir(folder).filePath(name);
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_AIFF | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "make_media: cannot write %s: %s\n", qPrintable(path),
                     sf_strerror(nullptr));
        return false;
    }
    const auto frames = static_cast<sf_count_t>(samples.size());
    const bool ok = sf_writef_double(file, samples.data(), frames) == frames;
    if (!ok)
        std::fprintf(stderr, "make_media: short write to %s: %s\n", qPrintable(path),
                     sf_strerror(file));
    return sf_close(file) == 0 && ok;
}

} // namespace

int main(int argc, char *argv[]) {
    // Fonts need a QGuiApplication, but nothing here needs a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        std::fprintf(stderr, "usage: make_media <output-folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "make_media: cannot create %s\n", qPrintable(folder));
        return 1;
    }

    // Lightness steps from dark blue through red and green to bright yellow,
    // so the four stay apart for players who cannot tell red from green.
    const ColourTile colours[] = {
        {"red.png", QColor(0xE0, 0x3A, 0x2E), Mark::Circle, QColor(255, 255, 255, 80)},
        {"blue.png", QColor(0x1A, 0x37, 0x96), Mark::Diamond, QColor(255, 255, 255, 80)},
        {"green.png", QColor(0x4E, 0xC0, 0x5E), Mark::Triangle, QColor(0, 0, 0, 55)},
        {"yellow.png", QColor(0xF7, 0xD0, 0x2A), Mark::Square, QColor(0, 0, 0, 50)},
    };
    const char *numberFiles[] = {"two.png", "three.png", "four.png", "five.png",
                                 "six.png", "seven.png", "eight.png", "nine.png"};

    bool ok = save(paperTile(), folder, QStringLiteral("white.png"), "PNG");
    for (const ColourTile &tile : colours)
        ok = save(colourTile(tile), folder, QString::fromLatin1(tile.file), "PNG") && ok;
    const QFont font = digitFont();
    for (int n = 2; n <= 9; ++n)
        ok = save(numberTile(n, font), folder, QString::fromLatin1(numberFiles[n - 2]), "PNG")
             && ok;

    // High quality: the face's fine curves and the tiny stars smear at the default.
    ok = save(sadTile(), folder, QStringLiteral("sad.jpg"), "JPEG", 95) && ok;
    ok = save(goldStar(), folder, QStringLiteral("star.jpg"), "JPEG", 100) && ok;
    ok = save(emptyStar(), folder, QStringLiteral("grey.jpg"), "JPEG", 100) && ok;

    ok = writeAiff(basso(), folder, QStringLiteral("Basso.aiff")) && ok;
    ok = writeAiff(ping(), folder, QStringLiteral("Ping.aiff")) && ok;
    ok = writeAiff(purr(), folder, QStringLiteral("Purr.aiff")) && ok;

    return ok ? 0 : 1;
}
