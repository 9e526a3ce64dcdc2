#include "ui/texts.h"

#include <array>

namespace kelvox::texts {

std::span<const char* const> All() {
  static constexpr std::array kAll = {
      kMainTitle,
      kMainTitleSuffix,
      kMainFace,
      kMainFallbackFace,
      kRescan,
      kDetails,
      kVendorSearch,
      kQuit,
      kScanCaption,
      kBusLabel,
      kFunctionLabel,
      kRightArrow,
      kDownArrow,
      kColumnNumber,
      kColumnVendorId,
      kColumnDeviceId,
      kColumnCommand,
      kColumnStatus,
      kColumnRevision,
      kColumnClassCode,
      kColumnHeaderType,
      kColumnComment,
      kTipList,
      kTipDetails,
      kTipBus,
      kTipRescan,
      kTipQuit,
      kTipFunction,
      kTipVendorSearch,
      kRangeMessage,
      kAboutMenuItem,
      kAboutTitle,
      kAboutFace,
      kAboutFallbackFace,
      kAboutTemplateVersion,
      kVersion,
      kAboutDescription,
      kContact,
      kOk,
      kMailSubject,
      kErrorCaption,
      kAppName,
      kCapabilitiesPageTitle,
      kSpaceDumpPageTitle,
      kHeaderNodeName,
      kTreeNameColumn,
      kTreeValueColumn,
      kCopyRow,
      kCopyPage,
      kNoCapabilities,
  };
  return kAll;
}

}  // namespace kelvox::texts
