#include "details/details_texts.h"

#include "details/format.h"

namespace kelvox {

std::string DetailsCaption(int bus, int function, int device) {
  return Printf("バス番号=%d, 機能番号=%d, デバイス番号=%d の詳細情報", bus, function, device);
}

}  // namespace kelvox
