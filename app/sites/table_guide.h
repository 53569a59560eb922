// What the empty server table says when there is no server list: the sites not set and the
// way to set them. The window shows it over the table with a button that opens "设置…".
#pragma once

#include "app/settings/endpoints.h"
#include "support/text/text.h"

namespace vardelle {

// The captions the guide names: the button that opens the settings and each site's test.
inline constexpr char kSettingsCaption[] = "设置…";
inline constexpr char kSiteTestCaption[] = "测试";

// The guide's text for a table left without servers, loaded from endpoints (GBK).
Text EmptyTableGuide(const Endpoints& endpoints);

}  // namespace vardelle
