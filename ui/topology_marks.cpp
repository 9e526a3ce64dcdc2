#include "ui/topology_marks.h"

#include <wx/bitmap.h>
#include <wx/image.h>

#include <algorithm>
#include <cmath>

namespace kelvox {

namespace {

constexpr int kSize = 16;
constexpr int kChangedImage = 3;

struct Colour {
  unsigned char red, green, blue;
};

// Note, warning, error, changed.
constexpr Colour kColours[] = {
    {0x2a, 0x6f, 0xdb}, {0xf0, 0x8c, 0x00}, {0xd0, 0x1c, 0x1c}, {0x8e, 0x44, 0xad}};

// A filled dot of `colour` with a darker rim, its edge smoothed by the alpha channel.
wxBitmap Dot(Colour colour) {
  wxImage image(kSize, kSize);
  image.InitAlpha();
  const double centre = (kSize - 1) / 2.0, radius = 5.5;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double dx = x - centre, dy = y - centre;
      const double distance = std::sqrt(dx * dx + dy * dy);
      const double coverage = std::clamp(radius + 0.5 - distance, 0.0, 1.0);
      const bool rim = distance > radius - 1.2;
      const double shade = rim ? 0.7 : 1.0;
      image.SetRGB(x, y, static_cast<unsigned char>(colour.red * shade),
                   static_cast<unsigned char>(colour.green * shade),
                   static_cast<unsigned char>(colour.blue * shade));
      image.SetAlpha(x, y, static_cast<unsigned char>(coverage * 255));
    }
  }
  return wxBitmap(image);
}

}  // namespace

wxImageList* MakeMarkImages() {
  auto* images = new wxImageList(kSize, kSize, false, 4);
  for (const Colour& colour : kColours) images->Add(Dot(colour));
  return images;
}

int MarkImage(std::optional<health::Severity> mark, bool changed) {
  if (mark) return static_cast<int>(*mark);
  return changed ? kChangedImage : -1;
}

}  // namespace kelvox
