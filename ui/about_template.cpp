#include "ui/about_template.h"

#include <wx/defs.h>

#include <array>

#include "ui/texts.h"

namespace kelvox {

namespace {

using K = ControlKind;

constexpr std::array kAboutControls = {
    ControlSpec{kStaticId, K::kIcon, "", 11, 17, 20, 20},
    ControlSpec{about_ids::kVersion, K::kStaticText, texts::kAboutTemplateVersion, 40, 10, 119, 8},
    ControlSpec{kStaticId, K::kStaticText, texts::kAboutDescription, 40, 25, 116, 10},
    ControlSpec{about_ids::kContact, K::kStaticText, texts::kContact, 40, 64, 22, 8},
    ControlSpec{wxID_OK, K::kDefaultButton, texts::kOk, 184, 7, 32, 14},
};

constexpr DialogTemplate kAbout{223, 119,           texts::kAboutFace, texts::kAboutFallbackFace,
                                9,   kAboutControls};

}  // namespace

const DialogTemplate& AboutTemplate() { return kAbout; }

}  // namespace kelvox
