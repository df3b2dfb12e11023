// Draws every picture, icon and cursor the reader ships, each once at its own size and once at
// twice the resolution under an "@2x" name for HiDPI screens (the app icon only at its sizes).
// Usage: quillon_make_assets <assets-dir> [<desktop-icons-dir>]
// The output is deterministic: all randomness comes from fixed seeds.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kPageW = 1440;
constexpr int kPageH = 1024;

// Device pixels per logical pixel of the pictures being drawn, 2 for the "@2x" set. Everything is
// laid out in logical pixels, so both sets are the same picture and draw the same random numbers.
int pixelRatio = 1;

float logical(int devicePixel) {
  return static_cast<float>(devicePixel) / static_cast<float>(pixelRatio);
}

// ---------------------------------------------------------------------------------------------
// Randomness and noise

// Draws from mt19937's raw output, whose sequence the standard fixes, so every platform agrees.
class Rng {
 public:
  explicit Rng(uint32_t seed) : gen_(seed) {}
  float uni() { return static_cast<float>(gen_() >> 8) * (1.0f / 16777216.0f); }
  float range(float lo, float hi) { return lo + (hi - lo) * uni(); }
  int irange(int lo, int hi) {
    return lo + static_cast<int>(gen_() % static_cast<uint32_t>(hi - lo + 1));
  }
  uint32_t raw() { return gen_(); }

 private:
  std::mt19937 gen_;
};

// Gradient noise on a permuted lattice, roughly in [-1, 1].
class Noise {
 public:
  explicit Noise(uint32_t seed) {
    Rng rng(seed);
    std::array<int, 256> p{};
    for (int i = 0; i < 256; ++i) p[static_cast<size_t>(i)] = i;
    for (int i = 255; i > 0; --i)
      std::swap(p[static_cast<size_t>(i)], p[rng.raw() % static_cast<uint32_t>(i + 1)]);
    for (size_t i = 0; i < 512; ++i) perm_[i] = p[i & 255];
    for (size_t i = 0; i < 256; ++i) {
      const float a = rng.range(0.0f, 2.0f * kPi);
      gx_[i] = std::cos(a);
      gy_[i] = std::sin(a);
    }
  }

  float at(float x, float y) const {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx) & 255, iy = static_cast<int>(fy) & 255;
    const float dx = x - fx, dy = y - fy;
    const float u = fade(dx), v = fade(dy);
    const float n00 = dot(ix, iy, dx, dy);
    const float n10 = dot(ix + 1, iy, dx - 1.0f, dy);
    const float n01 = dot(ix, iy + 1, dx, dy - 1.0f);
    const float n11 = dot(ix + 1, iy + 1, dx - 1.0f, dy - 1.0f);
    const float a = n00 + u * (n10 - n00);
    const float b = n01 + u * (n11 - n01);
    return 1.41f * (a + v * (b - a));
  }

  float fbm(float x, float y, int octaves, float gain = 0.5f) const {
    float sum = 0.0f, amp = 1.0f, norm = 0.0f;
    for (int i = 0; i < octaves; ++i) {
      sum += amp * at(x, y);
      norm += amp;
      amp *= gain;
      // Each octave is rotated and shifted so lattice lines never line up.
      const float nx = 1.6f * x - 1.2f * y + 17.3f;
      const float ny = 1.2f * x + 1.6f * y + 5.9f;
      x = nx;
      y = ny;
    }
    return sum / norm;
  }

 private:
  static float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }
  float dot(int ix, int iy, float dx, float dy) const {
    const size_t h = static_cast<size_t>(
        perm_[static_cast<size_t>(perm_[static_cast<size_t>(ix & 255)] + (iy & 255))]);
    return gx_[h] * dx + gy_[h] * dy;
  }

  std::array<int, 512> perm_{};
  std::array<float, 256> gx_{}, gy_{};
};

// Per-pixel white noise from a hash, for film-like grain without storing anything.
float hashNoise(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<float>(h & 0xffffff) * (1.0f / 16777216.0f) - 0.5f;
}

float clamp01(float v) {
  return std::min(1.0f, std::max(0.0f, v));
}
float smoothstep(float e0, float e1, float x) {
  const float t = clamp01((x - e0) / (e1 - e0));
  return t * t * (3.0f - 2.0f * t);
}
float mix(float a, float b, float t) {
  return a + (b - a) * t;
}

// ---------------------------------------------------------------------------------------------
// A float RGB canvas; painter layers are composited onto it so washes keep their precision.

struct Rgb {
  float r, g, b;
};

Rgb mixRgb(const Rgb& a, const Rgb& b, float t) {
  return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)};
}

// Its size is in logical pixels; it holds pixelRatio times as many in each direction, and hands
// callbacks the logical position of each one.
class Canvas {
 public:
  Canvas(int w, int h, Rgb fill)
      : w_(w),
        h_(h),
        pw_(w * pixelRatio),
        ph_(h * pixelRatio),
        px_(static_cast<size_t>(pw_) * static_cast<size_t>(ph_)) {
    std::fill(px_.begin(), px_.end(), fill);
  }
  int width() const { return w_; }
  int height() const { return h_; }

  template <typename F>
  void forEach(F f) {
    for (int y = 0; y < ph_; ++y)
      for (int x = 0; x < pw_; ++x) f(logical(x), logical(y), at(x, y));
  }

  // Source-over of a premultiplied layer.
  void over(const QImage& layer, float opacity = 1.0f) {
    overMasked(layer, [opacity](float, float) { return opacity; });
  }

  // Source-over with an opacity that varies across the canvas.
  void overMasked(const QImage& layer, const std::function<float(float, float)>& opacity) {
    const QImage src = layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < ph_; ++y) {
      const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
      for (int x = 0; x < pw_; ++x) {
        const QRgb s = line[x];
        if (qAlpha(s) == 0) continue;
        const float o = opacity(logical(x), logical(y));
        const float a = static_cast<float>(qAlpha(s)) / 255.0f * o;
        Rgb& d = at(x, y);
        d.r = d.r * (1.0f - a) + static_cast<float>(qRed(s)) * o;
        d.g = d.g * (1.0f - a) + static_cast<float>(qGreen(s)) * o;
        d.b = d.b * (1.0f - a) + static_cast<float>(qBlue(s)) * o;
      }
    }
  }

  // Final quantisation; the small grain doubles as dither so soft gradients never band.
  QImage toImage(float grain, uint32_t seed) const {
    QImage img(pw_, ph_, QImage::Format_RGB32);
    for (int y = 0; y < ph_; ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < pw_; ++x) {
        const Rgb& c =
            px_[static_cast<size_t>(y) * static_cast<size_t>(pw_) + static_cast<size_t>(x)];
        const float n = grain * hashNoise(x, y, seed) + 0.5f;
        auto q = [n](float v) {
          return std::min(255, std::max(0, static_cast<int>(std::floor(v + n))));
        };
        line[x] = qRgb(q(c.r), q(c.g), q(c.b));
      }
    }
    return img;
  }

 private:
  Rgb& at(int x, int y) {
    return px_[static_cast<size_t>(y) * static_cast<size_t>(pw_) + static_cast<size_t>(x)];
  }

  int w_, h_;
  int pw_, ph_;
  std::vector<Rgb> px_;
};

// The device pixel ratio lets painters keep to logical coordinates at either resolution.
QImage newLayer(int w, int h) {
  QImage img(w * pixelRatio, h * pixelRatio, QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(pixelRatio);
  img.fill(Qt::transparent);
  return img;
}

// Three box passes approximate a Gaussian, enough to soften painted washes. The radius is in
// logical pixels.
QImage blurred(const QImage& in, int radius) {
  if (radius <= 0) return in;
  radius *= pixelRatio;
  QImage img = in.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int w = img.width(), h = img.height();
  std::vector<float> ch(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  for (int y = 0; y < h; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      const size_t i =
          (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 4;
      ch[i] = static_cast<float>(qAlpha(line[x]));
      ch[i + 1] = static_cast<float>(qRed(line[x]));
      ch[i + 2] = static_cast<float>(qGreen(line[x]));
      ch[i + 3] = static_cast<float>(qBlue(line[x]));
    }
  }
  std::vector<float> tmp(static_cast<size_t>(std::max(w, h)));
  auto pass = [&](int count, int len, auto index) {
    for (int k = 0; k < count; ++k) {
      for (int c = 0; c < 4; ++c) {
        float acc = 0.0f;
        for (int j = -radius; j <= radius; ++j)
          acc += ch[index(k, std::clamp(j, 0, len - 1)) + static_cast<size_t>(c)];
        for (int j = 0; j < len; ++j) {
          tmp[static_cast<size_t>(j)] = acc / static_cast<float>(2 * radius + 1);
          acc += ch[index(k, std::min(j + radius + 1, len - 1)) + static_cast<size_t>(c)];
          acc -= ch[index(k, std::max(j - radius, 0)) + static_cast<size_t>(c)];
        }
        for (int j = 0; j < len; ++j)
          ch[index(k, j) + static_cast<size_t>(c)] = tmp[static_cast<size_t>(j)];
      }
    }
  };
  auto rowIndex = [w](int row, int col) {
    return (static_cast<size_t>(row) * static_cast<size_t>(w) + static_cast<size_t>(col)) * 4;
  };
  auto colIndex = [w](int col, int row) {
    return (static_cast<size_t>(row) * static_cast<size_t>(w) + static_cast<size_t>(col)) * 4;
  };
  for (int p = 0; p < 3; ++p) {
    pass(h, w, rowIndex);
    pass(w, h, colIndex);
  }
  for (int y = 0; y < h; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const size_t i =
          (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 4;
      auto b = [](float v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); };
      const int a = b(ch[i]);
      line[x] =
          qRgba(std::min(a, b(ch[i + 1])), std::min(a, b(ch[i + 2])), std::min(a, b(ch[i + 3])), a);
    }
  }
  return img;
}

bool saveJpeg(const QImage& img, const QString& path, int quality) {
  return img.save(path, "JPG", quality);
}

// ---------------------------------------------------------------------------------------------
// Shared textures

struct PaperLook {
  Rgb base;
  float mottle;      // relative brightness swing of the cloudy pulp
  float fibreCount;  // fibres per megapixel
  float fibreAlpha;  // peak opacity of one fibre
  QColor fibreDark;
  QColor fibreLight;
};

// Long pulp fibres and cloudy density, the look of hand-made paper.
void paintPaper(Canvas& cv, const PaperLook& look, uint32_t seed) {
  const Noise cloud(seed), fine(seed + 1);
  cv.forEach([&](float fx, float fy, Rgb& c) {
    const float m = look.mottle * (0.7f * cloud.fbm(fx / 260.0f, fy / 260.0f, 4) +
                                   0.3f * fine.fbm(fx / 35.0f, fy / 35.0f, 3));
    c = {look.base.r * (1.0f + m), look.base.g * (1.0f + m), look.base.b * (1.0f + 1.1f * m)};
  });

  QImage layer = newLayer(cv.width(), cv.height());
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  Rng rng(seed + 2);
  const int count =
      static_cast<int>(look.fibreCount * static_cast<float>(cv.width() * cv.height()) / 1.0e6f);
  for (int i = 0; i < count; ++i) {
    const QPointF a(rng.range(-60, static_cast<float>(cv.width()) + 60),
                    rng.range(-60, static_cast<float>(cv.height()) + 60));
    const float len = rng.uni() < 0.8f ? rng.range(12, 60) : rng.range(60, 180);
    const float ang = rng.range(0, 2 * kPi);
    const QPointF dir(std::cos(ang), std::sin(ang));
    const QPointF nrm(-dir.y(), dir.x());
    const QPointF b = a + dir * static_cast<double>(len);
    const QPointF c1 = a + dir * static_cast<double>(len * 0.33f) +
                       nrm * static_cast<double>(rng.range(-len, len) * 0.25f);
    const QPointF c2 = a + dir * static_cast<double>(len * 0.66f) +
                       nrm * static_cast<double>(rng.range(-len, len) * 0.25f);
    QPainterPath path(a);
    path.cubicTo(c1, c2, b);
    QColor col = rng.uni() < 0.7f ? look.fibreLight : look.fibreDark;
    col.setAlphaF(static_cast<double>(look.fibreAlpha * rng.range(0.3f, 1.0f)));
    p.setPen(QPen(col, static_cast<double>(rng.range(0.5f, 1.4f)), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
  }
  p.end();
  cv.over(layer);
}

// ---------------------------------------------------------------------------------------------
// Ink-wash mountains

struct Peak {
  float cx, height, width;
  float skew;  // positive: gentler right flank, steeper left one
};

struct Range {
  float baseY;
  std::vector<Peak> peaks;
  float rough;     // ridge irregularity in px
  float fall;      // px below the ridge over which the wash fades into mist
  float strength;  // densest ink
  Rgb ink;
  float mistTop, mistBottom;  // everything fades out between these two rows
  uint32_t seed;
};

float ridgeAt(const Range& r, const Noise& n, float x) {
  float h = 0.0f;
  for (const Peak& pk : r.peaks) {
    const float d = x - pk.cx;
    const float w = pk.width * (d < 0.0f ? 1.0f - pk.skew : 1.0f + pk.skew);
    h = std::max(h, pk.height * std::exp(-std::pow(std::fabs(d) / w, 1.7f)));
  }
  // Broad swells plus fine crags; taller ground gets the rougher outline.
  const float swell = n.fbm(x / 260.0f, 3.7f, 3);
  const float crag = n.fbm(x / 55.0f, 0.5f, 6);
  return r.baseY - h * (1.0f + 0.1f * swell) - r.rough * crag * (0.25f + h / 260.0f);
}

void paintRange(Canvas& cv, const Range& r) {
  const Noise shape(r.seed), tex(r.seed + 7), blot(r.seed + 11), tone(r.seed + 13);
  // One ridge height per device column.
  std::vector<float> ridge(static_cast<size_t>(cv.width() * pixelRatio));
  for (size_t x = 0; x < ridge.size(); ++x)
    ridge[x] = ridgeAt(r, shape, logical(static_cast<int>(x)));
  cv.forEach([&](float fx, float fy, Rgb& c) {
    const float dy = fy - ridge[static_cast<size_t>(fx * static_cast<float>(pixelRatio))];
    if (dy < -3.0f) return;
    // A slightly ragged edge, as a loaded brush leaves on absorbent paper.
    const float edge = smoothstep(-1.2f, 1.2f, dy + 0.9f * tex.at(fx / 2.5f, fy / 2.5f));
    const float strokes = 0.8f + 0.2f * tex.fbm(fx / 5.0f, fy / 26.0f, 3);
    const float wash = 0.78f + 0.22f * blot.fbm(fx / 70.0f, fy / 55.0f, 4);
    const float body = std::exp(-dy / r.fall) * strokes * wash;
    const float rim = 0.22f * std::exp(-dy / 4.0f) * (0.7f + 0.3f * blot.at(fx / 9.0f, 1.3f));
    const float mist = 1.0f - smoothstep(r.mistTop, r.mistBottom, fy);
    const float vary = 1.0f + 0.22f * tone.fbm(fx / 240.0f, 9.1f, 2);
    const float d = clamp01(r.strength * vary * edge * (body + rim) * mist);
    c = mixRgb(c, r.ink, d);
  });
}

// A lone fisherman's boat on the misty water, a few strokes of ink.
void paintBoat(Canvas& cv, QPointF at, float s) {
  QImage layer = newLayer(cv.width(), cv.height());
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(at);
  p.scale(static_cast<double>(s), static_cast<double>(s));
  const QColor ink(58, 62, 68, 200);
  QPainterPath hull(QPointF(-16, -2.5));
  hull.quadTo(0, 1.5, 17, -3.5);
  hull.quadTo(4, 4.2, -13, 2.0);
  hull.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawPath(hull);
  // The figure: a conical hat over a stooped body, and a long pole.
  QPainterPath body(QPointF(-4, -1));
  body.quadTo(-4.6, -6, -2.2, -8.2);
  body.lineTo(0.6, -7.6);
  body.quadTo(0.8, -3.5, 1.4, -1);
  body.closeSubpath();
  p.drawPath(body);
  QPainterPath hat(QPointF(-5.6, -8.0));
  hat.lineTo(-1.2, -11.6);
  hat.lineTo(3.0, -7.4);
  hat.closeSubpath();
  p.drawPath(hat);
  p.setPen(QPen(ink, 0.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(0.5, -6.0), QPointF(13, 5.5));
  // Faint ripples trailing behind.
  p.setPen(QPen(QColor(90, 100, 110, 70), 0.7, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(-30, 3.5), QPointF(-18, 3.5));
  p.drawLine(QPointF(-24, 6.0), QPointF(-8, 6.0));
  p.drawLine(QPointF(8, 6.5), QPointF(26, 6.5));
  p.end();
  cv.over(layer);
}

// ---------------------------------------------------------------------------------------------
// Plum branch

struct BranchPainter {
  QPainter& p;
  Rng& rng;
  QColor ink;
  float maxY;  // nothing may grow below this row
  float minX;  // nor left of this column
  std::vector<QPointF> flowerSpots;
  std::vector<QPointF> budSpots;

  // A tapered stroke along a polyline; joints get round caps so the knots read as one stroke.
  void stroke(const std::vector<QPointF>& pts, float w0, float w1) {
    const size_t n = pts.size();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (size_t i = 0; i + 1 < n; ++i) {
      const float t0 = static_cast<float>(i) / static_cast<float>(n - 1);
      const float t1 = static_cast<float>(i + 1) / static_cast<float>(n - 1);
      const double wa = static_cast<double>(mix(w0, w1, t0)),
                   wb = static_cast<double>(mix(w0, w1, t1));
      const QPointF a = pts[i], b = pts[i + 1];
      const QPointF d = b - a;
      const double len = std::hypot(d.x(), d.y());
      if (len < 1e-3) continue;
      const QPointF nrm(-d.y() / len, d.x() / len);
      // The middle of each segment swells a little, like a brush pressed and lifted.
      const QPointF mid = (a + b) / 2 + nrm * (static_cast<double>(rng.range(-0.12f, 0.12f)) * wa);
      const double wm = (wa + wb) / 2 * static_cast<double>(rng.range(0.9f, 1.12f));
      QPainterPath seg(a + nrm * (wa / 2));
      seg.quadTo(mid + nrm * (wm / 2), b + nrm * (wb / 2));
      seg.lineTo(b - nrm * (wb / 2));
      seg.quadTo(mid - nrm * (wm / 2), a - nrm * (wa / 2));
      seg.closeSubpath();
      p.drawPath(seg);
      p.drawEllipse(b, wb / 2 * 1.05, wb / 2 * 1.05);
      if (i == 0) p.drawEllipse(a, wa / 2, wa / 2);
    }
  }

  // Plum wood grows in sharp, angular zigzags; the polyline bends at every knot.
  std::vector<QPointF> zigzag(QPointF a, QPointF b, int segments, float jitter) {
    std::vector<QPointF> pts{a};
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    const QPointF nrm(-d.y() / len, d.x() / len);
    for (int i = 1; i < segments; ++i) {
      const double t =
          (static_cast<double>(i) + static_cast<double>(rng.range(-0.25f, 0.25f))) / segments;
      QPointF q = a + d * t + nrm * static_cast<double>(rng.range(-jitter, jitter));
      q.setY(std::min(q.y(), static_cast<double>(maxY)));
      pts.push_back(q);
    }
    pts.push_back(b);
    return pts;
  }

  void twig(QPointF from, float angle, float length, float width, int depth) {
    QPointF dir(std::cos(angle), std::sin(angle));
    QPointF to = from + dir * static_cast<double>(length);
    // Twigs that would reach into the text area are turned to grow upward instead.
    if (to.y() > static_cast<double>(maxY) - 12) dir.setY(-std::fabs(dir.y()));
    to = from + dir * static_cast<double>(length);
    if (to.x() < static_cast<double>(minX) + 12) {
      dir.setX(std::fabs(dir.x()) * 0.3);
      to = from + dir * static_cast<double>(length);
    }
    const int segs = std::max(2, static_cast<int>(length / 30.0f));
    const std::vector<QPointF> pts = zigzag(from, to, segs, length * 0.07f);
    stroke(pts, width, std::max(1.2f, width * 0.3f));
    if (rng.uni() < 0.6f)
      flowerSpots.push_back(to);
    else
      budSpots.push_back(to);
    for (size_t i = 1; i + 1 < pts.size(); ++i) {
      const float u = rng.uni();
      const QPointF side = QPointF(rng.range(-3, 3), rng.range(-3, 3));
      if (u < 0.5f)
        flowerSpots.push_back(pts[i] + side);
      else if (u < 0.75f)
        budSpots.push_back(pts[i] + side);
    }
    if (depth > 0 && pts.size() > 2) {
      const size_t k = std::max<size_t>(1, pts.size() / 2);
      const float turn = rng.uni() < 0.5f ? -1.0f : 1.0f;
      twig(pts[k], angle + turn * rng.range(0.5f, 0.9f), length * 0.5f, width * 0.6f, depth - 1);
    }
  }
};

void drawBlossom(QPainter& p, Rng& rng, QPointF c, float r, bool side) {
  const QColor rim(220, 112, 134, 235), base(252, 232, 236, 240);
  p.save();
  p.translate(c);
  p.rotate(static_cast<double>(rng.range(0, 360)));
  if (side) p.scale(1.0, 0.6);
  for (int i = 0; i < 5; ++i) {
    const float a = static_cast<float>(i) * 2.0f * kPi / 5.0f + rng.range(-0.15f, 0.15f);
    p.save();
    p.rotate(static_cast<double>(a * 180.0f / kPi));
    const double pr = static_cast<double>(r * rng.range(0.5f, 0.58f));
    const QPointF pc(static_cast<double>(r) * 0.5, 0);
    QRadialGradient g(QPointF(0, 0), static_cast<double>(r) * 1.05);
    g.setColorAt(0.0, base);
    g.setColorAt(0.4, base);
    g.setColorAt(1.0, rim);
    p.setPen(QPen(QColor(196, 86, 110, 110), 0.6));
    p.setBrush(g);
    p.drawEllipse(pc, pr * 1.02, pr * 0.94);
    p.restore();
  }
  // Stamens: fine dark strokes tipped with pollen.
  for (int i = 0; i < 11; ++i) {
    const float a = rng.range(0, 2 * kPi);
    const float l = r * rng.range(0.38f, 0.62f);
    const QPointF tip(std::cos(a) * l, std::sin(a) * l);
    p.setPen(QPen(QColor(130, 50, 60, 150), 0.55));
    p.drawLine(QPointF(0, 0), tip);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 170, 70, 230));
    p.drawEllipse(tip, 0.85, 0.85);
  }
  p.setBrush(QColor(170, 190, 110, 220));
  p.drawEllipse(QPointF(0, 0), static_cast<double>(r) * 0.13, static_cast<double>(r) * 0.13);
  p.restore();
}

void drawBud(QPainter& p, Rng& rng, QPointF c) {
  p.save();
  p.translate(c);
  p.rotate(static_cast<double>(rng.range(-40, 40)));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(186, 62, 84, 235));
  p.drawEllipse(QPointF(0, -1.0), 3.0, 3.6);
  // The calyx holding the bud.
  p.setBrush(QColor(60, 40, 38, 230));
  p.drawEllipse(QPointF(-1.6, 2.0), 1.6, 1.3);
  p.drawEllipse(QPointF(1.6, 2.0), 1.6, 1.3);
  p.restore();
}

void paintPlumBranch(Canvas& cv, uint32_t seed) {
  Rng rng(seed);
  QImage wood = newLayer(cv.width(), cv.height());
  QPainter p(&wood);
  p.setRenderHint(QPainter::Antialiasing);
  BranchPainter bp{p, rng, QColor(50, 40, 38), 186.0f, 446.0f, {}, {}};

  // The limb enters at the top-right corner and reaches left until just past x = 450, so the
  // normal window shows its flowering tip and the full-screen window the whole bough.
  const std::vector<QPointF> knots{{1480, -40}, {1370, 4},  {1240, 18}, {1120, 58},
                                   {990, 52},   {880, 92},  {770, 84},  {680, 118},
                                   {600, 100},  {530, 138}, {452, 162}};
  std::vector<QPointF> limb;
  for (size_t i = 0; i + 1 < knots.size(); ++i) {
    const QPointF a = knots[i], b = knots[i + 1];
    const QPointF bend = (a + b) / 2 + QPointF(rng.range(-6, 6), rng.range(-6, 6));
    limb.push_back(a);
    limb.push_back(bend);
  }
  limb.push_back(knots.back());
  bp.stroke(limb, 24.0f, 3.2f);

  struct Shoot {
    size_t knot;
    float degrees, length, width;
    int depth;
  };
  const std::array<Shoot, 12> shoots{{{1, -150, 80, 7, 0},
                                      {2, 160, 120, 6, 1},
                                      {3, -110, 70, 5, 0},
                                      {3, 150, 100, 5, 1},
                                      {4, -135, 90, 5, 1},
                                      {5, 155, 90, 4, 0},
                                      {6, -120, 110, 4, 1},
                                      {7, 165, 70, 3.5f, 0},
                                      {8, -125, 100, 3.5f, 1},
                                      {8, -70, 60, 2.5f, 0},
                                      {9, -140, 70, 3, 0},
                                      {10, -160, 30, 2, 0}}};
  for (const Shoot& s : shoots)
    bp.twig(knots[s.knot], s.degrees * kPi / 180.0f, s.length, s.width, s.depth);
  // Blossoms also sit directly on the old wood.
  for (size_t i = 3; i < limb.size(); ++i)
    if (rng.uni() < 0.5f)
      bp.flowerSpots.push_back(limb[i] + QPointF(rng.range(-6, 6), rng.range(-9, 3)));
  bp.flowerSpots.push_back(knots.back());
  p.end();

  // Dry-brush streaks: ink thins where the brush skipped over the paper's tooth.
  const Noise dry(seed + 1);
  for (int y = 0; y < wood.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(wood.scanLine(y));
    for (int x = 0; x < wood.width(); ++x) {
      if (qAlpha(line[x]) == 0) continue;
      const float fx = logical(x), fy = logical(y);
      const float k = clamp01(0.82f + 0.3f * dry.fbm(fx / 3.0f, fy / 9.0f, 3) +
                              0.1f * dry.at(fx / 40.0f, fy / 40.0f));
      auto sc = [k](int v) { return static_cast<int>(static_cast<float>(v) * k); };
      line[x] =
          qRgba(sc(qRed(line[x])), sc(qGreen(line[x])), sc(qBlue(line[x])), sc(qAlpha(line[x])));
    }
  }
  cv.over(wood, 0.95f);

  QImage bloom = newLayer(cv.width(), cv.height());
  QPainter f(&bloom);
  f.setRenderHint(QPainter::Antialiasing);
  // Moss dots along the limb, the painter's shorthand for old bark.
  for (size_t i = 1; i + 1 < limb.size(); ++i) {
    for (int k = 0; k < 3; ++k) {
      if (rng.uni() < 0.55f) continue;
      const QPointF q = limb[i] + QPointF(rng.range(-10, 10), rng.range(-12, -3));
      f.setPen(Qt::NoPen);
      f.setBrush(QColor(34, 44, 34, 210));
      f.drawEllipse(q, static_cast<double>(rng.range(1.0f, 2.4f)),
                    static_cast<double>(rng.range(0.9f, 1.8f)));
    }
  }
  for (const QPointF& b : bp.budSpots) {
    if (b.y() > 192 || b.x() < 446) continue;
    drawBud(f, rng, b);
  }
  for (const QPointF& c : bp.flowerSpots) {
    const float r = rng.range(8.0f, 13.0f);
    if (c.y() + static_cast<double>(r) > 198 || c.x() - static_cast<double>(r) < 442) continue;
    drawBlossom(f, rng, c, r, rng.uni() < 0.3f);
  }
  f.end();
  cv.over(bloom);
}

// ---------------------------------------------------------------------------------------------
// The cover

void paintBirds(Canvas& cv, uint32_t seed) {
  QImage layer = newLayer(cv.width(), cv.height());
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  Rng rng(seed);
  const std::array<QPointF, 4> spots{QPointF(892, 318), QPointF(928, 298), QPointF(962, 330),
                                     QPointF(914, 348)};
  for (const QPointF& c : spots) {
    const float s = rng.range(8, 12);
    const float tilt = rng.range(-0.15f, 0.15f);
    p.save();
    p.translate(c);
    p.rotate(static_cast<double>(tilt * 180.0f / kPi));
    // Each wing is one tapered brush stroke arching away from the body.
    for (int side = -1; side <= 1; side += 2) {
      const float sd = static_cast<float>(side);
      QPainterPath w;
      w.moveTo(0, 0);
      w.quadTo(sd * s * 0.45f, -s * 0.55f, sd * s, -s * rng.range(0.15f, 0.35f));
      w.quadTo(sd * s * 0.5f, -s * 0.35f, 0, 1.2);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(60, 62, 66, 190));
      p.drawPath(w);
    }
    p.restore();
  }
  p.end();
  cv.over(layer);
}

void paintSun(Canvas& cv, QPointF c, float r) {
  cv.forEach([&](float x, float y, Rgb& px) {
    const float d = std::hypot(x - static_cast<float>(c.x()), y - static_cast<float>(c.y()));
    if (d > r * 3.0f) return;
    const float disc = 1.0f - smoothstep(r - 3.0f, r + 3.0f, d);
    const float halo = 0.35f * std::exp(-std::max(0.0f, d - r) / (r * 0.6f));
    px = mixRgb(px, Rgb{226, 150, 128}, 0.26f * disc + 0.05f * halo * (1.0f - disc));
  });
}

QImage makeCover() {
  Canvas cv(kPageW, kPageH, Rgb{244, 238, 224});
  paintPaper(cv,
             PaperLook{Rgb{244, 238, 224}, 0.018f, 900.0f, 0.1f, QColor(206, 192, 164),
                       QColor(255, 252, 244)},
             101);

  // A faint warm glow toward the upper left keeps the title area the lightest part.
  cv.forEach([&](float x, float y, Rgb& c) {
    const float d = std::hypot(x / 1440.0f, y / 1024.0f);
    const float k = 0.02f * (1.0f - clamp01(d));
    c = {c.r * (1 + k), c.g * (1 + k), c.b * (1 + k)};
  });

  paintSun(cv, QPointF(1185, 392), 50.0f);
  paintBirds(cv, 301);

  // Heavy ground on the left, lighter distant peaks to the right under the sun; the lower right
  // stays pale because the about link sits there at every window size.
  const Rgb farInk{150, 162, 174}, midInk{100, 112, 124}, nearInk{62, 70, 80}, darkInk{36, 40, 46};
  const std::vector<Peak> far{{80, 150, 120, 0.2f},    {330, 80, 140, 0},   {600, 120, 130, 0},
                              {880, 175, 150, -0.15f}, {1120, 120, 100, 0}, {1300, 165, 130, 0.1f},
                              {1460, 100, 110, 0}};
  const std::vector<Peak> middle{{30, 280, 160, 0.3f}, {270, 150, 120, 0}, {700, 190, 120, -0.1f},
                                 {980, 110, 110, 0},   {1220, 60, 140, 0}, {1420, 80, 120, 0}};
  const std::vector<Peak> near{
      {60, 380, 170, 0.2f}, {430, 250, 130, 0}, {850, 300, 140, 0}, {1100, 120, 120, 0}};
  const std::vector<Peak> nearest{{210, 330, 180, 0}, {640, 240, 160, 0}};
  paintRange(cv, Range{740, far, 22, 100, 0.22f, farInk, 800, 1000, 201});
  paintRange(cv, Range{860, middle, 22, 80, 0.34f, midInk, 880, 1024, 202});
  paintRange(cv, Range{1060, near, 20, 70, 0.52f, nearInk, 960, 1100, 203});
  paintRange(cv, Range{1150, nearest, 18, 60, 0.68f, darkInk, 2000, 2001, 204});
  paintBoat(cv, QPointF(1130, 905), 1.1f);

  paintPlumBranch(cv, 401);
  return cv.toImage(2.0f, 901);
}

// ---------------------------------------------------------------------------------------------
// Page backgrounds

QImage makeWhitePaper() {
  Canvas cv(kPageW, kPageH, Rgb{250, 249, 245});
  paintPaper(cv,
             PaperLook{Rgb{250, 249, 245}, 0.01f, 1400.0f, 0.09f, QColor(186, 178, 160),
                       QColor(255, 255, 255)},
             111);
  // The tooth of the sheet: a fine, even grain.
  const Noise tooth(112);
  cv.forEach([&](float x, float y, Rgb& c) {
    const float k = 0.006f * tooth.fbm(x / 2.5f, y / 2.5f, 2);
    c = {c.r * (1 + k), c.g * (1 + k), c.b * (1 + k)};
  });
  return cv.toImage(2.0f, 911);
}

QImage makeDarkWood() {
  Canvas cv(kPageW, kPageH, Rgb{0, 0, 0});
  const Noise warp(121), fibre(123), tone(124), pores(125);
  const Rgb dark{20, 13, 9}, light{80, 54, 36};
  const int plank = 205;
  Rng rng(126);
  // Each board is a flat-sawn slice of a log lying along x: the saw cuts the growth rings at a
  // slowly changing depth, which draws the arches and long streaks of real grain.
  struct Board {
    int row, x0, x1;
    float shade, axisY, depth, taper, offset;
  };
  std::vector<Board> boards;
  for (int row = 0; row * plank < kPageH; ++row) {
    int x = -rng.irange(0, 700);
    while (x < kPageW) {
      const int len = rng.irange(700, 1300);
      const float axis = static_cast<float>(row * plank + plank / 2) + rng.range(-90, 90);
      boards.push_back({row, x, x + len, rng.range(-0.05f, 0.05f), axis, rng.range(10, 140),
                        rng.range(-0.09f, 0.09f), rng.range(0, 5000)});
      x += len;
    }
  }
  auto boardAt = [&](float x, int row) -> const Board& {
    for (const Board& b : boards)
      if (b.row == row && x >= static_cast<float>(b.x0) && x < static_cast<float>(b.x1)) return b;
    return boards.front();
  };
  cv.forEach([&](float fx, float fy, Rgb& c) {
    const int row = static_cast<int>(fy) / plank;
    const Board& b = boardAt(fx, row);
    const float ox = fx + b.offset, oy = fy + b.offset * 0.37f;
    const float depth = b.depth + b.taper * (fx - static_cast<float>(b.x0)) +
                        25.0f * warp.fbm(ox * 0.002f, 0.3f, 3);
    const float dy = fy - b.axisY + 22.0f * warp.fbm(ox * 0.0025f, oy * 0.01f, 4);
    const float radius = std::sqrt(dy * dy + depth * depth);
    const float t = radius * 0.085f;
    const float ring = t - std::floor(t);
    // Early wood fades gradually into a thin, darker band of late wood.
    // Where the cut grazes a ring it smears wide; the band is paler there, as in real boards.
    const float grazing = std::clamp(std::fabs(dy) / std::max(radius, 1.0f) * 3.0f, 0.3f, 1.0f);
    const float late =
        grazing * smoothstep(0.5f, 0.93f, ring) * (1.0f - smoothstep(0.95f, 1.0f, ring));
    const float streak = fibre.fbm(ox * 0.01f, oy * 0.7f, 3);
    const float broad = tone.fbm(ox * 0.0016f, oy * 0.004f, 3);
    const float pore = smoothstep(0.35f, 0.6f, pores.fbm(ox * 0.08f, oy * 1.6f, 2));
    float v = 0.5f - 0.26f * late + 0.1f * streak + 0.16f * broad - 0.1f * pore + b.shade;
    const float inPlank = fy - static_cast<float>(row * plank);
    const float fromStart = fx - static_cast<float>(b.x0), toEnd = static_cast<float>(b.x1) - fx;
    // Dark seams where the boards meet, along the long edges and at the butt joints: one logical
    // pixel of each board, at any resolution.
    if (inPlank < 1.0f || inPlank >= static_cast<float>(plank - 1) || fromStart < 1.0f ||
        toEnd <= 1.0f)
      v *= 0.35f;
    c = mixRgb(dark, light, clamp01(v));
  });
  return cv.toImage(2.5f, 921);
}

// Draws faint low-poly facets, the look of cut crystal, into a layer.
QImage crystalFacets(uint32_t seed, int spacing) {
  Rng rng(seed);
  const int cols = kPageW / spacing + 3, rows = kPageH / spacing + 3;
  std::vector<QPointF> pts(static_cast<size_t>(cols * rows));
  for (int j = 0; j < rows; ++j)
    for (int i = 0; i < cols; ++i)
      pts[static_cast<size_t>(j * cols + i)] =
          QPointF((i - 1 + rng.range(-0.38f, 0.38f)) * spacing,
                  (j - 1 + rng.range(-0.38f, 0.38f)) * spacing);
  auto at = [&](int i, int j) { return pts[static_cast<size_t>(j * cols + i)]; };
  QImage layer = newLayer(kPageW, kPageH);
  QPainter p(&layer);
  p.setRenderHint(QPainter::Antialiasing);
  auto facet = [&](QPointF a, QPointF b, QPointF c) {
    const float s = rng.range(-1.0f, 1.0f);
    QColor lit = s > 0 ? QColor(255, 255, 255) : QColor(90, 130, 190);
    const float strength = s > 0 ? 0.24f * s : 0.12f * -s;
    QColor from = lit, to = lit;
    from.setAlphaF(static_cast<double>(strength));
    to.setAlphaF(static_cast<double>(strength) * 0.25);
    QLinearGradient g(a, (b + c) / 2);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    QPolygonF poly;
    poly << a << b << c;
    p.setPen(QPen(QColor(255, 255, 255, 45), 0.9));
    p.setBrush(g);
    p.drawPolygon(poly);
  };
  for (int j = 0; j + 1 < rows; ++j)
    for (int i = 0; i + 1 < cols; ++i) {
      const QPointF a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
      if (rng.uni() < 0.5f) {
        facet(a, b, c);
        facet(a, c, d);
      } else {
        facet(a, b, d);
        facet(b, c, d);
      }
    }
  return layer;
}

QPainterPath heartPath(QPointF c, float size) {
  QPainterPath path;
  for (int i = 0; i <= 240; ++i) {
    const float t = static_cast<float>(i) / 240.0f * 2.0f * kPi;
    const float u = 16.0f * std::pow(std::sin(t), 3.0f);
    const float v =
        13.0f * std::cos(t) - 5.0f * std::cos(2 * t) - 2.0f * std::cos(3 * t) - std::cos(4 * t);
    const QPointF q(c.x() + static_cast<double>(u * size / 16.0f),
                    c.y() - static_cast<double>(v * size / 16.0f));
    if (i == 0)
      path.moveTo(q);
    else
      path.lineTo(q);
  }
  path.closeSubpath();
  return path;
}

QImage makeBlueCrystal() {
  Canvas cv(kPageW, kPageH, Rgb{0, 0, 0});
  const Rgb top{226, 238, 250}, bottom{206, 224, 244};
  const Noise soft(131);
  cv.forEach([&](float x, float y, Rgb& c) {
    const float t = clamp01(y / 1024.0f * 0.75f + x / 1440.0f * 0.25f);
    c = mixRgb(top, bottom, t);
    const float m = 0.012f * soft.fbm(x / 300.0f, y / 300.0f, 3);
    c = {c.r * (1 + m), c.g * (1 + m), c.b * (1 + m)};
  });
  // Large facets everywhere, fading toward the middle of the normal page where text is densest.
  cv.overMasked(crystalFacets(132, 150), [](float x, float y) {
    const float dx = (x - 300.0f) / 520.0f, dy = (y - 360.0f) / 420.0f;
    return 0.35f + 0.4f * smoothstep(0.3f, 1.3f, std::hypot(dx, dy));
  });

  // A heart of light: a soft glow with a faint bright rim.
  const QPointF hc(400, 470);
  QImage glow = newLayer(kPageW, kPageH);
  {
    QPainter p(&glow);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawPath(heartPath(hc, 130));
  }
  cv.over(blurred(glow, 18), 0.7f);
  QImage rim = newLayer(kPageW, kPageH);
  {
    QPainter p(&rim);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 170), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(heartPath(hc, 124));
  }
  cv.over(blurred(rim, 3), 0.5f);

  // Sparkles: tiny four-pointed glints scattered like light caught on edges.
  QImage glints = newLayer(kPageW, kPageH);
  {
    QPainter p(&glints);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(133);
    for (int i = 0; i < 40; ++i) {
      const QPointF c(rng.range(0, kPageW), rng.range(0, kPageH));
      const double s = static_cast<double>(rng.range(3.0f, 7.0f));
      QPainterPath star(c + QPointF(0, -s));
      star.quadTo(c, c + QPointF(s, 0));
      star.quadTo(c, c + QPointF(0, s));
      star.quadTo(c, c + QPointF(-s, 0));
      star.quadTo(c, c + QPointF(0, -s));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 255, 255, 150));
      p.drawPath(star);
    }
  }
  cv.over(glints, 0.7f);
  return cv.toImage(2.0f, 931);
}

// A petal growing along +y from the flower's heart, its outer edge crinkled into small ruffles.
QPainterPath ruffledPetal(Rng& rng, float len, float hw) {
  QPainterPath path(QPointF(0, 0));
  path.cubicTo(-hw * 0.3f, len * 0.22f, -hw * 1.05f, len * 0.42f, -hw, len * 0.7f);
  const int ruffles = rng.irange(6, 9);
  QPointF prev(-hw, len * 0.7f);
  for (int i = 1; i <= ruffles; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(ruffles);
    const float ang = kPi * (1.0f - t);
    const float notch = (i == ruffles) ? 1.0f : rng.range(0.9f, 0.98f);
    const QPointF next(std::cos(ang) * hw * notch, len * 0.7f + std::sin(ang) * len * 0.3f * notch);
    const QPointF mid = (prev + next) / 2;
    const QPointF outward = mid - QPointF(0, len * 0.62f);
    const double ol = std::hypot(outward.x(), outward.y());
    const QPointF ctl = mid + outward / ol * static_cast<double>(len * rng.range(0.03f, 0.09f));
    path.quadTo(ctl, next);
    prev = next;
  }
  path.cubicTo(hw * 1.05f, len * 0.42f, hw * 0.3f, len * 0.22f, 0, 0);
  return path;
}

void drawPetal(QPainter& p, Rng& rng, float angleDeg, float len, float hw, QColor base,
               QColor tip) {
  p.save();
  p.rotate(static_cast<double>(angleDeg));
  QRadialGradient g(QPointF(0, 0), static_cast<double>(len));
  g.setColorAt(0.0, base);
  g.setColorAt(0.5, QColor((base.red() + tip.red()) / 2, (base.green() + tip.green()) / 2,
                           (base.blue() + tip.blue()) / 2, tip.alpha()));
  g.setColorAt(1.0, tip);
  p.setPen(QPen(QColor(200, 96, 132, 140), 0.9));
  p.setBrush(g);
  p.drawPath(ruffledPetal(rng, len, hw));
  p.setPen(QPen(QColor(206, 110, 140, 45), 0.7));
  for (int v = -1; v <= 1; ++v)
    p.drawLine(QPointF(0, len * 0.12f), QPointF(static_cast<float>(v) * hw * 0.35f, len * 0.78f));
  p.restore();
}

void drawPeonyLeaves(QPainter& p, Rng& rng, float r, float angleDeg) {
  p.save();
  p.rotate(static_cast<double>(angleDeg));
  const QColor leafA(120, 158, 108, 190), leafB(156, 186, 136, 190), rib(96, 132, 86, 140);
  // Three pointed leaflets tucked behind the bloom, the middle one longest.
  for (int k = -1; k <= 1; ++k) {
    p.save();
    p.translate(0, static_cast<double>(r * 0.7f));
    p.rotate(static_cast<double>(k) * 34.0 + static_cast<double>(rng.range(-6, 6)));
    const float l = r * (k == 0 ? 0.8f : 0.6f), w = l * 0.3f;
    QPainterPath leaf(QPointF(0, 0));
    leaf.cubicTo(w, l * 0.2f, w * 1.1f, l * 0.6f, 0, l);
    leaf.cubicTo(-w * 1.1f, l * 0.6f, -w, l * 0.2f, 0, 0);
    QLinearGradient g(QPointF(-w, 0), QPointF(w, 0));
    g.setColorAt(0, leafA);
    g.setColorAt(1, leafB);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(leaf);
    p.setPen(QPen(rib, 0.8));
    p.drawLine(QPointF(0, l * 0.1f), QPointF(0, l * 0.85f));
    p.restore();
  }
  p.restore();
}

void drawPeony(QPainter& p, Rng& rng, QPointF c, float r) {
  p.save();
  p.translate(c);
  // Leaves reach toward the middle of the page, where the flower's corner opens out.
  const QPointF toMiddle = QPointF(720, 512) - c;
  const float inward =
      std::atan2(static_cast<float>(toMiddle.y()), static_cast<float>(toMiddle.x())) * 180.0f /
          kPi -
      90.0f;
  const float side = rng.uni() < 0.5f ? -1.0f : 1.0f;
  drawPeonyLeaves(p, rng, r, inward + side * rng.range(15, 30));
  drawPeonyLeaves(p, rng, r * 0.85f, inward - side * rng.range(45, 65));
  // Seen slightly from the side, so the bloom is a little wider than tall.
  p.rotate(static_cast<double>(rng.range(-20, 20)));
  p.scale(1.0, 0.86);
  const QColor deep(214, 98, 138, 240), mid(232, 146, 176, 240), pale(253, 232, 238, 240);
  struct Ring {
    int count;
    float len, hw;
    QColor base;
  };
  const std::array<Ring, 4> rings{{{7, 1.0f, 0.62f, deep},
                                   {7, 0.8f, 0.52f, deep},
                                   {6, 0.6f, 0.42f, mid},
                                   {5, 0.42f, 0.32f, mid}}};
  for (const Ring& ring : rings) {
    const float base = rng.range(0, 360);
    for (int i = 0; i < ring.count; ++i) {
      const float a = base + 360.0f * static_cast<float>(i) / static_cast<float>(ring.count) +
                      rng.range(-10, 10);
      const float len = r * ring.len * rng.range(0.9f, 1.08f);
      drawPetal(p, rng, a, len, len * ring.hw * rng.range(0.9f, 1.1f), ring.base, pale);
    }
  }
  // The crumpled heart of the bloom: many small petals at odd angles.
  for (int i = 0; i < 12; ++i) {
    const float len = r * rng.range(0.2f, 0.34f);
    drawPetal(p, rng, rng.range(0, 360), len, len * 0.55f, deep, QColor(246, 196, 212, 240));
  }
  for (int i = 0; i < 18; ++i) {
    const float a = rng.range(0, 2 * kPi), d = r * rng.range(0.0f, 0.12f);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(238, 196, 90, 230));
    p.drawEllipse(QPointF(std::cos(a) * d, std::sin(a) * d), 1.9, 1.9);
  }
  p.restore();
}

QImage makePinkPeony() {
  Canvas cv(kPageW, kPageH, Rgb{251, 234, 238});
  paintPaper(cv,
             PaperLook{Rgb{251, 234, 238}, 0.01f, 500.0f, 0.07f, QColor(220, 180, 190),
                       QColor(255, 250, 252)},
             141);
  QImage layer = newLayer(kPageW, kPageH);
  {
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(142);
    // Corners of the full-screen page, plus the edges the normal page shows; leaves point inward.
    struct Spot {
      float x, y, r;
    };
    const std::array<Spot, 9> spots{{{70, 70, 120},
                                     {560, 20, 80},
                                     {20, 600, 105},
                                     {1370, 80, 130},
                                     {1000, 0, 80},
                                     {1420, 540, 100},
                                     {1360, 950, 140},
                                     {760, 1020, 90},
                                     {120, 980, 115}}};
    for (const Spot& s : spots) drawPeony(p, rng, QPointF(s.x, s.y), s.r);
  }
  cv.over(blurred(layer, 1), 0.5f);
  return cv.toImage(2.0f, 941);
}

void drawSmallFlower(QPainter& p, Rng& rng, QPointF c, float r, QColor petal, QColor heart) {
  p.save();
  p.translate(c);
  p.rotate(static_cast<double>(rng.range(0, 72)));
  const QColor edge = petal.darker(118);
  for (int i = 0; i < 5; ++i) {
    p.save();
    p.rotate(72.0 * i);
    QPainterPath pet(QPointF(0, 0));
    pet.cubicTo(r * 0.62f, r * 0.2f, r * 0.72f, r * 0.95f, 0, r);
    pet.cubicTo(-r * 0.72f, r * 0.95f, -r * 0.62f, r * 0.2f, 0, 0);
    p.setPen(QPen(edge, 0.8));
    p.setBrush(petal);
    p.drawPath(pet);
    p.restore();
  }
  p.setPen(Qt::NoPen);
  p.setBrush(heart);
  p.drawEllipse(QPointF(0, 0), static_cast<double>(r) * 0.24, static_cast<double>(r) * 0.24);
  p.restore();
}

QImage makeYellowFloral() {
  Canvas cv(kPageW, kPageH, Rgb{252, 246, 220});
  paintPaper(cv,
             PaperLook{Rgb{252, 246, 220}, 0.01f, 400.0f, 0.06f, QColor(210, 190, 140),
                       QColor(255, 253, 240)},
             151);
  QImage layer = newLayer(kPageW, kPageH);
  {
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(152);
    const std::array<QColor, 4> petals{QColor(236, 186, 96), QColor(255, 250, 236),
                                       QColor(236, 160, 120), QColor(222, 200, 120)};
    const int step = 96;
    for (int gy = 0; gy * step < kPageH + step; ++gy)
      for (int gx = 0; gx * step < kPageW + step; ++gx) {
        if (rng.uni() < 0.3f) continue;
        const QPointF c((gx + rng.range(0.15f, 0.85f) + (gy % 2) * 0.5f) * step - step / 2,
                        (gy + rng.range(0.15f, 0.85f)) * step - step / 2);
        const float r = rng.range(6.5f, 12.0f);
        // Some flowers hang from a short stem with a single leaf.
        if (rng.uni() < 0.45f) {
          p.save();
          p.translate(c);
          p.rotate(static_cast<double>(rng.range(0, 360)));
          p.setPen(QPen(QColor(150, 170, 100), 1.0, Qt::SolidLine, Qt::RoundCap));
          QPainterPath stem(QPointF(0, 0));
          stem.quadTo(r * 0.6f, r * 1.4f, r * 0.2f, r * 2.4f);
          p.setBrush(Qt::NoBrush);
          p.drawPath(stem);
          QPainterPath leaf(QPointF(r * 0.45f, r * 1.5f));
          leaf.quadTo(r * 1.5f, r * 1.2f, r * 1.9f, r * 1.9f);
          leaf.quadTo(r * 1.1f, r * 2.1f, r * 0.45f, r * 1.5f);
          p.setPen(Qt::NoPen);
          p.setBrush(QColor(160, 184, 104));
          p.drawPath(leaf);
          p.restore();
        }
        drawSmallFlower(p, rng, c, r, petals[static_cast<size_t>(rng.irange(0, 3))],
                        QColor(200, 120, 60));
      }
  }
  cv.over(layer, 0.36f);
  return cv.toImage(2.0f, 951);
}

QImage makeLawnGreen() {
  Canvas cv(kPageW, kPageH, Rgb{0, 0, 0});
  const Noise tone(161), fine(162), sway(163);
  const Rgb a{204, 227, 186}, b{218, 236, 200};
  cv.forEach([&](float fx, float fy, Rgb& c) {
    const float t = 0.5f + 0.6f * tone.fbm(fx / 380.0f, fy / 300.0f, 4);
    c = mixRgb(a, b, clamp01(t));
    const float m = 0.012f * fine.fbm(fx / 6.0f, fy / 14.0f, 2);
    c = {c.r * (1 + m), c.g * (1 + m), c.b * (1 + m)};
  });
  QImage layer = newLayer(kPageW, kPageH);
  {
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    Rng rng(164);
    const int blades = 150000;
    for (int i = 0; i < blades; ++i) {
      const QPointF root(rng.range(-10, kPageW + 10), rng.range(-10, kPageH + 20));
      // Neighbouring blades lean together, as mown grass does under a breeze.
      const float flow = 0.35f * sway.fbm(static_cast<float>(root.x()) / 220.0f,
                                          static_cast<float>(root.y()) / 220.0f, 3);
      const float lean = flow + rng.range(-0.22f, 0.22f);
      const float len = rng.range(6, 14);
      const float bend = rng.range(-0.25f, 0.25f);
      const QPointF dir(std::sin(lean), -std::cos(lean));
      const QPointF nrm(-dir.y(), dir.x());
      const QPointF tip =
          root + QPointF(std::sin(lean + bend), -std::cos(lean + bend)) * static_cast<double>(len);
      const QPointF mid = root + dir * static_cast<double>(len * 0.55f);
      const double hw = static_cast<double>(rng.range(0.5f, 0.8f));
      QPainterPath blade(root - nrm * hw);
      blade.quadTo(mid - nrm * hw * 0.7, tip);
      blade.quadTo(mid + nrm * hw * 0.7, root + nrm * hw);
      blade.closeSubpath();
      // Blades close in tone to the ground but crisp, so they read as grass and not as fur.
      const float shade = rng.range(-1.0f, 1.0f);
      const QColor col = shade < 0
                             ? QColor::fromRgbF(0.69f - 0.05f * -shade, 0.81f - 0.04f * -shade,
                                                0.61f - 0.05f * -shade, 0.55f)
                             : QColor::fromRgbF(0.86f + 0.04f * shade, 0.93f + 0.03f * shade,
                                                0.81f + 0.05f * shade, 0.55f);
      p.setBrush(col);
      p.drawPath(blade);
    }
  }
  cv.over(layer);
  return cv.toImage(2.0f, 961);
}

// ---------------------------------------------------------------------------------------------
// Cursor

struct HandCursor {
  QImage image;
  int hotX, hotY;
};

HandCursor makeHand() {
  QImage img(32 * pixelRatio, 32 * pixelRatio, QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(pixelRatio);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // The outline is built in one pass: index finger, knuckles of the folded fingers, palm, thumb.
  QPainterPath hand;
  hand.moveTo(9.5, 14.0);
  hand.lineTo(9.5, 3.5);
  hand.arcTo(QRectF(9.5, 1.0, 5.0, 5.0), 180, -180);
  hand.lineTo(14.5, 12.5);
  hand.arcTo(QRectF(14.5, 10.5, 4.0, 4.0), 180, -180);
  hand.arcTo(QRectF(18.5, 11.5, 4.0, 4.0), 180, -180);
  hand.arcTo(QRectF(22.5, 13.0, 4.0, 4.0), 180, -180);
  hand.lineTo(26.5, 21.0);
  hand.cubicTo(26.5, 24.5, 25.0, 26.5, 23.5, 27.5);
  hand.lineTo(23.5, 30.5);
  hand.lineTo(11.5, 30.5);
  hand.lineTo(11.5, 28.0);
  hand.cubicTo(9.0, 26.0, 6.0, 22.5, 3.8, 19.0);
  hand.cubicTo(2.9, 17.5, 3.6, 15.6, 5.2, 15.8);
  hand.cubicTo(6.6, 16.0, 8.0, 17.6, 9.5, 19.0);
  hand.closeSubpath();
  // A soft shadow lifts the cursor off white pages.
  p.save();
  p.translate(0.8, 0.8);
  p.setPen(QPen(QColor(0, 0, 0, 60), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawPath(hand);
  p.restore();
  p.setPen(QPen(QColor(24, 24, 24), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(255, 255, 255));
  p.drawPath(hand);
  // Creases between the folded fingers and the cuff line.
  p.setPen(QPen(QColor(24, 24, 24), 1.0, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(18.5, 13.0), QPointF(18.5, 17.0));
  p.drawLine(QPointF(22.5, 15.0), QPointF(22.5, 18.5));
  p.drawLine(QPointF(14.5, 12.5), QPointF(14.5, 16.5));
  p.end();
  // The hot spot is the tip of the index finger.
  return {img.convertToFormat(QImage::Format_ARGB32), 12 * pixelRatio, 1 * pixelRatio};
}

void putLe16(QByteArray& b, int v) {
  b.append(static_cast<char>(v & 0xff));
  b.append(static_cast<char>((v >> 8) & 0xff));
}
void putLe32(QByteArray& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xff));
}

// The cursor container: one entry (32 or 64 px square), 32-bit BGRA DIB bottom-up plus the 1-bit
// AND mask.
QByteArray encodeCursor(const HandCursor& cur) {
  const QImage& img = cur.image;
  const int w = img.width(), h = img.height();
  const int maskStride = ((w + 31) / 32) * 4;
  const uint32_t dibSize = 40u + static_cast<uint32_t>(w * h * 4 + maskStride * h);
  QByteArray b;
  putLe16(b, 0);  // reserved
  putLe16(b, 2);  // type: cursor
  putLe16(b, 1);  // image count
  b.append(static_cast<char>(w));
  b.append(static_cast<char>(h));
  b.append(static_cast<char>(0));  // palette size
  b.append(static_cast<char>(0));  // reserved
  putLe16(b, cur.hotX);
  putLe16(b, cur.hotY);
  putLe32(b, dibSize);
  putLe32(b, 22);  // offset of the DIB: right after the 6-byte header and the 16-byte entry
  putLe32(b, 40);
  putLe32(b, static_cast<uint32_t>(w));
  putLe32(b, static_cast<uint32_t>(h * 2));  // colour rows plus mask rows
  putLe16(b, 1);
  putLe16(b, 32);
  putLe32(b, 0);  // uncompressed
  putLe32(b, static_cast<uint32_t>(w * h * 4 + maskStride * h));
  putLe32(b, 0);
  putLe32(b, 0);
  putLe32(b, 0);
  putLe32(b, 0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) {
      const QRgb c = img.pixel(x, y);
      b.append(static_cast<char>(qBlue(c)));
      b.append(static_cast<char>(qGreen(c)));
      b.append(static_cast<char>(qRed(c)));
      b.append(static_cast<char>(qAlpha(c)));
    }
  for (int y = h - 1; y >= 0; --y) {
    QByteArray row(maskStride, '\0');
    for (int x = 0; x < w; ++x)
      if (qAlpha(img.pixel(x, y)) == 0)
        row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    b.append(row);
  }
  return b;
}

// ---------------------------------------------------------------------------------------------
// Toolbar icons: 2 px slate strokes on a 32 px grid with one teal accent each.

const QColor kSlate(52, 64, 80);
const QColor kAccent(22, 138, 128);
const QColor kTint(220, 236, 234);

QPen slatePen(double w = 2.0) {
  return QPen(kSlate, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}
QPen accentPen(double w = 2.0) {
  return QPen(kAccent, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QImage iconCanvas() {
  QImage img(32 * pixelRatio, 32 * pixelRatio, QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(pixelRatio);
  img.fill(Qt::transparent);
  return img;
}

void arrowHead(QPainter& p, QPointF tip, float angle, float size) {
  const QPointF a =
      tip - QPointF(std::cos(angle - 0.7f), std::sin(angle - 0.7f)) * static_cast<double>(size);
  const QPointF b =
      tip - QPointF(std::cos(angle + 0.7f), std::sin(angle + 0.7f)) * static_cast<double>(size);
  QPainterPath path(a);
  path.lineTo(tip);
  path.lineTo(b);
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

QImage iconHome() {
  QImage img = iconCanvas();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath body;
  body.moveTo(7, 14);
  body.lineTo(7, 27);
  body.lineTo(25, 27);
  body.lineTo(25, 14);
  p.setPen(Qt::NoPen);
  p.setBrush(kTint);
  p.drawRect(QRectF(7, 14, 18, 13));
  p.setPen(slatePen());
  p.setBrush(Qt::NoBrush);
  p.drawPath(body);
  QPainterPath roof;
  roof.moveTo(3.5, 16);
  roof.lineTo(16, 4.5);
  roof.lineTo(28.5, 16);
  p.drawPath(roof);
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawRoundedRect(QRectF(13, 18, 6, 9), 1.2, 1.2);
  return img;
}

QImage iconGear() {
  QImage img = iconCanvas();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const int teeth = 8;
  const float ro = 13.0f, ri = 10.0f;
  QPainterPath gear;
  for (int i = 0; i < teeth; ++i) {
    const float a0 = 2 * kPi * static_cast<float>(i) / teeth;
    const float step = 2 * kPi / teeth;
    const std::array<std::pair<float, float>, 4> pts{{{a0 - step * 0.32f, ri},
                                                      {a0 - step * 0.18f, ro},
                                                      {a0 + step * 0.18f, ro},
                                                      {a0 + step * 0.32f, ri}}};
    for (size_t k = 0; k < pts.size(); ++k) {
      const QPointF q(16 + std::cos(pts[k].first) * pts[k].second,
                      16 + std::sin(pts[k].first) * pts[k].second);
      if (i == 0 && k == 0)
        gear.moveTo(q);
      else
        gear.lineTo(q);
    }
  }
  gear.closeSubpath();
  p.setPen(slatePen());
  p.setBrush(kTint);
  p.drawPath(gear);
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawEllipse(QPointF(16, 16), 4.5, 4.5);
  return img;
}

QImage iconScroll() {
  QImage img = iconCanvas();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(slatePen());
  for (int i = 0; i < 4; ++i) {
    const double y = 7 + i * 6;
    p.drawLine(QPointF(4, y), QPointF(i % 2 ? 14 : 17, y));
  }
  p.setPen(accentPen(2.4));
  p.drawLine(QPointF(24, 27), QPointF(24, 6));
  arrowHead(p, QPointF(24, 5), -kPi / 2, 6.5f);
  return img;
}

QImage iconFullScreen() {
  QImage img = iconCanvas();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(slatePen(2.4));
  const float lo = 5, hi = 27, arm = 7;
  auto corner = [&](float x, float y, float sx, float sy) {
    QPainterPath path(QPointF(x, y + sy * arm));
    path.lineTo(x, y);
    path.lineTo(x + sx * arm, y);
    p.drawPath(path);
  };
  corner(lo, lo, 1, 1);
  corner(hi, lo, -1, 1);
  corner(lo, hi, 1, -1);
  corner(hi, hi, -1, -1);
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawRoundedRect(QRectF(11, 12, 10, 8), 1.5, 1.5);
  return img;
}

// A page with an arrow leaving it; the arrow cuts a gap in the page's outline to stay legible.
QImage iconPage(bool next) {
  QImage img = iconCanvas();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  if (!next) {
    p.translate(32, 0);
    p.scale(-1, 1);
  }
  const QRectF page(5, 4, 15, 24);
  p.setPen(slatePen());
  p.setBrush(kTint);
  p.drawRoundedRect(page, 2, 2);
  p.setPen(QPen(kSlate, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9, 10), QPointF(15, 10));
  p.drawLine(QPointF(9, 22), QPointF(14, 22));
  QPainterPath arrow(QPointF(10, 16));
  arrow.lineTo(27, 16);
  QPainterPath head(QPointF(22, 10.5));
  head.lineTo(27.5, 16);
  head.lineTo(22, 21.5);
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  p.setPen(QPen(Qt::black, 6.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(arrow);
  p.drawPath(head);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setPen(accentPen(2.4));
  p.drawPath(arrow);
  p.drawPath(head);
  return img;
}

QImage iconJump() {
  QImage img = iconCanvas();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath page;
  page.moveTo(7, 4);
  page.lineTo(19, 4);
  page.lineTo(25, 10);
  page.lineTo(25, 28);
  page.lineTo(7, 28);
  page.closeSubpath();
  p.setPen(slatePen());
  p.setBrush(kTint);
  p.drawPath(page);
  QPainterPath fold(QPointF(19, 4));
  fold.lineTo(19, 10);
  fold.lineTo(25, 10);
  p.setBrush(Qt::NoBrush);
  p.drawPath(fold);
  p.setPen(accentPen(2.0));
  p.drawLine(QPointF(13.2, 13), QPointF(11.8, 24));
  p.drawLine(QPointF(19.2, 13), QPointF(17.8, 24));
  p.drawLine(QPointF(10.5, 16.5), QPointF(21.5, 16.5));
  p.drawLine(QPointF(10, 20.5), QPointF(21, 20.5));
  return img;
}

QImage iconExit() {
  QImage img = iconCanvas();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath frame;
  frame.moveTo(17, 10);
  frame.lineTo(17, 4);
  frame.lineTo(5, 4);
  frame.lineTo(5, 28);
  frame.lineTo(17, 28);
  frame.lineTo(17, 22);
  p.setPen(Qt::NoPen);
  p.setBrush(kTint);
  p.drawRect(QRectF(5, 4, 12, 24));
  p.setPen(slatePen());
  p.setBrush(Qt::NoBrush);
  p.drawPath(frame);
  p.setPen(Qt::NoPen);
  p.setBrush(kSlate);
  p.drawEllipse(QPointF(13, 16.5), 1.3, 1.3);
  p.setPen(accentPen(2.4));
  p.drawLine(QPointF(12.5, 16), QPointF(27, 16));
  arrowHead(p, QPointF(28, 16), 0.0f, 6.0f);
  return img;
}

// ---------------------------------------------------------------------------------------------
// Application icon: an open book with a quill resting on the right page.

// Drawn on a 64-unit grid and scaled, so the desktop's larger icons are as sharp as the small one.
QImage makeAppIcon(int size = 64) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  const QColor cover(150, 52, 44), coverEdge(104, 34, 30), paper(252, 247, 234), line(74, 60, 50);

  // Cover board under the pages.
  QPainterPath board;
  board.moveTo(3, 22);
  board.lineTo(3, 53);
  board.quadTo(18, 50, 32, 57);
  board.quadTo(46, 50, 61, 53);
  board.lineTo(61, 22);
  board.lineTo(32, 26);
  board.closeSubpath();
  p.setPen(QPen(coverEdge, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(cover);
  p.drawPath(board);

  auto pageShape = [](double s) {
    QPainterPath page;
    page.moveTo(32, 20);
    page.quadTo(32 + s * 13, 13, 32 + s * 26, 16);
    page.lineTo(32 + s * 26, 48);
    page.quadTo(32 + s * 13, 45, 32, 52);
    page.closeSubpath();
    return page;
  };
  for (int side = -1; side <= 1; side += 2) {
    const double s = side;
    // Page block edges peeking out below the top leaf.
    for (int k = 2; k >= 1; --k) {
      QPainterPath edge = pageShape(s).translated(s * k * 0.8, k * 1.2);
      p.setPen(QPen(QColor(196, 182, 160), 0.8));
      p.setBrush(QColor(236, 228, 212));
      p.drawPath(edge);
    }
    QLinearGradient g(QPointF(32, 0), QPointF(32 + s * 26, 0));
    g.setColorAt(0.0, QColor(226, 216, 196));
    g.setColorAt(0.18, paper);
    g.setColorAt(1.0, paper);
    p.setPen(QPen(line, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(pageShape(s));
    // Lines of text following the page's curl.
    p.setPen(QPen(QColor(150, 136, 120), 1.1, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 5; ++i) {
      const double y0 = 22.5 + i * 5.0;
      if (side > 0 && i >= 3) continue;
      QPainterPath l(QPointF(32 + s * 5, y0 + 0.5));
      l.quadTo(32 + s * 13, y0 - 3.5, 32 + s * 22, y0 - 1.6);
      p.setBrush(Qt::NoBrush);
      p.drawPath(l);
    }
  }

  // The quill lies along a line from its nib on the right page up to the top-right corner.
  p.save();
  p.translate(40, 44);
  p.rotate(-63.4);
  QPainterPath vane(QPointF(9, 0));
  vane.cubicTo(14, -5.5, 28, -7.5, 45, -0.5);
  vane.cubicTo(34, 3.8, 20, 4.6, 9, 0);
  vane.closeSubpath();
  QLinearGradient vg(QPointF(0, -7), QPointF(0, 4));
  vg.setColorAt(0.0, QColor(58, 132, 160));
  vg.setColorAt(1.0, QColor(22, 74, 100));
  p.setPen(QPen(QColor(16, 46, 66), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(vg);
  p.drawPath(vane);
  // Splits in the vane where barbs have parted.
  p.setPen(QPen(QColor(236, 244, 248, 200), 0.9, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(22, -5.6), QPointF(26, -0.6));
  p.drawLine(QPointF(33, -4.6), QPointF(36, -0.6));
  p.drawLine(QPointF(26, 3.6), QPointF(29, 0.6));
  p.setPen(QPen(QColor(240, 246, 250), 1.0, Qt::SolidLine, Qt::RoundCap));
  QPainterPath shaft(QPointF(6, 0));
  shaft.quadTo(24, -0.6, 44, -0.4);
  p.drawPath(shaft);
  QPolygonF nib;
  nib << QPointF(0, 0) << QPointF(9.5, -1.6) << QPointF(9.5, 1.6);
  p.setPen(QPen(QColor(30, 34, 42), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(52, 58, 68));
  p.drawPolygon(nib);
  p.restore();
  p.end();
  return img;
}

// ---------------------------------------------------------------------------------------------

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  return f.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s <assets-dir> [<desktop-icons-dir>]\n", argv[0]);
    return 2;
  }
  // Painting needs no window system; the offscreen platform keeps the tool headless.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const QDir root(QString::fromLocal8Bit(argv[1]));
  if (!root.mkpath("Configure") || !root.mkpath("Icosource")) {
    std::fprintf(stderr, "cannot create folders under %s\n", argv[1]);
    return 1;
  }
  const QString conf = root.filePath("Configure/"), ico = root.filePath("Icosource/");

  bool ok = true;
  auto check = [&ok](bool step, const QString& what) {
    if (!step) {
      std::fprintf(stderr, "failed to write %s\n", qPrintable(what));
      ok = false;
    }
  };

  const std::array<std::function<QImage()>, 6> pages{makeWhitePaper,   makeDarkWood,
                                                     makeBlueCrystal,  makePinkPeony,
                                                     makeYellowFloral, makeLawnGreen};
  const std::array<std::function<QImage()>, 8> icons{iconHome,
                                                     iconGear,
                                                     iconScroll,
                                                     iconFullScreen,
                                                     [] { return iconPage(false); },
                                                     [] { return iconPage(true); },
                                                     iconJump,
                                                     iconExit};
  // On a screen scaled above 1 the reader takes the "@2x" picture, if there is one, at ratio 2.
  for (int ratio : {1, 2}) {
    pixelRatio = ratio;
    const QString at = ratio == 1 ? QString() : QString("@%1x").arg(ratio);
    const QString cover = "CoverImg" + at + ".jpg";
    check(saveJpeg(makeCover(), conf + cover, 90), cover);
    for (size_t i = 0; i < pages.size(); ++i) {
      const QString name = QString("BK%1%2.jpg").arg(i + 1).arg(at);
      check(saveJpeg(pages[i](), conf + name, 88), name);
    }
    const QString cursor = "hand" + at + ".cur";
    check(writeFile(ico + cursor, encodeCursor(makeHand())), cursor);
    for (size_t i = 0; i < icons.size(); ++i) {
      const QString name = QString("tool%1%2.png").arg(i + 1).arg(at);
      check(icons[i]().save(ico + name, "PNG"), name);
    }
  }
  pixelRatio = 1;
  check(makeAppIcon().save(ico + "Quillon.png", "PNG"), "Quillon.png");
  // The desktop's icon theme: hicolor/<size>x<size>/apps/quillon.png.
  if (argc == 3) {
    const QDir themes(QString::fromLocal8Bit(argv[2]));
    for (int size : {48, 64, 128, 256}) {
      const QString folder = QString("hicolor/%1x%1/apps").arg(size);
      check(themes.mkpath(folder) &&
                makeAppIcon(size).save(themes.filePath(folder + "/quillon.png"), "PNG"),
            folder);
    }
  }
  return ok ? 0 : 1;
}
