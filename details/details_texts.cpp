#include "details/details_texts.h"

#include "config/function_location.h"
#include "details/format.h"

namespace kelvox {

std::string DetailsCaption(int bus, int function, int device, int domain) {
  const std::string caption =
      Printf("バス番号=%d, 機能番号=%d, デバイス番号=%d の詳細情報", bus, function, device);
  if (domain == 0) return caption;
  return "ドメイン=" + DomainText(domain) + ", " + caption;
}

}  // namespace kelvox
